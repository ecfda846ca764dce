#include "model/UntCouplingOrders.h"

#include <algorithm>
#include <array>

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
    constexpr int TopRating = 9;
    // Kinds and ratings are few: the couplings in position order are dealt
    // into one bucket per kind and rating, which keeps that order inside each.
    struct TRated {
        std::uint64_t Positions; // internal position above external position
        int Bucket;
    };
    const auto positions = [](std::int32_t index1, std::int32_t index2) {
        return std::uint64_t{static_cast<std::uint32_t>(index1)} << 32 |
               static_cast<std::uint32_t>(index2);
    };
    std::vector<TRated> rated;
    rated.reserve(candidates.size());
    for (const TTOWSCouple& couple : candidates) {
        if (!project.IsValidPosition(couple.Index1) || !project.IsValidPosition(couple.Index2))
            continue;
        const auto kind = GetCouplingKind(project.Items[couple.Index1]->SwotType,
                                          project.Items[couple.Index2]->SwotType);
        const std::int64_t rating = GetCouplingRating(project, couple.Index1, couple.Index2);
        if (kind && rating >= 1 && rating <= TopRating)
            rated.push_back(
                {positions(couple.Index1, couple.Index2),
                 (static_cast<int>(*kind) - 1) * TopRating + TopRating - static_cast<int>(rating)});
    }
    if (!std::ranges::is_sorted(rated, {}, &TRated::Positions))
        std::ranges::sort(rated, {}, &TRated::Positions);
    rated.erase(
        std::unique(rated.begin(), rated.end(),
                    [](const TRated& a, const TRated& b) { return a.Positions == b.Positions; }),
        rated.end());

    std::array<std::size_t, 4 * TopRating + 1> starts{};
    for (const TRated& entry : rated)
        ++starts[static_cast<std::size_t>(entry.Bucket) + 1];
    for (std::size_t bucket = 1; bucket < starts.size(); ++bucket)
        starts[bucket] += starts[bucket - 1];
    std::vector<TCoupling> couplings(rated.size());
    for (const TRated& entry : rated) {
        const auto index1 = static_cast<std::int32_t>(entry.Positions >> 32);
        const auto index2 = static_cast<std::int32_t>(entry.Positions & 0xFFFFFFFFu);
        couplings[starts[static_cast<std::size_t>(entry.Bucket)]++] = {
            index1, index2, static_cast<TCouplingKind>(entry.Bucket / TopRating + 1)};
    }
    return couplings;
}
