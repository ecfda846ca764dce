#include "model/UntStrategies.h"

#include <algorithm>

namespace {

std::size_t QuadrantIndex(TCouplingKind kind) {
    return static_cast<std::size_t>(kind) - static_cast<std::size_t>(TCouplingKind::ckPieceOfLuck);
}

} // namespace

TStrategyMatrix::TStrategyMatrix(const TProject& project) {
    for (std::size_t g = 0; g < project.Guidelines.size(); ++g) {
        std::array<std::int64_t, std::size(AllCouplingKinds)> weights{};
        std::array<bool, std::size(AllCouplingKinds)> held{};
        for (const TTOWSCouple& couple : project.Guidelines[g]->Couples) {
            if (!project.IsValidPosition(couple.Index1) || !project.IsValidPosition(couple.Index2))
                continue;
            const auto kind = GetCouplingKind(project.Items[couple.Index1]->SwotType,
                                              project.Items[couple.Index2]->SwotType);
            if (!kind)
                continue;
            held[QuadrantIndex(*kind)] = true;
            weights[QuadrantIndex(*kind)] +=
                GetCouplingRating(project, couple.Index1, couple.Index2);
        }
        bool placed = false;
        for (std::size_t q = 0; q < held.size(); ++q)
            if (held[q]) {
                FQuadrants[q].push_back({g, weights[q]});
                placed = true;
            }
        if (!placed)
            FUnplaced.push_back(g);
    }
    for (auto& quadrant : FQuadrants)
        std::stable_sort(
            quadrant.begin(), quadrant.end(),
            [](const TStrategyEntry& a, const TStrategyEntry& b) { return a.Weight > b.Weight; });
}

const std::vector<TStrategyEntry>& TStrategyMatrix::Quadrant(TCouplingKind kind) const {
    return FQuadrants[QuadrantIndex(kind)];
}

std::int64_t TStrategyMatrix::QuadrantWeight(TCouplingKind kind) const {
    std::int64_t sum = 0;
    for (const TStrategyEntry& entry : Quadrant(kind))
        sum += entry.Weight;
    return sum;
}
