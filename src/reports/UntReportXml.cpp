#include "UntReportXml.h"

#include "UntDataModule.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <algorithm>
#include <cstring>
#include <tuple>

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
        throw EStorageError(FillTemplate(LoadStr(3030), QString::fromLatin1(uri)));
    return found->second + ':' + local;
}

TCoupleIndex::TCoupleIndex(const TProject& project) {
    for (std::size_t g = 0; g < project.Guidelines.size(); ++g)
        for (const TTOWSCouple& couple : project.Guidelines[g]->Couples)
            FHolders[Key(couple.Index1, couple.Index2)].push_back(static_cast<int>(g));
}

const std::vector<int>& TCoupleIndex::Holders(std::int32_t index1, std::int32_t index2) const {
    static const std::vector<int> none;
    const auto found = FHolders.find(Key(index1, index2));
    return found == FHolders.end() ? none : found->second;
}

std::vector<TCoupling> TCoupleIndex::HeldInReportOrder(const TProject& project) const {
    std::vector<std::pair<std::int64_t, TCoupling>> held;
    for (const auto& [key, holders] : FHolders) {
        const auto index1 = static_cast<std::int32_t>(key >> 32);
        const auto index2 = static_cast<std::int32_t>(key & 0xFFFFFFFFu);
        const auto kind =
            GetCouplingKind(project.Items[index1]->SwotType, project.Items[index2]->SwotType);
        const std::int64_t rating = GetCouplingRating(project, index1, index2);
        if (kind && rating >= 1 && rating <= 9)
            held.push_back({rating, {index1, index2, *kind}});
    }
    std::ranges::sort(held, [](const auto& a, const auto& b) {
        return std::tuple(a.second.Kind, -a.first, a.second.Index1, a.second.Index2) <
               std::tuple(b.second.Kind, -b.first, b.second.Index1, b.second.Index2);
    });
    std::vector<TCoupling> couplings;
    couplings.reserve(held.size());
    for (const auto& entry : held)
        couplings.push_back(entry.second);
    return couplings;
}

pugi::xml_node RequiredChild(pugi::xml_node root, const std::string& name) {
    const pugi::xml_node child = root.child(name.c_str());
    if (!child)
        throw EStorageError(FillTemplate(LoadStr(3031), QString::fromStdString(name)));
    return child;
}

std::string Utf8(const QString& text) {
    return text.toStdString();
}
