#pragma once

#include "model/UntClassProject.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// A conclusion's place in one strategy quadrant: its position in the project's
// list of conclusions and the sum of the ratings of its couplings of the
// quadrant's kind, a record held twice counting twice.
struct TStrategyEntry {
    std::size_t Guideline;
    std::int64_t Weight;

    friend bool operator==(const TStrategyEntry&, const TStrategyEntry&) = default;
};

// The conclusions of a project sorted into the four TOWS strategies, one
// quadrant per kind of coupling. A conclusion stands in every quadrant in
// which it holds a coupling; records of unsuitable types or outside the
// factors place it nowhere.
class TStrategyMatrix {
public:
    explicit TStrategyMatrix(const TProject& project);

    // Heaviest first, equal weights in list order.
    const std::vector<TStrategyEntry>& Quadrant(TCouplingKind kind) const;
    // The sum of the weights of the quadrant's conclusions.
    std::int64_t QuadrantWeight(TCouplingKind kind) const;
    // Conclusions that stand in no quadrant, in list order.
    const std::vector<std::size_t>& Unplaced() const { return FUnplaced; }

private:
    std::array<std::vector<TStrategyEntry>, std::size(AllCouplingKinds)> FQuadrants;
    std::vector<std::size_t> FUnplaced;
};
