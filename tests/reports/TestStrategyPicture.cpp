// The strategy matrix as a picture.
#include "ProjectBuilder.h"
#include "SvgFiles.h"
#include "reports/UntStrategyPicture.h"
#include "storage/UntDataModule.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {

QString Joined(const std::vector<TSvgText>& texts) {
    QStringList joined;
    for (const TSvgText& text : texts)
        joined << text.Shown;
    return joined.join(QLatin1Char('|'));
}

qsizetype Count(const std::vector<TSvgText>& texts, const QString& text) {
    return std::ranges::count_if(texts, [&](const TSvgText& t) { return t.Shown == text; });
}

// Positions of MixedProject: S1 0 (mark 2), O1 1 (3), W1 2 (3), T1 3 (1),
// S2 4 (3), O2 5 (2).
std::unique_ptr<TProject> Strategies() {
    auto project = MixedProject({
        {"Twice S1/O1 and W1/T1", {{0, 1}, {0, 1}, {2, 3}}},
        {"S2/O1", {{4, 1}}},
        {"Nothing", {}},
        {"W1/O1 and S2/T1", {{2, 1}, {4, 3}}},
        {"Reversed", {{1, 0}}},
        {"W1/T1", {{2, 3}}},
    });
    project->Title = QStringLiteral("Plan");
    return project;
}

} // namespace

// Opportunities and threats head the columns, strengths and weaknesses the
// rows; each strategy lists its conclusions heaviest first, each weight
// before its name, and the conclusions without couplings come last, in list
// order, under their own heading. A conclusion's name is one text wherever
// it stands.
TEST(StrategyPicture, LaysTheStrategiesOutAsTheMatrix) {
    QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("strategies.svg"));
    SaveStrategyPicture(*Strategies(), svg);
    const auto texts = SvgTextElements(svg);
    EXPECT_EQ(Joined(texts),
              "Plan|Strategy matrix|External Opportunities|External Threats|"
              "Our strengths|Pieces of luck|12|Twice S1/O1 and W1/T1|9|S2/O1|"
              "Conflicts|3|W1/O1 and S2/T1|"
              "Our weaknesses|Challenges|9|W1/O1 and S2/T1|"
              "Dangers|3|Twice S1/O1 and W1/T1|3|W1/T1|"
              "Conclusions without couplings|Nothing|Reversed|"
              "The number beside a conclusion is its weight in the strategy: the sum of the "
              "ratings of its couplings of that kind.");
    for (const auto& [name, places] : {std::pair("Twice S1/O1 and W1/T1", 2),
                                       {"S2/O1", 1},
                                       {"Nothing", 1},
                                       {"W1/O1 and S2/T1", 2},
                                       {"W1/T1", 1}})
        EXPECT_EQ(Count(texts, name), places) << name;
}

// The project's own headings, and a strategy without conclusions says so;
// without conclusions apart there is no heading for them.
TEST(StrategyPicture, ShowsTheProjectsHeadingsAndEmptyStrategies) {
    auto project = MixedProject({{"Only luck", {{4, 5}}}});
    project->Title = QStringLiteral("Custom");
    const std::pair<int, const char*> headings[] = {
        {hdStrengths, "Assets"}, {hdWeaknesses, "Gaps"},    {hdOpportunities, "Openings"},
        {hdThreats, "Risks"},    {hdPiecesOfLuck, "Seize"}, {hdChallenges, "Mend"},
        {hdConflicts, "Parry"},  {hdDangers, "Avoid"},
    };
    for (const auto& [number, text] : headings)
        project->Labels.SetValue(number, QString::fromUtf8(text));
    QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("custom.svg"));
    SaveStrategyPicture(*project, svg);
    EXPECT_EQ(Joined(SvgTextElements(svg)).section('|', 0, -2),
              "Custom|Strategy matrix|Openings|Risks|Assets|Seize|6|Only luck|"
              "Parry|No conclusion|Gaps|Mend|No conclusion|Avoid|No conclusion");
}

// A name is cut with an ellipsis only when the widest column cannot hold
// it, and then carries the whole name as its title; in the strategies and
// apart alike.
TEST(StrategyPicture, CutsOnlyWhatCannotFitAndTitlesIt) {
    const QString fits = QStringLiteral("Open a second shop near the station for the commuters");
    const QString tooLong =
        QStringLiteral("Train every baker in the sourdough methods of the region, then open a "
                       "school of our own and sell its courses online to the whole country, "
                       "with a book of our recipes and a weekly film of the bakehouse at dawn "
                       "for the customers who follow us");
    auto project = MixedProject();
    for (const QString& name : {fits, tooLong}) {
        for (const bool held : {true, false}) {
            auto guideline = std::make_unique<TGuideline>();
            guideline->Name = name;
            if (held)
                guideline->AddCouple(4, 1);
            project->Guidelines.push_back(std::move(guideline));
        }
    }
    QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("long.svg"));
    SaveStrategyPicture(*project, svg);
    const auto texts = SvgTextElements(svg);
    EXPECT_EQ(Count(texts, fits), 2) << Joined(texts).toStdString();
    EXPECT_EQ(Count(texts, tooLong), 0);
    std::vector<TSvgText> cut;
    for (const TSvgText& text : texts) {
        if (!text.Title.isEmpty())
            cut.push_back(text);
    }
    ASSERT_EQ(cut.size(), 2u) << "in the strategy and apart";
    for (const TSvgText& text : cut) {
        EXPECT_EQ(text.Title, tooLong);
        EXPECT_TRUE(text.Shown.endsWith(QStringLiteral("…"))) << text.Shown.toStdString();
        EXPECT_TRUE(tooLong.startsWith(text.Shown.chopped(1).trimmed()))
            << text.Shown.toStdString();
    }
}

// PNG too, wide enough for a slide; another extension, or a folder that is
// not there, writes nothing.
TEST(StrategyPicture, WritesPngAndRefusesWhatItCannotWrite) {
    QTemporaryDir folder;
    const QString png = folder.filePath(QStringLiteral("strategies.png"));
    SaveStrategyPicture(*Strategies(), png);
    QImageReader reader(png);
    EXPECT_EQ(reader.format(), "png");
    EXPECT_GE(reader.size().width(), 1600);
    for (const QString name : {"strategies.jpg", "strategies", "missing/strategies.svg"})
        EXPECT_THROW(SaveStrategyPicture(*Strategies(), folder.filePath(name)), EStorageError)
            << name.toStdString();
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"strategies.png"});
}

// Written as the other pictures are: every shape and text takes a class of
// one style sheet, the same for 20 conclusions or 200, and no element a
// style of its own; the title of the project and what the picture shows are
// its own, in SVG and in PNG.
TEST(StrategyPicture, IsWrittenAsTheOtherPictures) {
    QTemporaryDir folder;
    const QString title = QString::fromUtf8("Boulangerie & fils – <2027>");
    std::array<QByteArray, 2> svgs;
    for (std::size_t i = 0; i < svgs.size(); ++i) {
        // Each strategy holds conclusions, and some stand apart.
        auto project = MixedProject();
        project->Title = title;
        const std::array<std::vector<TTOWSCouple>, 5> holds = {
            {{{4, 1}}, {{2, 1}}, {{4, 3}}, {{2, 3}}, {}}};
        for (int g = 0; g < (i == 0 ? 20 : 200); ++g) {
            auto guideline = std::make_unique<TGuideline>();
            guideline->Name = QStringLiteral("Conclusion %1").arg(g);
            guideline->Couples = holds[static_cast<std::size_t>(g) % holds.size()];
            project->Guidelines.push_back(std::move(guideline));
        }
        const QString svg = folder.filePath(QStringLiteral("strategies%1.svg").arg(i));
        SaveStrategyPicture(*project, svg);
        QFile file(svg);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        svgs[i] = file.readAll();
        const QString png = folder.filePath(QStringLiteral("strategies%1.png").arg(i));
        SaveStrategyPicture(*project, png);
        QImageReader reader(png);
        EXPECT_EQ(reader.text(QStringLiteral("Title")), title);
        EXPECT_EQ(reader.text(QStringLiteral("Description")), "Strategy matrix");
    }
    ExpectOneStyleSheet({svgs.begin(), svgs.end()});
    for (const QByteArray& svg : svgs) {
        pugi::xml_document document;
        ASSERT_TRUE(document.load_buffer(svg.constData(), static_cast<std::size_t>(svg.size())));
        EXPECT_EQ(QString::fromUtf8(document.child("svg").child("title").text().get()), title);
        EXPECT_EQ(QString::fromUtf8(document.child("svg").child("desc").text().get()),
                  "Strategy matrix");
    }
}
