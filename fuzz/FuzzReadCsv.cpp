// Reads factors from arbitrary CSV; what reads must be factors a project
// can hold, and come back the same through our own CSV.
#include "FuzzSupport.h"
#include "storage/UntCsv.h"
#include "storage/UntUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto factors = ReadOrRefuse(data, size, ReadFactorsCsv);
    if (!factors)
        return 0;
    TProject project;
    std::ranges::move(*factors, std::back_inserter(project.Items));
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
