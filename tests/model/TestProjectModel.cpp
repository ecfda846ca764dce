#include "UntClassProject.h"
#include "UntStrings.h"

#include <gtest/gtest.h>

TEST(ProjectModel, NewProjectHasItsDefaults) {
    const TProject project;
    EXPECT_FALSE(project.Modified);
    EXPECT_TRUE(project.FileName.isEmpty());
    EXPECT_EQ(project.Title, "Analyse Swot");
    EXPECT_TRUE(project.Comments.isEmpty());
    EXPECT_TRUE(project.Items.empty());
    EXPECT_TRUE(project.Guidelines.empty());
    for (int number = 1; number <= TLabels::Count; ++number) {
        EXPECT_EQ(project.Labels.Values(HeadingKey(number)), LoadStr(2800 + number)) << number;
        EXPECT_EQ(project.Labels.Value(number), LoadStr(2800 + number)) << number;
    }
    EXPECT_EQ(project.Labels.Value(1), "Situation analysis");
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

TEST(ProjectModel, HeadingKeysOfTypesKindsAndMarks) {
    const TLabels labels;
    struct Case {
        QString key;
        const char* text;
    };
    const Case cases[] = {
        {TypeHeadingKey(stStrength), "Our strengths"},
        {TypeHeadingKey(stWeakness), "Our weaknesses"},
        {TypeHeadingKey(stOpportunity), "External Opportunities"},
        {TypeHeadingKey(stThreat), "External Threats"},
        {KindHeadingKey(TCouplingKind::ckPieceOfLuck), "Pieces of luck"},
        {KindHeadingKey(TCouplingKind::ckChallenge), "Challenges"},
        {KindHeadingKey(TCouplingKind::ckConflict), "Conflicts"},
        {KindHeadingKey(TCouplingKind::ckDanger), "Dangers"},
        {MarkHeadingKey(mkLow), "Low importance"},
        {MarkHeadingKey(mkMedium), "Medium importance"},
        {MarkHeadingKey(mkHigh), "High importance"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(labels.Values(c.key), c.text) << c.key.toStdString();
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
