// Reads a project from an arbitrary JSON document; what reads must export
// and read back to the same JSON, its records naming factors.
#include "FuzzSupport.h"
#include "storage/UntJson.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto project =
        ReadOrRefuse(data, size, [](const QByteArray& json) { return ReadProjectJson(json); });
    if (!project)
        return 0;
    CheckRecords(**project);
    const QByteArray json = ProjectJson(**project);
    if (ProjectJson(*ReadProjectJson(json)) != json)
        __builtin_trap();
    return 0;
}
