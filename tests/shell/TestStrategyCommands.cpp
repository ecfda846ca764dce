// The strategy picture from the command line.
#include "ProgramRun.h"
#include "ProjectBuilder.h"
#include "storage/UntIO.h"

#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Each request writes its picture, a failure stopping none of the others
// and naming its file; a request without its files is a mistake of the
// call, told with the usage, and writes nothing.
TEST(StrategyCommandLine, WritesEachPictureAndNamesEachFailure) {
    QTemporaryDir folder;
    const QString project = folder.filePath("plan.swot");
    auto plan = MixedProject({{"Seize the market", {{4, 1}}}});
    plan->Title = "Plan";
    WriteProject(*plan, project);
    const QString missing = folder.filePath("missing.swot");

    const TRun run = RunProgram({"--strategy-picture", project, folder.filePath("a.svg"),
                                 "--strategy-picture", missing, folder.filePath("b.svg"),
                                 "--strategy-picture", project, folder.filePath("c.jpg"),
                                 "--strategy-picture", project, folder.filePath("d.png")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Error, "merovan: " + missing + ": The file cannot be opened: No such file\n" +
                             "merovan: " + folder.filePath("c.jpg") +
                             ": The format of the picture follows the extension of its file: "
                             "svg, png.\n");
    const QByteArray svg = ReadAll(folder.filePath("a.svg"));
    EXPECT_TRUE(svg.contains(">Strategy matrix<")) << "the strategy picture, no other";
    EXPECT_TRUE(svg.contains(">Seize the market<"));
    EXPECT_FALSE(QFile::exists(folder.filePath("b.svg")));
    EXPECT_FALSE(QFile::exists(folder.filePath("c.jpg")));
    EXPECT_EQ(QImageReader(folder.filePath("d.png")).format(), "png");

    EXPECT_EQ(RunProgram({"--strategy-picture", project, folder.filePath("e.svg")}).Status, 0);
    for (const QStringList& arguments :
         {QStringList{"--strategy-picture", project},
          QStringList{"--strategy-picture", project, "--tows-picture", project,
                      folder.filePath("f.svg")}}) {
        const TRun mistake = RunProgram(arguments);
        EXPECT_EQ(mistake.Status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(mistake.Error.startsWith(
            "merovan: --strategy-picture takes a project file and a picture file.\nUsage: merovan"))
            << mistake.Error.toStdString();
        EXPECT_TRUE(mistake.Error.contains("--strategy-picture PROJECT OUTPUT")) << "the usage";
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("f.svg")));
}
