#include "UntIO.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDir Templates(QStringLiteral(MEROVAN_TEMPLATES_DIR));

QStringList TemplateFiles() {
    return Templates.entryList({QStringLiteral("*.swot")}, QDir::Files, QDir::Name);
}

} // namespace

// The installed templates are what their generator writes today.
TEST(Templates, AreCurrent) {
    QTemporaryDir generated;
    QProcess tool;
    tool.start(QStringLiteral(MEROVAN_MAKE_TEMPLATES), {generated.path()});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(QDir(generated.path()).entryList({"*.swot"}, QDir::Files, QDir::Name),
              TemplateFiles());
    for (const QString& name : TemplateFiles())
        EXPECT_EQ(ProjectContent(*ReadProject(Templates.filePath(name))),
                  ProjectContent(*ReadProject(QDir(generated.path()).filePath(name))))
            << name.toStdString() << ": run merovan-make-templates on resources/templates";
}

TEST(Templates, ReferenceIsAnEmptyAnalysis) {
    const auto reference = ReadProject(Templates.filePath("reference.swot"));
    EXPECT_EQ(reference->Title, "Analyse Swot");
    EXPECT_TRUE(reference->Items.empty());
    EXPECT_TRUE(reference->Guidelines.empty());
    for (int number = 1; number <= TLabels::Count; ++number)
        EXPECT_EQ(reference->Labels.Value(number), LoadStr(2800 + number));
}

TEST(Templates, ExamplesAreSubstantial) {
    const QStringList examples = TemplateFiles().filter(QRegularExpression("^(?!reference)"));
    ASSERT_GE(examples.size(), 2);
    for (const QString& name : examples) {
        SCOPED_TRACE(name.toStdString());
        const auto project = ReadProject(Templates.filePath(name));
        EXPECT_GE(project->Items.size(), 12u);
        int types[5] = {};
        QString markup;
        for (const auto& item : project->Items) {
            ++types[std::clamp(item->SwotType, 0, 4)];
            markup += RtfToTagMarkup(item->Comments).front();
        }
        for (int type = stStrength; type <= stThreat; ++type)
            EXPECT_GE(types[type], 3) << "type " << type;
        EXPECT_TRUE(markup.contains("<b>") && markup.contains("<i>"));
        EXPECT_GE(project->Guidelines.size(), 3u);
        for (const auto& guideline : project->Guidelines) {
            EXPECT_FALSE(guideline->Couples.empty()) << guideline->Name.toStdString();
            for (const TTOWSCouple& couple : guideline->Couples)
                EXPECT_TRUE(GetCouplingKind(project->Items[couple.Index1]->SwotType,
                                            project->Items[couple.Index2]->SwotType))
                    << guideline->Name.toStdString();
        }
    }
}
