#include "model/UntStrings.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QDir Templates(QStringLiteral(MEROVAN_TEMPLATES_DIR));

// The templates of each language: the English ones at the top, the French
// ones in "fr/", each with its own headings.
struct TLanguage {
    const char* Folder;
    QLocale Locale;
    const char* Heading4;
};
const TLanguage Languages[] = {
    {".", QLocale(QLocale::English, QLocale::UnitedKingdom), "Our strengths"},
    {"fr", QLocale(QLocale::French, QLocale::France), "Nos forces"},
};

// Keeps the interface's language of the tests, English, around a test that changes it.
struct TLocaleKept {
    ~TLocaleKept() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); }
};

QStringList TemplateFiles(const QDir& folder) {
    return folder.entryList({QStringLiteral("*.swot")}, QDir::Files, QDir::Name);
}

QStringList Examples(const QDir& folder) {
    return TemplateFiles(folder).filter(QRegularExpression("^(?!reference)"));
}

// What a translation keeps of a project: the kinds and marks of the factors,
// where the comments break and change style, and the couplings of the
// conclusions.
QStringList Shape(const TProject& project) {
    const QRegularExpression text(QStringLiteral("[^<>]+(?=<|$)"));
    const auto comments = [&](const QStringList& rtf) {
        return RtfToTagMarkup(rtf).front().remove(text);
    };
    QStringList shape{comments(project.Comments)};
    for (const auto& item : project.Items)
        shape << QStringLiteral("%1 %2 %3")
                     .arg(item->SwotType)
                     .arg(item->Mark)
                     .arg(comments(item->Comments));
    for (const auto& guideline : project.Guidelines) {
        QString couples;
        for (const TTOWSCouple& couple : guideline->Couples)
            couples += QStringLiteral("(%1,%2)").arg(couple.Index1).arg(couple.Index2);
        shape << couples + comments(guideline->Comments);
    }
    return shape;
}

} // namespace

// The installed templates of every language are what their generator writes today.
TEST(Templates, AreCurrent) {
    QTemporaryDir generated;
    QProcess tool;
    tool.start(QStringLiteral(MEROVAN_MAKE_TEMPLATES), {generated.path()});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    for (const TLanguage& language : Languages) {
        const QDir installed(Templates.filePath(language.Folder));
        const QDir made(QDir(generated.path()).filePath(language.Folder));
        EXPECT_EQ(TemplateFiles(made), TemplateFiles(installed)) << language.Folder;
        for (const QString& name : TemplateFiles(installed))
            EXPECT_EQ(ProjectContent(*ReadProject(installed.filePath(name))),
                      ProjectContent(*ReadProject(made.filePath(name))))
                << name.toStdString() << ": run merovan-make-templates on resources/templates";
    }
}

// The reference and the examples of a language carry the default headings of
// that language, whatever the language of the machine that made them.
TEST(Templates, HeadingsAreThoseOfTheirLanguage) {
    const TLocaleKept kept;
    for (const TLanguage& language : Languages) {
        QLocale::setDefault(language.Locale);
        const QDir folder(Templates.filePath(language.Folder));
        const auto reference = ReadProject(folder.filePath("reference.swot"));
        EXPECT_EQ(reference->Title, "Analyse Swot");
        EXPECT_TRUE(reference->Items.empty());
        EXPECT_TRUE(reference->Guidelines.empty());
        EXPECT_EQ(reference->Labels.Value(4), language.Heading4) << language.Folder;
        for (const QString& name : TemplateFiles(folder)) {
            const auto project = ReadProject(folder.filePath(name));
            for (int number = 1; number <= TLabels::Count; ++number)
                EXPECT_EQ(project->Labels.Value(number), LoadStr(2800 + number))
                    << name.toStdString() << ", heading " << number;
        }
    }
}

TEST(Templates, ExamplesAreSubstantial) {
    for (const TLanguage& language : Languages) {
        const QDir folder(Templates.filePath(language.Folder));
        ASSERT_GE(Examples(folder).size(), 2) << language.Folder;
        for (const QString& name : Examples(folder)) {
            SCOPED_TRACE(name.toStdString());
            const auto project = ReadProject(folder.filePath(name));
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
}

// Every French example translates an English one: the same factors, marks,
// couplings and comment layout, under other words.
TEST(Templates, FrenchExamplesTranslateTheEnglishOnes) {
    QList<QStringList> english;
    for (const QString& name : Examples(Templates))
        english << Shape(*ReadProject(Templates.filePath(name)));
    const QDir french(Templates.filePath("fr"));
    QStringList titles;
    for (const QString& name : Examples(french)) {
        const auto project = ReadProject(french.filePath(name));
        EXPECT_TRUE(english.removeOne(Shape(*project)))
            << name.toStdString() << " differs from every English example left";
        titles << project->Title;
    }
    EXPECT_TRUE(english.isEmpty()) << english.size() << " English examples untranslated";
    for (const QString& name : Examples(Templates))
        EXPECT_FALSE(titles.contains(ReadProject(Templates.filePath(name))->Title))
            << name.toStdString() << " is not translated";
}
