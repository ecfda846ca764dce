// The SWOT diagram and the TOWS matrix, as SVG and PNG.
#include "ProjectBuilder.h"
#include "SvgFiles.h"
#include "reports/UntPictures.h"
#include "reports/UntStrategyPicture.h"
#include "storage/UntErrors.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {

// Every text of the SVG in document order, joined by blanks.
QString SvgTexts(const QString& path) {
    pugi::xml_document svg;
    const pugi::xml_parse_result parsed = svg.load_file(QFile::encodeName(path).constData());
    EXPECT_TRUE(parsed) << parsed.description();
    QStringList texts;
    const pugi::xpath_query content("string(.)");
    for (const pugi::xpath_node& text : svg.select_nodes("//text"))
        texts << QString::fromStdString(content.evaluate_string(text.node())).simplified();
    return texts.join(QLatin1Char(' '));
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

std::unique_ptr<TProject> Generated(int perType) {
    auto project = std::make_unique<TProject>();
    project->Title = QStringLiteral("Generated");
    for (std::int32_t type = stStrength; type <= stThreat; ++type)
        for (int i = 0; i < perType; ++i) {
            auto item = std::make_unique<TTOWSItem>();
            item->Name = QStringLiteral("Factor %1.%2").arg(type).arg(i);
            item->SwotType = type;
            item->Mark = 1 + i % 3;
            project->Items.push_back(std::move(item));
        }
    return project;
}

QSize PngSize(const QString& path) {
    QImageReader reader(path);
    EXPECT_EQ(reader.format(), "png") << path.toStdString();
    return reader.size();
}

} // namespace

// Both pictures of realistic, empty and large projects: the SVG names the
// title and every factor as text, the PNG is at least 1,600 pixels wide.
TEST(Pictures, NameEveryFactorInBothFormats) {
    QTemporaryDir folder;
    const QString examples = ProgramFolder() + QStringLiteral("templates/");
    auto empty = std::make_unique<TProject>();
    empty->Title = QStringLiteral("Nothing yet");
    std::vector<std::unique_ptr<TProject>> projects;
    projects.push_back(ReadProject(examples + "Family bakery - online sales.swot"));
    projects.push_back(ReadProject(examples + "Town library - renewal.swot"));
    projects.push_back(std::move(empty));
    projects.push_back(Generated(40));
    for (const auto& project : projects)
        for (const TPictureKind kind : {TPictureKind::Swot, TPictureKind::Tows}) {
            const std::string what =
                project->Title.toStdString() + (kind == TPictureKind::Swot ? " SWOT" : " TOWS");
            const QString svg = folder.filePath(QStringLiteral("picture.svg"));
            SavePicture(kind, *project, svg);
            const QString texts = SvgTexts(svg);
            EXPECT_TRUE(texts.contains(project->Title)) << what;
            for (const auto& factor : project->Items)
                EXPECT_TRUE(texts.contains(factor->Name))
                    << what << ": " << factor->Name.toStdString();
            const QString png = folder.filePath(QStringLiteral("picture.png"));
            SavePicture(kind, *project, png);
            EXPECT_GE(PngSize(png).width(), 1600) << what;
        }
}

// A project far beyond a screen still gives a picture, taller than a smaller one's.
TEST(Pictures, ALargeProjectGivesATallerPicture) {
    QTemporaryDir folder;
    const QString small = folder.filePath(QStringLiteral("small.png"));
    const QString large = folder.filePath(QStringLiteral("large.png"));
    for (const TPictureKind kind : {TPictureKind::Swot, TPictureKind::Tows}) {
        SavePicture(kind, *Generated(40), small);
        SavePicture(kind, *Generated(150), large);
        const QSize smallSize = PngSize(small);
        const QSize largeSize = PngSize(large);
        EXPECT_GT(largeSize.height() * smallSize.width(), smallSize.height() * largeSize.width())
            << "taller for its width";
        EXPECT_GE(largeSize.width(), 1600);
    }
}

// Rows most important first, strengths before weaknesses, each row's ratings
// in the order of the columns, with the kinds' headings between the groups.
TEST(Pictures, TheMatrixRatesEveryCouplingInReportOrder) {
    QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("matrix.svg"));
    SavePicture(TPictureKind::Tows, *MixedProject({{"G", {{4, 1}}}}), svg);
    EXPECT_TRUE(
        SvgTexts(svg).contains("S2 9 6 3 S1 6 4 2 Our weaknesses Challenges Dangers W1 9 6 3"))
        << SvgTexts(svg).toStdString();
}

TEST(Pictures, AnUnknownExtensionOrAnUnwritableFolderWritesNothing) {
    QTemporaryDir folder;
    const auto project = MixedProject();
    for (const QString name : {"picture.jpg", "picture", "missing/picture.svg"}) {
        EXPECT_THROW(SavePicture(TPictureKind::Swot, *project, folder.filePath(name)),
                     EStorageError)
            << name.toStdString();
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
    try {
        SavePicture(TPictureKind::Tows, *project, folder.filePath("picture.jpg"));
    } catch (const EStorageError& error) {
        EXPECT_EQ(error.Message(),
                  "The format of the picture follows the extension of its file: svg, png.");
    }
}

// Names that wrap (Japanese without blanks, words) stay one text element
// each, whole, so that a search for a name finds it; a name too long for its
// place shows its beginning, elided, and carries the whole in its title.
TEST(Pictures, EachNameIsOneWholeTextElement) {
    const QString japanese =
        QString::fromUtf8("新しい市場への参入と地域の顧客との長期的な関係の構築"
                          "による売上の安定した成長");
    const QString words = QStringLiteral("A name of many words that cannot stand on one line of "
                                         "a square nor of a row of the matrix");
    const QString endless = QString(3000, QLatin1Char('m'));
    auto project = std::make_unique<TProject>();
    project->Title = QStringLiteral("Names");
    for (std::int32_t type = stStrength; type <= stThreat; ++type)
        for (const QString& name : {japanese, words, endless}) {
            auto item = std::make_unique<TTOWSItem>();
            item->Name = name + QString::number(type);
            item->SwotType = type;
            project->Items.push_back(std::move(item));
        }
    QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("picture.svg"));
    for (const TPictureKind kind : {TPictureKind::Swot, TPictureKind::Tows}) {
        SavePicture(kind, *project, svg);
        const std::vector<TSvgText> texts = SvgTextElements(svg);
        for (const auto& factor : project->Items) {
            const std::string what = factor->Name.left(30).toStdString();
            const auto whole = std::ranges::count_if(texts, [&](const TSvgText& text) {
                return text.Shown == factor->Name || text.Title == factor->Name;
            });
            EXPECT_EQ(whole, 1) << what;
        }
        const auto elided = std::ranges::find_if(
            texts, [&](const TSvgText& text) { return text.Title.startsWith(endless); });
        ASSERT_NE(elided, texts.end());
        EXPECT_TRUE(elided->Shown.endsWith(QStringLiteral("…")));
        EXPECT_TRUE(endless.startsWith(elided->Shown.chopped(1)));
    }
}

// A name of a million characters without a blank, which the import takes,
// gives both pictures, elided; the SVG's title of it holds its beginning.
TEST(Pictures, AHugeNameWithoutBlanksIsLaidOut) {
    for (const QChar letter : {QChar(u'x'), QChar(u'語')}) {
        auto project = MixedProject();
        project->Items[0]->Name = QString(1'000'000, letter);
        project->Items[1]->Name = QString(1'000'000, letter);
        QTemporaryDir folder;
        for (const QString name : {"picture.svg", "picture.png"})
            for (const TPictureKind kind : {TPictureKind::Swot, TPictureKind::Tows}) {
                SavePicture(kind, *project, folder.filePath(name));
                EXPECT_LT(QFileInfo(folder.filePath(name)).size(), 500'000) << name.toStdString();
            }
        EXPECT_TRUE(SvgTexts(folder.filePath("picture.svg"))
                        .contains(project->Items[1]->Name.left(10'000) + QStringLiteral("…")));
    }
}

// The matrix's shapes share their styles: the style sheet is the same for 20
// or 40 factors per type, no element carries a style of its own, and a cell
// costs a few dozen bytes.
TEST(Pictures, TheMatrixStylesDoNotRepeatPerCell) {
    QTemporaryDir folder;
    std::array<QByteArray, 2> svgs;
    std::array<qint64, 2> cells{};
    for (std::size_t i = 0; i < 2; ++i) {
        const int perType = 20 * static_cast<int>(i + 1);
        const QString path = folder.filePath(QStringLiteral("matrix%1.svg").arg(perType));
        SavePicture(TPictureKind::Tows, *Generated(perType), path);
        svgs[i] = FileBytes(path);
        cells[i] = 4LL * perType * perType;
    }
    ExpectOneStyleSheet({svgs.begin(), svgs.end()});
    const double perCell = static_cast<double>(svgs[1].size() - svgs[0].size()) /
                           static_cast<double>(cells[1] - cells[0]);
    EXPECT_LT(perCell, 60) << "bytes per cell";
}

TEST(Pictures, CarryTheProjectTitle) {
    auto project = MixedProject();
    project->Title = QString::fromUtf8("Boulangerie & fils – 東京 <2027>");
    QTemporaryDir folder;
    const QString svg = folder.filePath(QStringLiteral("picture.svg"));
    const QString png = folder.filePath(QStringLiteral("picture.png"));
    for (const TPictureKind kind : {TPictureKind::Swot, TPictureKind::Tows}) {
        SavePicture(kind, *project, svg);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_file(QFile::encodeName(svg).constData()));
        EXPECT_EQ(QString::fromUtf8(document.child("svg").child("title").text().get()),
                  project->Title);
        SavePicture(kind, *project, png);
        EXPECT_EQ(QImageReader(png).text(QStringLiteral("Title")), project->Title);
    }
}

// Whatever the checkpoint raises stops the drawing, at any of its calls, and
// leaves the file as it was; every picture gives it many chances.
TEST(Pictures, AnInterruptionLeavesTheFileAsItWas) {
    using TSave =
        std::function<void(const TProject&, const QString&, const std::function<void()>&)>;
    const struct {
        const char* picture;
        TSave save;
        // Its rows or names: it calls the checkpoint more often.
        int rows;
    } pictures[] = {
        {"SWOT",
         [](const TProject& project, const QString& path, const std::function<void()>& checkpoint) {
             SavePicture(TPictureKind::Swot, project, path, checkpoint);
         },
         120},
        {"TOWS",
         [](const TProject& project, const QString& path, const std::function<void()>& checkpoint) {
             SavePicture(TPictureKind::Tows, project, path, checkpoint);
         },
         60},
        {"strategy",
         [](const TProject& project, const QString& path, const std::function<void()>& checkpoint) {
             SaveStrategyPicture(project, path, checkpoint);
         },
         30},
    };
    QTemporaryDir folder;
    // Positions 0 to 29 are strengths, 60 to 89 opportunities.
    auto project = Generated(30);
    for (int g = 0; g < 30; ++g) {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = QStringLiteral("Conclusion %1").arg(g);
        guideline->AddCouple(g, 60 + g);
        project->Guidelines.push_back(std::move(guideline));
    }
    for (const auto& picture : pictures)
        for (const QString name : {"picture.svg", "picture.png"}) {
            const std::string what = picture.picture + (" " + name.toStdString());
            const QString path = folder.filePath(name);
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old");
            old.close();
            int calls = 0;
            picture.save(*project, folder.filePath("counted." + QFileInfo(name).suffix()),
                         [&] { ++calls; });
            EXPECT_GT(calls, picture.rows) << what;
            for (const int stop : {1, calls / 2, calls}) {
                int call = 0;
                EXPECT_THROW(picture.save(*project, path,
                                          [&] {
                                              if (++call == stop)
                                                  throw EStorageError(QStringLiteral("stopped"));
                                          }),
                             EStorageError)
                    << what << " " << stop;
                EXPECT_EQ(FileBytes(path), "old") << what << " " << stop;
            }
        }
}
