// Reads factors from arbitrary CSV; what reads must be factors a project
// can hold, and come back the same through our own CSV.
#include "UntCsv.h"
#include "UntDataModule.h"
#include "UntUtils.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::unique_ptr<TTOWSItem>> factors;
    try {
        factors = ReadFactorsCsv(
            QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    } catch (const EStorageError& error) {
        if (error.Message().isEmpty())
            __builtin_trap();
        return 0;
    }
    TProject project;
    std::ranges::move(factors, std::back_inserter(project.Items));
    const auto back = ReadFactorsCsv(FactorsCsv(project));
    if (back.size() != project.Items.size())
        __builtin_trap();
    for (std::size_t i = 0; i < back.size(); ++i) {
        const TTOWSItem& item = *project.Items[i];
        if (item.Name.isEmpty() || back[i]->Name != item.Name ||
            back[i]->SwotType != item.SwotType || back[i]->Mark != item.Mark ||
            CommentText(back[i]->Comments) != CommentText(item.Comments))
            __builtin_trap();
    }
    return 0;
}
