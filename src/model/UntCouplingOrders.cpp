#include "UntCouplingOrders.h"

#include <algorithm>
#include <tuple>

TViewCouplings::TViewCouplings(const TProject& project, std::optional<TCouplingKind> onlyKind,
                               std::int64_t minRating)
    : FProject(&project) {
    for (const TCouplingKind kind : AllCouplingKinds) {
        if (onlyKind && *onlyKind != kind)
            continue;
        TGroup& group = FGroups.emplace_back();
        group.Kind = kind;
        group.Internals = PositionsOfType(project, InternalTypeOf(kind));
        const std::vector<std::int32_t> externals = PositionsOfType(project, ExternalTypeOf(kind));
        group.Offsets.reserve(group.Internals.size());
        // Internal factors of equal marks admit the same external factors.
        for (const std::int32_t i : group.Internals) {
            const std::int32_t mark = project.Items[i]->Mark;
            auto [admitted, fresh] = group.Externals.try_emplace(mark);
            if (fresh)
                for (const std::int32_t j : externals)
                    if (std::int64_t{mark} * project.Items[j]->Mark >= minRating)
                        admitted->second.push_back(j);
            group.Offsets.push_back(group.Count);
            group.Count += static_cast<std::int64_t>(admitted->second.size());
        }
    }
}

TTOWSCouple TViewCouplings::Entry(std::size_t groupNumber, std::int64_t entry) const {
    const TGroup& group = FGroups[groupNumber];
    const auto after = std::ranges::upper_bound(group.Offsets, entry);
    const auto internal = static_cast<std::size_t>(after - group.Offsets.begin()) - 1;
    const std::int32_t index1 = group.Internals[internal];
    const std::vector<std::int32_t>& externals = group.Externals.at(FProject->Items[index1]->Mark);
    return {index1, externals[static_cast<std::size_t>(entry - group.Offsets[internal])]};
}

std::vector<TCoupling> EnumerateReportCouplings(const TProject& project,
                                                std::span<const TTOWSCouple> candidates) {
    struct TRated {
        std::int64_t Rating;
        TCoupling Coupling;
        auto Key() const {
            return std::tuple(Coupling.Kind, -Rating, Coupling.Index1, Coupling.Index2);
        }
    };
    std::vector<TRated> rated;
    rated.reserve(candidates.size());
    for (const TTOWSCouple& couple : candidates) {
        if (!project.IsValidPosition(couple.Index1) || !project.IsValidPosition(couple.Index2))
            continue;
        const auto kind = GetCouplingKind(project.Items[couple.Index1]->SwotType,
                                          project.Items[couple.Index2]->SwotType);
        const std::int64_t rating = GetCouplingRating(project, couple.Index1, couple.Index2);
        if (kind && rating >= 1 && rating <= 9)
            rated.push_back({rating, {couple.Index1, couple.Index2, *kind}});
    }
    std::ranges::sort(rated, {}, &TRated::Key);
    const auto [first, last] =
        std::ranges::unique(rated, {}, [](const TRated& entry) { return entry.Coupling; });
    rated.erase(first, last);
    std::vector<TCoupling> couplings;
    couplings.reserve(rated.size());
    for (const TRated& entry : rated)
        couplings.push_back(entry.Coupling);
    return couplings;
}
