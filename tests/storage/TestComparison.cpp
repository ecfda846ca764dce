#include "ProjectBuilder.h"
#include "storage/UntComparison.h"
#include "storage/UntIO.h"
#include "storage/UntJson.h"
#include "storage/UntUtils.h"

#include <gtest/gtest.h>

namespace {

QString Pairs(const std::vector<TNamedCoupling>& couplings) {
    QStringList pairs;
    for (const TNamedCoupling& coupling : couplings)
        pairs << coupling.Internal + '/' + coupling.External;
    return pairs.join(',');
}

const char* Word(TDifference change) {
    return change == TDifference::Added     ? "added"
           : change == TDifference::Removed ? "removed"
                                            : "changed";
}

// "strength Brand changed mark 2>3 comment": a factor's entry as a line.
QStringList FactorLines(const TComparison& comparison) {
    QStringList lines;
    for (const TFactorDifference& f : comparison.Factors) {
        QString line = QStringLiteral("%1 %2 %3").arg(TypeWord(f.SwotType), f.Name, Word(f.Change));
        if (f.MarkChanged())
            line += QStringLiteral(" mark %1>%2").arg(*f.OldMark).arg(*f.NewMark);
        if (f.CommentChanged)
            line += QStringLiteral(" comment");
        lines << line;
    }
    return lines;
}

// "Grow changed weight 6>9 +S2/O1 -S1/O1 comment": a conclusion's entry.
QStringList GuidelineLines(const TComparison& comparison) {
    QStringList lines;
    for (const TGuidelineDifference& g : comparison.Guidelines) {
        QString line = g.Name + ' ' + Word(g.Change);
        if (g.WeightChanged())
            line += QStringLiteral(" weight %1>%2").arg(*g.OldWeight).arg(*g.NewWeight);
        if (!g.CouplingsGained.empty())
            line += " +" + Pairs(g.CouplingsGained);
        if (!g.CouplingsLost.empty())
            line += " -" + Pairs(g.CouplingsLost);
        if (g.CommentChanged)
            line += QStringLiteral(" comment");
        lines << line;
    }
    return lines;
}

void SetComment(TProject& project, std::size_t position, const QString& rtf) {
    project.Items[position]->Comments = QStringList{rtf};
}

} // namespace

// Factors pair by type and name, blanks at the ends aside, namesakes in the
// order of their positions; the entries come by type, then added, removed,
// changed.
TEST(Comparison, FactorsPairByTypeAndNameInOrder) {
    const struct {
        const char* what;
        std::unique_ptr<TProject> older, newer;
        QStringList expected;
    } cases[] = {
        {"namesakes pair in order of position",
         MakeProject(
             {{"Brand", stStrength, 2}, {"Shop", stOpportunity, 1}, {"Brand", stStrength, 3}}),
         MakeProject({{"Brand", stStrength, 2}, {"Brand", stStrength, 1}}),
         {"strength Brand changed mark 3>1", "opportunity Shop removed"}},
        {"the last namesake goes",
         MakeProject({{"Brand", stStrength, 2}, {"Brand", stStrength, 3}}),
         MakeProject({{"Brand", stStrength, 2}}),
         {"strength Brand removed"}},
        {"a renamed factor is one removed and one added",
         MakeProject({{"Brand", stStrength, 2}, {"Staff", stWeakness, 1}}),
         MakeProject({{"Label", stStrength, 2}, {"Staff", stWeakness, 1}}),
         {"strength Label added", "strength Brand removed"}},
        {"blanks at the ends do not count",
         MakeProject({{" Brand  ", stStrength, 2}}),
         MakeProject({{"Brand", stStrength, 2}}),
         {}},
        {"the case counts",
         MakeProject({{"brand", stStrength, 2}}),
         MakeProject({{"Brand", stStrength, 2}}),
         {"strength Brand added", "strength brand removed"}},
        {"the type counts",
         MakeProject({{"Rent", stWeakness, 2}}),
         MakeProject({{"Rent", stThreat, 2}}),
         {"weakness Rent removed", "threat Rent added"}},
        {"by type, then added, removed, changed",
         MakeProject({{"T1", stThreat, 1}, {"S1", stStrength, 1}, {"S2", stStrength, 1}}),
         MakeProject({{"S3", stStrength, 1},
                      {"T1", stThreat, 2},
                      {"S1", stStrength, 3},
                      {"O1", stOpportunity, 2}}),
         {"strength S3 added", "strength S2 removed", "strength S1 changed mark 1>3",
          "opportunity O1 added", "threat T1 changed mark 1>2"}},
    };
    for (const auto& c : cases) {
        const TComparison comparison = CompareProjects(*c.older, *c.newer);
        EXPECT_EQ(FactorLines(comparison).join('\n'), c.expected.join('\n')) << c.what;
        EXPECT_TRUE(comparison.Guidelines.empty()) << c.what;
    }
}

// Formatting alone is no change; any change of the text is one, a change of
// the paragraphs included.
TEST(Comparison, CommentsCompareAsPlainText) {
    const struct {
        const char* older;
        const char* newer;
        bool changed;
    } cases[] = {
        {"Loyal customers",
         R"({\rtf1\ansi {\fonttbl{\f0 Arial;}}\b Loyal\b0  \i customers\i0\par })", false},
        {R"({\rtf1 Caf\'e9\par })", R"({\rtf1 Caf\u233?\par })", false},
        {"", R"({\rtf1 \b \b0\par })", false},
        {"Loyal customers", "Loyal customer", true},
        {R"({\rtf1 Loyal\par customers\par })", R"({\rtf1 Loyal customers\par })", true},
    };
    for (const auto& c : cases) {
        auto older = MixedProject({{"Grow", {{0, 1}}}});
        auto newer = MixedProject({{"Grow", {{0, 1}}}});
        SetComment(*older, 0, c.older);
        SetComment(*newer, 0, c.newer);
        older->Guidelines[0]->Comments = QStringList{c.older};
        newer->Guidelines[0]->Comments = QStringList{c.newer};
        const TComparison comparison = CompareProjects(*older, *newer);
        EXPECT_EQ(FactorLines(comparison),
                  c.changed ? QStringList{"strength S1 changed comment"} : QStringList())
            << c.newer;
        EXPECT_EQ(GuidelineLines(comparison),
                  c.changed ? QStringList{"Grow changed comment"} : QStringList())
            << c.newer;
    }
}

// Positions of MixedProject: S1 0 (mark 2), O1 1 (3), W1 2 (3), T1 3 (1),
// S2 4 (3), O2 5 (2).
TEST(Comparison, ConclusionsCompareWeightsAndCouplingsByName) {
    const struct {
        const char* what;
        std::unique_ptr<TProject> older, newer;
        QStringList expected;
    } cases[] = {
        {"couplings gained and lost, duplicates counted",
         MixedProject({{"Grow", {{0, 1}, {0, 1}, {2, 3}}}}),
         MixedProject({{"Grow", {{4, 1}, {0, 1}}}}),
         {"Grow changed +S2/O1 -S1/O1,W1/T1"}},
        {"the same couplings in another order are no change",
         MixedProject({{"Grow", {{0, 1}, {2, 3}}}}),
         MixedProject({{"Grow", {{2, 3}, {0, 1}}}}),
         {}},
        {"a factor's mark changes the weight alone",
         MixedProject({{"Grow", {{0, 1}}}}),
         MakeProject({{"S1", stStrength, 3}, {"O1", stOpportunity, 3}}, {{"Grow", {{0, 1}}}}),
         {"Grow changed weight 6>9"}},
        {"couplings are named, not numbered",
         MixedProject({{"Grow", {{0, 1}}}}),
         MakeProject({{"O1", stOpportunity, 3}, {"S1", stStrength, 2}}, {{"Grow", {{1, 0}}}}),
         {}},
        {"a renamed factor changes the couplings that name it",
         MakeProject({{"S1", stStrength, 2}, {"O1", stOpportunity, 3}}, {{"Grow", {{0, 1}}}}),
         MakeProject({{"S1", stStrength, 2}, {"Market", stOpportunity, 3}}, {{"Grow", {{0, 1}}}}),
         {"Grow changed +S1/Market -S1/O1"}},
        {"namesakes pair in order; added, removed, then changed",
         MixedProject({{"Grow", {{0, 1}}}, {"Keep", {}}, {"Grow", {{2, 3}}}}),
         MixedProject({{"New", {{4, 5}}}, {"Grow", {{0, 1}}}, {"Grow", {}}}),
         {"New added", "Keep removed", "Grow changed weight 3>0 -W1/T1"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GuidelineLines(CompareProjects(*c.older, *c.newer)).join('\n'),
                  c.expected.join('\n'))
            << c.what;

    const TComparison added = CompareProjects(*MixedProject(), *MixedProject({{"New", {{4, 5}}}}));
    ASSERT_EQ(added.Guidelines.size(), 1u);
    EXPECT_EQ(added.Guidelines[0].NewWeight, 6);
    EXPECT_EQ(added.Guidelines[0].NewPosition, 0u);
    EXPECT_EQ(added.Guidelines[0].OldWeight, std::nullopt);
}

// Each side carries its own title and the weights of its strategy quadrants.
TEST(Comparison, VersionsCarryTheirTitlesAndQuadrantWeights) {
    auto older = MixedProject({{"Grow", {{0, 1}}}});
    auto newer = MixedProject({{"Grow", {{0, 1}, {2, 3}}}, {"Fix", {{2, 1}}}});
    older->Title = "2025";
    newer->Title = "2026";
    newer->Labels.SetValue(hdStrengths, "Assets");
    const TComparison comparison = CompareProjects(*older, *newer);
    EXPECT_EQ(comparison.Old.Title, "2025");
    EXPECT_EQ(comparison.New.Title, "2026");
    EXPECT_EQ(comparison.Old.QuadrantWeights, (std::array<std::int64_t, 4>{6, 0, 0, 0}));
    EXPECT_EQ(comparison.New.QuadrantWeights, (std::array<std::int64_t, 4>{6, 9, 0, 3}));
    EXPECT_EQ(comparison.Headings.Value(hdStrengths), "Assets");
}

TEST(Comparison, AProjectAgainstItselfListsNothing) {
    for (const char* example : {"Family bakery - online sales.swot", "Town library - renewal.swot",
                                "fr/Boulangerie familiale - vente en ligne.swot"}) {
        const auto project =
            ReadProject(QStringLiteral(MEROVAN_RESOURCES_DIR "/templates/") + example);
        ASSERT_FALSE(project->Items.empty()) << example;
        const auto copy = CopyProject(*project);
        EXPECT_TRUE(CompareProjects(*project, *copy).NoDifference()) << example;
    }
}
