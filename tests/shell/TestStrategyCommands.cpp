// The strategy picture from the command line.
#include "ProgramRun.h"
#include "ProjectBuilder.h"
#include "storage/UntIO.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether the process has a handler of its own for the signal, rather than
// ending by it.
bool Catches(qint64 pid, int signal) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1;
    return false;
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

// SIGTERM while a picture is drawn stops it, the strategy picture as the
// others: the status tells the signal, the message the picture, and the file
// stays as it was.
TEST(StrategyCommandLine, AnInterruptionStopsThePictureAndKeepsItsFile) {
    QTemporaryDir folder;
    const QString project = folder.filePath("large.swot");
    WriteProject(*LargeProject(), project);
    const QString picture = folder.filePath("picture.png");
    for (const char* option : {"--strategy-picture", "--swot-picture", "--tows-picture"}) {
        QFile old(picture);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
        headless.remove("DISPLAY");
        QProcess merovan;
        merovan.setProcessEnvironment(headless);
        merovan.start(QStringLiteral(MEROVAN_PROGRAM), {option, project, picture});
        ASSERT_TRUE(merovan.waitForStarted());
        // From here the program reads the project and draws for seconds.
        ASSERT_TRUE(QTest::qWaitFor([&] { return Catches(merovan.processId(), SIGTERM); }, 30000))
            << option;
        ::kill(static_cast<pid_t>(merovan.processId()), SIGTERM);
        ASSERT_TRUE(merovan.waitForFinished(60000));
        EXPECT_EQ(merovan.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(merovan.exitCode(), 128 + SIGTERM) << option;
        EXPECT_EQ(QString::fromUtf8(merovan.readAllStandardError()),
                  "merovan: " + picture +
                      ": The picture was interrupted; its file was left as it was.\n")
            << option;
        EXPECT_EQ(ReadAll(picture), "old") << option;
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                  (QStringList{"large.swot", "picture.png"}))
            << option;
    }
}
