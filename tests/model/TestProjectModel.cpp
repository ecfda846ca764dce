#include "UntClassProject.h"
#include "UntStrings.h"

#include <gtest/gtest.h>

TEST(ProjectModel, NewProjectHasItsDefaults) {
    const TProject project;
    EXPECT_FALSE(project.Modified());
    EXPECT_TRUE(project.FileName.isEmpty());
    EXPECT_EQ(project.Title, "Analyse Swot");
    EXPECT_TRUE(project.Comments.isEmpty());
    EXPECT_TRUE(project.Items.empty());
    EXPECT_TRUE(project.Guidelines.empty());
    for (int number = 1; number <= TLabels::Count; ++number) {
        EXPECT_EQ(project.Labels.Values(HeadingKey(number)), LoadStr(2800 + number)) << number;
        EXPECT_EQ(project.Labels.Value(number), LoadStr(2800 + number)) << number;
    }
    EXPECT_EQ(project.Labels.Value(hdSituationAnalysis), "Situation analysis");
    EXPECT_EQ(project.Labels.Value(19), "High importance");
}

TEST(ProjectModel, NewRecordsHaveTheirDefaults) {
    const TTOWSItem factor;
    EXPECT_TRUE(factor.Name.isEmpty());
    EXPECT_TRUE(factor.Comments.isEmpty());
    EXPECT_EQ(factor.SwotType, 0);
    EXPECT_EQ(factor.Mark, 2);

    const TGuideline guideline;
    EXPECT_TRUE(guideline.Name.isEmpty());
    EXPECT_TRUE(guideline.Couples.empty());

    const TTOWSCouple couple;
    EXPECT_EQ(couple.Index1, -1);
    EXPECT_EQ(couple.Index2, -1);
}

TEST(ProjectModel, HeadingsOfTypesKindsAndMarks) {
    const TLabels labels;
    struct Case {
        int heading;
        const char* text;
    };
    const Case cases[] = {
        {TypeHeading(stStrength), "Our strengths"},
        {TypeHeading(stWeakness), "Our weaknesses"},
        {TypeHeading(stOpportunity), "External Opportunities"},
        {TypeHeading(stThreat), "External Threats"},
        {KindHeading(TCouplingKind::ckPieceOfLuck), "Pieces of luck"},
        {KindHeading(TCouplingKind::ckChallenge), "Challenges"},
        {KindHeading(TCouplingKind::ckConflict), "Conflicts"},
        {KindHeading(TCouplingKind::ckDanger), "Dangers"},
        {MarkHeading(mkLow), "Low importance"},
        {MarkHeading(mkMedium), "Medium importance"},
        {MarkHeading(mkHigh), "High importance"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(labels.Values(HeadingKey(c.heading)), c.text) << c.heading;
}

TEST(ProjectModel, HeadingsAreLookedUpOnlyByTheirExactNames) {
    TLabels labels;
    EXPECT_TRUE(labels.SetValues("Label12", "Lucky strikes"));
    EXPECT_EQ(labels.Value(12), "Lucky strikes");
    EXPECT_TRUE(labels.SetValues("Label3", ""));
    EXPECT_EQ(labels.Values("Label3"), "");

    for (const char* name : {"Label0", "Label20", "Label04", "label4", "Label", "Label+4",
                             "Label 4", "Label4x", "Heading4"}) {
        EXPECT_TRUE(labels.Values(name).isEmpty()) << name;
        EXPECT_FALSE(labels.SetValues(name, "changed")) << name;
    }
    for (int number = 1; number <= TLabels::Count; ++number)
        EXPECT_NE(labels.Value(number), "changed");
}

TEST(ProjectModel, FactorsAreFoundByIdentity) {
    TProject project;
    for (int i = 0; i < 3; ++i) {
        project.Items.push_back(std::make_unique<TTOWSItem>());
        project.Items.back()->Name = "same";
    }
    const TTOWSItem stranger;
    EXPECT_EQ(project.IndexOfItem(project.Items[2].get()), 2);
    EXPECT_EQ(project.IndexOfItem(project.Items[0].get()), 0);
    EXPECT_EQ(project.IndexOfItem(&stranger), -1);
    EXPECT_EQ(project.IndexOfItem(nullptr), -1);
}
