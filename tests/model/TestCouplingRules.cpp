#include "ProjectBuilder.h"
#include "model/UntCouplingOrders.h"
#include "model/UntStrings.h"

#include <gtest/gtest.h>
#include <optional>

namespace {

using enum TCouplingKind;

// Every pair of positions, the reversed and the unsuitable ones included, the
// last position first, and some twice.
std::vector<TTOWSCouple> EveryPair(const TProject& project) {
    std::vector<TTOWSCouple> pairs;
    const auto count = static_cast<std::int32_t>(project.Items.size());
    for (std::int32_t i = count - 1; i >= 0; --i)
        for (std::int32_t j = count - 1; j >= 0; --j)
            pairs.push_back({i, j});
    pairs.insert(pairs.end(), pairs.begin(), pairs.begin() + count);
    return pairs;
}

// The entries of the view, group after group.
std::vector<TCoupling> Entries(const TViewCouplings& view) {
    std::vector<TCoupling> entries;
    for (std::size_t group = 0; group < view.GroupCount(); ++group)
        for (std::int64_t entry = 0; entry < view.EntryCount(group); ++entry) {
            const TTOWSCouple couple = view.Entry(group, entry);
            entries.push_back({couple.Index1, couple.Index2, view.GroupKind(group)});
        }
    return entries;
}

} // namespace

TEST(CouplingRules, KindOfEveryPairOfTypes) {
    struct Case {
        std::int32_t internal;
        std::int32_t external;
        std::optional<TCouplingKind> kind;
    };
    const Case cases[] = {
        {stStrength, stOpportunity, ckPieceOfLuck},
        {stWeakness, stOpportunity, ckChallenge},
        {stStrength, stThreat, ckConflict},
        {stWeakness, stThreat, ckDanger},
        // two internal, two external, or the external type first
        {stStrength, stStrength, std::nullopt},
        {stStrength, stWeakness, std::nullopt},
        {stWeakness, stWeakness, std::nullopt},
        {stOpportunity, stThreat, std::nullopt},
        {stThreat, stThreat, std::nullopt},
        {stOpportunity, stStrength, std::nullopt},
        {stThreat, stWeakness, std::nullopt},
        // types that never reach a list
        {0, stOpportunity, std::nullopt},
        {stStrength, 5, std::nullopt},
        {-1, 3, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetCouplingKind(c.internal, c.external), c.kind)
            << c.internal << " x " << c.external;
}

TEST(CouplingRules, KindsKnowTheirTypesHeadingsAndNames) {
    struct Case {
        TCouplingKind kind;
        std::int32_t internal;
        std::int32_t external;
        const char* heading;
        const char* name;
    };
    const Case cases[] = {
        {ckPieceOfLuck, stStrength, stOpportunity, "Label12", "Piece of luck"},
        {ckChallenge, stWeakness, stOpportunity, "Label13", "Challenge"},
        {ckConflict, stStrength, stThreat, "Label14", "Conflict"},
        {ckDanger, stWeakness, stThreat, "Label15", "Danger"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(InternalTypeOf(c.kind), c.internal);
        EXPECT_EQ(ExternalTypeOf(c.kind), c.external);
        EXPECT_EQ(GetCouplingKind(c.internal, c.external), c.kind);
        EXPECT_EQ(HeadingKey(KindHeading(c.kind)), c.heading);
        EXPECT_EQ(LoadStr(KindNameId(c.kind)), c.name);
    }
    EXPECT_EQ(LoadStr(TypeNameId(stThreat)), "Threat");
}

TEST(CouplingRules, RatingsAndCaptions) {
    const auto project = MixedProject();
    struct Case {
        std::int32_t index1;
        std::int32_t index2;
        std::int64_t rating;
        const char* caption;
    };
    const Case cases[] = {
        {4, 1, 9, "9 : S2 / O1"}, {0, 1, 6, "6 : S1 / O1"}, {2, 5, 6, "6 : W1 / O2"},
        {0, 5, 4, "4 : S1 / O2"}, {4, 3, 3, "3 : S2 / T1"}, {0, 3, 2, "2 : S1 / T1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(GetCouplingRating(*project, c.index1, c.index2), c.rating);
        EXPECT_EQ(GetCouplingCaption(*project, c.index1, c.index2), c.caption);
    }

    const auto brand = MakeProject({{"Brand", stStrength, 3}, {"Market", stOpportunity, 2}});
    EXPECT_EQ(GetCouplingCaption(*brand, 0, 1), "6 : Brand / Market");
}

TEST(CouplingRules, RatingsFollowAChangedMarkWithoutTouchingRecords) {
    auto project = MixedProject({{"C", {{0, 1}, {0, 5}}}});
    project->Items[0]->Mark = 3;
    EXPECT_EQ(GetCouplingRating(*project, 0, 1), 9);
    EXPECT_EQ(GetCouplingRating(*project, 0, 5), 6);
    EXPECT_EQ(GetCouplingCaption(*project, 0, 1), "9 : S1 / O1");
    EXPECT_EQ(project->Guidelines[0]->Couples, (std::vector<TTOWSCouple>{{0, 1}, {0, 5}}));
    EXPECT_EQ(GetGuidelineWeight(*project, *project->Guidelines[0]), 15);
}

TEST(CouplingRules, ViewOrderFollowsPositionsWithinEachKind) {
    const auto project = MixedProject();
    // Ratings: (0,1) 6, (0,5) 4, (4,1) 9, (4,5) 6, (2,1) 9, (2,5) 6, (0,3) 2, (4,3) 3, (2,3) 3.
    struct Case {
        std::optional<TCouplingKind> onlyKind;
        std::int64_t minRating;
        std::vector<TCouplingKind> groups;
        std::vector<TCoupling> entries;
    };
    const Case cases[] = {
        {std::nullopt,
         1,
         {ckPieceOfLuck, ckChallenge, ckConflict, ckDanger},
         {{0, 1, ckPieceOfLuck},
          {0, 5, ckPieceOfLuck},
          {4, 1, ckPieceOfLuck},
          {4, 5, ckPieceOfLuck},
          {2, 1, ckChallenge},
          {2, 5, ckChallenge},
          {0, 3, ckConflict},
          {4, 3, ckConflict},
          {2, 3, ckDanger}}},
        {std::nullopt,
         6,
         {ckPieceOfLuck, ckChallenge, ckConflict, ckDanger},
         {{0, 1, ckPieceOfLuck},
          {4, 1, ckPieceOfLuck},
          {4, 5, ckPieceOfLuck},
          {2, 1, ckChallenge},
          {2, 5, ckChallenge}}},
        {ckChallenge, 1, {ckChallenge}, {{2, 1, ckChallenge}, {2, 5, ckChallenge}}},
        {ckConflict, 3, {ckConflict}, {{4, 3, ckConflict}}},
        // A kind without admitted couplings keeps its group.
        {ckDanger, 4, {ckDanger}, {}},
    };
    for (const Case& c : cases) {
        const TViewCouplings view(*project, c.onlyKind, c.minRating);
        std::vector<TCouplingKind> groups;
        for (std::size_t group = 0; group < view.GroupCount(); ++group)
            groups.push_back(view.GroupKind(group));
        EXPECT_EQ(groups, c.groups) << "minimum " << c.minRating;
        EXPECT_EQ(Entries(view), c.entries) << "minimum " << c.minRating;
    }
}

TEST(CouplingRules, ReportOrderIsKindThenRatingThenPositions) {
    const auto project = MixedProject();
    const std::vector<TCoupling> expected = {
        {4, 1, ckPieceOfLuck}, // 9
        {0, 1, ckPieceOfLuck}, // 6
        {4, 5, ckPieceOfLuck}, // 6
        {0, 5, ckPieceOfLuck}, // 4
        {2, 1, ckChallenge},   // 9
        {2, 5, ckChallenge},   // 6
        {4, 3, ckConflict},    // 3
        {0, 3, ckConflict},    // 2
        {2, 3, ckDanger},      // 3
    };
    EXPECT_EQ(EnumerateReportCouplings(*project, EveryPair(*project)), expected);
    // Reports list the records they are given, each once.
    const std::vector<TTOWSCouple> held = {{2, 3}, {0, 1}, {-1, 1}, {0, 99}, {1, 0}, {2, 3}};
    EXPECT_EQ(EnumerateReportCouplings(*project, held),
              (std::vector<TCoupling>{{0, 1, ckPieceOfLuck}, {2, 3, ckDanger}}));
    // The lowest rating, low times low, is listed too.
    const auto lowest = MakeProject({{"W", stWeakness, mkLow}, {"T", stThreat, mkLow}});
    EXPECT_EQ(EnumerateReportCouplings(*lowest, EveryPair(*lowest)),
              (std::vector<TCoupling>{{0, 1, ckDanger}}));
}

TEST(CouplingRules, ProjectsWithoutOneSideHaveNoCouplings) {
    const auto internalOnly = MakeProject({{"S", stStrength, 3}, {"W", stWeakness, 2}});
    const auto externalOnly = MakeProject({{"O", stOpportunity, 3}, {"T", stThreat, 2}});
    for (const TProject* project : {internalOnly.get(), externalOnly.get()}) {
        const TViewCouplings view(*project, std::nullopt, 1);
        EXPECT_EQ(view.GroupCount(), 4u) << "the groups show, empty";
        EXPECT_TRUE(Entries(view).empty());
        EXPECT_TRUE(EnumerateReportCouplings(*project, EveryPair(*project)).empty());
    }
}

TEST(CouplingRules, MarksOutsideTheScaleAreLeftOutOfTheReportOrder) {
    // Files may hold any mark; only ratings 1 to 9 have a place in reports.
    const auto project = MakeProject({{"S0", stStrength, 0},
                                      {"S5", stStrength, 5},
                                      {"Sneg", stStrength, -3},
                                      {"O", stOpportunity, 2},
                                      {"Odd", 7, 3}});
    EXPECT_EQ(Entries(TViewCouplings(*project, std::nullopt, 1)),
              (std::vector<TCoupling>{{1, 3, ckPieceOfLuck}}));
    EXPECT_EQ(Entries(TViewCouplings(*project, std::nullopt, -100)).size(), 3u);
    EXPECT_TRUE(EnumerateReportCouplings(*project, EveryPair(*project)).empty());
}

TEST(CouplingRules, LinkAndUnlinkWithDuplicateRecords) {
    auto project = MixedProject({{"A", {{0, 1}, {2, 1}, {0, 1}}}, {"B", {{0, 1}}}});
    TGuideline& a = *project->Guidelines[0];
    TGuideline& b = *project->Guidelines[1];

    EXPECT_TRUE(a.HasCouple(0, 1));
    EXPECT_FALSE(a.HasCouple(1, 0)) << "the orientation is fixed";
    EXPECT_FALSE(a.HasCouple(4, 5));

    a.RemoveCouple(0, 1);
    EXPECT_EQ(a.Couples, (std::vector<TTOWSCouple>{{2, 1}, {0, 1}})) << "first record only";
    EXPECT_TRUE(a.HasCouple(0, 1)) << "the second record remains";
    EXPECT_EQ(b.Couples, (std::vector<TTOWSCouple>{{0, 1}}))
        << "the other conclusion keeps its own";

    a.RemoveCouple(4, 5);
    EXPECT_EQ(a.Couples.size(), 2u);

    a.AddCouple(4, 5);
    EXPECT_EQ(a.Couples, (std::vector<TTOWSCouple>{{2, 1}, {0, 1}, {4, 5}})) << "appended";
    a.RemoveCouple(0, 1);
    a.RemoveCouple(2, 1);
    EXPECT_EQ(a.Couples, (std::vector<TTOWSCouple>{{4, 5}}));
}

TEST(CouplingRules, WeightOfAssociatedCouplings) {
    const auto project = MixedProject();
    struct Case {
        std::vector<TTOWSCouple> couples;
        std::int64_t weight;
    };
    const Case cases[] = {
        {{}, 0},
        {{{4, 1}}, 9},
        {{{0, 1}, {0, 5}}, 10},
        {{{4, 1}, {4, 1}}, 18},    // a record held twice counts twice
        {{{1, 3}, {0, 4}}, 3 + 6}, // records of unsuitable types still count
    };
    for (const Case& c : cases) {
        TGuideline guideline;
        guideline.Couples = c.couples;
        EXPECT_EQ(GetGuidelineWeight(*project, guideline), c.weight);
    }
}

TEST(CouplingRules, DeletingAFactorRenumbersEveryRecord) {
    struct Case {
        const char* what;
        std::int32_t position;
        std::vector<std::vector<TTOWSCouple>> before;
        std::vector<std::vector<TTOWSCouple>> after;
    };
    const Case cases[] = {
        {"consecutive records naming the position go, later positions move down",
         1,
         {{{0, 1}, {2, 1}, {2, 1}, {4, 5}, {0, 3}}, {{2, 3}, {4, 5}}},
         {{{3, 4}, {0, 2}}, {{1, 2}, {3, 4}}}},
        {"an internal factor's records go from every conclusion",
         2,
         {{{2, 1}, {0, 1}}, {{2, 3}}, {{4, 3}, {2, 5}, {2, 1}}},
         {{{0, 1}}, {}, {{3, 2}}}},
        {"the last factor: only its records change",
         5,
         {{{0, 5}, {0, 1}, {4, 5}, {2, 3}}},
         {{{0, 1}, {2, 3}}}},
        {"the first factor: every other record moves down",
         0,
         {{{0, 1}, {4, 5}, {2, 3}, {0, 5}}},
         {{{3, 4}, {1, 2}}}},
        {"records of a damaged file outside Items move like the others",
         2,
         {{{99, 1}, {-1, 2}, {0, 7}, {2, 2}}},
         {{{98, 1}, {0, 6}}}},
    };
    for (const Case& c : cases) {
        auto project = MixedProject();
        for (const auto& couples : c.before)
            project->Guidelines.emplace_back(std::make_unique<TGuideline>())->Couples = couples;
        const QString deletedName = project->Items[c.position]->Name;

        const TTOWSItem* deleted = project->Items[c.position].get();

        TItemDeletion deletion = project->DeleteItem(c.position);

        ASSERT_EQ(project->Items.size(), 5u) << c.what;
        for (const auto& item : project->Items)
            EXPECT_NE(item->Name, deletedName) << c.what;
        ASSERT_EQ(project->Guidelines.size(), c.after.size()) << c.what;
        for (std::size_t g = 0; g < c.after.size(); ++g)
            EXPECT_EQ(project->Guidelines[g]->Couples, c.after[g])
                << c.what << ", conclusion " << g;

        // Restoring gives back the very factor and every record in its place.
        project->RestoreItem(std::move(deletion));
        ASSERT_EQ(project->Items.size(), 6u) << c.what;
        EXPECT_EQ(project->Items[c.position].get(), deleted) << c.what;
        for (std::size_t g = 0; g < c.before.size(); ++g)
            EXPECT_EQ(project->Guidelines[g]->Couples, c.before[g])
                << c.what << ", restored conclusion " << g;
    }
}

TEST(CouplingRules, DeletingKeepsWhatRecordsDesignate) {
    auto project = MixedProject({{"A", {{0, 1}, {4, 5}, {2, 3}, {4, 1}}}});
    const auto names = [&project](const TTOWSCouple& couple) {
        return project->Items[couple.Index1]->Name + "/" + project->Items[couple.Index2]->Name;
    };
    QStringList before;
    for (const TTOWSCouple& couple : project->Guidelines[0]->Couples)
        if (couple.Index1 != 3 && couple.Index2 != 3)
            before << names(couple);

    project->DeleteItem(3);

    QStringList after;
    for (const TTOWSCouple& couple : project->Guidelines[0]->Couples)
        after << names(couple);
    EXPECT_EQ(after, before);

    project->DeleteItem(-1);
    project->DeleteItem(99);
    EXPECT_EQ(project->Items.size(), 5u) << "positions outside Items change nothing";
}
