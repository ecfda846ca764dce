#include "reports/UntReportXml.h"

#include "model/UntCouplingOrders.h"
#include "model/UntStrings.h"
#include "storage/UntDataModule.h"
#include "storage/UntUtils.h"

#include <cstring>

namespace {

std::uint64_t Key(std::int32_t index1, std::int32_t index2) {
    return (std::uint64_t{static_cast<std::uint32_t>(index1)} << 32) |
           static_cast<std::uint32_t>(index2);
}

} // namespace

TXmlNames::TXmlNames(pugi::xml_node root) {
    for (const pugi::xml_attribute attribute : root.attributes()) {
        const char* name = attribute.name();
        if (std::strncmp(name, "xmlns:", 6) == 0)
            FPrefixes.emplace(attribute.value(), name + 6);
    }
}

std::string TXmlNames::operator()(const char* uri, const char* local) const {
    const auto found = FPrefixes.find(uri);
    if (found == FPrefixes.end())
        throw EStorageError(FillTemplate(LoadStr(StrTemplateNamespace), QString::fromLatin1(uri)));
    return found->second + ':' + local;
}

TCoupleIndex::TCoupleIndex(const TProject& project) {
    for (std::size_t g = 0; g < project.Guidelines.size(); ++g)
        for (const TTOWSCouple& couple : project.Guidelines[g]->Couples) {
            std::vector<int>& holders = FHolders[Key(couple.Index1, couple.Index2)];
            if (holders.empty())
                FPartners[couple.Index1].push_back(couple.Index2);
            holders.push_back(static_cast<int>(g));
        }
}

const std::vector<std::int32_t>& TCoupleIndex::Partners(std::int32_t index1) const {
    static const std::vector<std::int32_t> none;
    const auto found = FPartners.find(index1);
    return found == FPartners.end() ? none : found->second;
}

const std::vector<int>& TCoupleIndex::Holders(std::int32_t index1, std::int32_t index2) const {
    static const std::vector<int> none;
    const auto found = FHolders.find(Key(index1, index2));
    return found == FHolders.end() ? none : found->second;
}

std::vector<TCoupling> TCoupleIndex::HeldInReportOrder(const TProject& project) const {
    std::vector<TTOWSCouple> held;
    held.reserve(FHolders.size());
    for (const auto& entry : FHolders)
        held.push_back({static_cast<std::int32_t>(entry.first >> 32),
                        static_cast<std::int32_t>(entry.first & 0xFFFFFFFFu)});
    return EnumerateReportCouplings(project, held);
}

pugi::xml_node RequiredChild(pugi::xml_node root, const std::string& name) {
    const pugi::xml_node child = root.child(name.c_str());
    if (!child)
        throw EStorageError(
            FillTemplate(LoadStr(StrTemplateElement), QString::fromStdString(name)));
    return child;
}
