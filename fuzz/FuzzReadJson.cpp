// Reads a project from an arbitrary JSON document; what reads must export
// and read back to the same JSON, its records naming factors.
#include "UntDataModule.h"
#include "UntJson.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<TProject> project;
    try {
        project = ReadProjectJson(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const EStorageError& error) {
        if (error.Message().isEmpty())
            __builtin_trap();
        return 0;
    }
    for (const auto& guideline : project->Guidelines)
        for (const TTOWSCouple& couple : guideline->Couples)
            if (!project->IsValidPosition(couple.Index1) ||
                !project->IsValidPosition(couple.Index2))
                __builtin_trap();
    const QByteArray json = ProjectJson(*project);
    if (ProjectJson(*ReadProjectJson(json)) != json)
        __builtin_trap();
    return 0;
}
