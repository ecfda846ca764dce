#include "model/UntClassProject.h"
#include "model/UntStrings.h"
#include "reports/ReportTemplate.h"
#include "reports/UntOOExport.h"
#include "storage/UntIO.h"
#include "storage/UntJson.h"
#include "storage/UntUtils.h"

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

// A factor as the window makes it, only its type and name given, a factor of
// a JSON file without a mark, and a new conclusion come back from the
// project file as the user left them: of medium importance, without
// comments or couplings; and the report says so.
TEST(ProjectModel, NewFactorsAndConclusionsReadBackAsTheUserLeftThem) {
    auto project = ReadProjectJson(R"({"format": "merovan-project", "version": 1,
        "factors": [{"type": "opportunity", "name": "Imported"}]})");
    auto factor = std::make_unique<TTOWSItem>();
    factor->SwotType = stStrength;
    factor->Name = "Made";
    project->Items.push_back(std::move(factor));
    auto conclusion = std::make_unique<TGuideline>();
    conclusion->Name = "Grow";
    project->Guidelines.push_back(std::move(conclusion));

    const auto read = ReadProjectArchive(ProjectArchive(*project));
    ASSERT_EQ(read->Items.size(), 2u);
    for (const auto& item : read->Items) {
        EXPECT_EQ(item->Mark, mkMedium) << item->Name.toStdString();
        EXPECT_EQ(RtfToPlainText(item->Comments), "") << item->Name.toStdString();
    }
    ASSERT_EQ(read->Guidelines.size(), 1u);
    EXPECT_EQ(read->Guidelines[0]->Name, "Grow");
    EXPECT_TRUE(read->Guidelines[0]->Couples.empty());
    EXPECT_EQ(RtfToPlainText(read->Guidelines[0]->Comments), "");

    pugi::xml_document report = LoadReportTemplate("writer/contentwriter.xml");
    BuildTextReport(report, *read);
    const QString text = QString::fromUtf8(XmlBytes(report, pugi::format_raw));
    for (const char* line : {"Made - Medium importance", "Imported - Medium importance"})
        EXPECT_TRUE(text.contains(line)) << line;
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
