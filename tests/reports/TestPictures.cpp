// The SWOT diagram and the TOWS matrix, as SVG and PNG.
#include "ProjectBuilder.h"
#include "reports/UntPictures.h"
#include "storage/UntErrors.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {

// Every text of the SVG in document order, joined by blanks.
QString SvgTexts(const QString& path) {
    pugi::xml_document svg;
    const pugi::xml_parse_result parsed = svg.load_file(QFile::encodeName(path).constData());
    EXPECT_TRUE(parsed) << parsed.description();
    QStringList texts;
    for (const pugi::xpath_node& text : svg.select_nodes("//text"))
        texts << QString::fromUtf8(text.node().text().get()).simplified();
    return texts.join(QLatin1Char(' '));
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
