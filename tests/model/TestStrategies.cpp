#include "ProjectBuilder.h"
#include "model/UntStrategies.h"

#include <gtest/gtest.h>

namespace {

using enum TCouplingKind;

} // namespace

// Positions of MixedProject: S1 0 (mark 2), O1 1 (3), W1 2 (3), T1 3 (1),
// S2 4 (3), O2 5 (2).
TEST(Strategies, ConclusionsStandInTheQuadrantsOfTheirCouplingsByWeight) {
    const auto project = MixedProject({
        {"Twice S1/O1 and W1/T1", {{0, 1}, {0, 1}, {2, 3}}},
        {"S2/O1", {{4, 1}}},
        {"Nothing", {}},
        {"Reversed and outside", {{1, 0}, {0, 99}}},
        {"W1/O1 and S2/T1", {{2, 1}, {4, 3}}},
        {"W1/T1", {{2, 3}}},
    });
    const TStrategyMatrix matrix(*project);

    const struct {
        TCouplingKind kind;
        std::vector<TStrategyEntry> entries;
        std::int64_t weight;
    } cases[] = {
        {ckPieceOfLuck, {{0, 12}, {1, 9}}, 21},
        {ckChallenge, {{4, 9}}, 9},
        {ckConflict, {{4, 3}}, 3},
        {ckDanger, {{0, 3}, {5, 3}}, 6},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(matrix.Quadrant(c.kind), c.entries) << static_cast<int>(c.kind);
        EXPECT_EQ(matrix.QuadrantWeight(c.kind), c.weight) << static_cast<int>(c.kind);
    }
    EXPECT_EQ(matrix.Unplaced(), (std::vector<std::size_t>{2, 3}));
}

TEST(Strategies, EqualWeightsKeepTheListOrder) {
    const auto project = MixedProject({{"Later heavy", {{0, 5}}},
                                       {"First light", {{0, 5}}},
                                       {"Heaviest", {{4, 1}}},
                                       {"Light again", {{0, 5}}}});
    const TStrategyMatrix matrix(*project);
    EXPECT_EQ(matrix.Quadrant(ckPieceOfLuck),
              (std::vector<TStrategyEntry>{{2, 9}, {0, 4}, {1, 4}, {3, 4}}));
    EXPECT_TRUE(matrix.Unplaced().empty());
}
