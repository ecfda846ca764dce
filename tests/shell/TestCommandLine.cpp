#include "MainWindowTest.h"
#include "storage/UntProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStatusBar>
#include <unistd.h>

namespace {

struct TRun {
    int Status;
    QProcess::ExitStatus Ending;
    QString Output;
    QString Error;
};

// The program run with the environment given over the caller's, less the
// variables named with an empty value.
TRun RunProgram(const QStringList& arguments, const QList<QPair<QString, QString>>& variables) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : variables) {
        if (value.isEmpty())
            environment.remove(name);
        else
            environment.insert(name, value);
    }
    QProcess merovan;
    merovan.setProcessEnvironment(environment);
    merovan.start(QStringLiteral(MEROVAN_PROGRAM), arguments);
    EXPECT_TRUE(merovan.waitForFinished(60000));
    return {merovan.exitCode(), merovan.exitStatus(),
            QString::fromUtf8(merovan.readAllStandardOutput()),
            QString::fromUtf8(merovan.readAllStandardError())};
}

} // namespace

// Without a display the window is not shown and the program says why, and
// what works without one, instead of the toolkit's abort.
TEST(CommandLine, TheWindowWithoutADisplaySaysSoWithStatusOne) {
    struct Case {
        const char* what;
        QStringList arguments;
        QList<QPair<QString, QString>> variables;
    };
    const QList<QPair<QString, QString>> none = {
        {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", ""}};
    const Case cases[] = {
        {"no display named, -n", {"-n"}, none},
        {"no display named, no argument", {}, none},
        {"an X display that is not there",
         {"-n"},
         {{"DISPLAY", ":97"}, {"WAYLAND_DISPLAY", ""}, {"QT_QPA_PLATFORM", "xcb"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const TRun run = RunProgram(c.arguments, c.variables);
        EXPECT_EQ(run.Ending, QProcess::NormalExit);
        EXPECT_EQ(run.Status, 1);
        EXPECT_TRUE(run.Error.contains("merovan: the window needs a display"))
            << run.Error.toStdString();
        EXPECT_TRUE(run.Error.contains("Reports, pictures and data files need none"))
            << run.Error.toStdString();
        EXPECT_FALSE(run.Error.contains("Reinstalling")) << run.Error.toStdString();
    }
}

TEST(CommandLine, VersionTellsTheCopyrightAndLicence) {
    const TRun run = RunProgram({"--version"}, {});
    const QStringList lines = run.Output.trimmed().split('\n');
    ASSERT_GE(lines.size(), 3) << run.Output.toStdString();
    EXPECT_TRUE(lines[0].startsWith("Merovan ")) << run.Output.toStdString();
    EXPECT_TRUE(lines[1].startsWith("Copyright © 2026 Korvell")) << run.Output.toStdString();
    EXPECT_TRUE(run.Output.contains("licence")) << run.Output.toStdString();
    EXPECT_EQ(run.Status, 0);
}

// A French terminal gets the program's messages and the system's reasons
// in French, as the window does.
TEST(CommandLine, FrenchMessagesCarryFrenchReasons) {
    QTemporaryDir folder;
    const QString missing = folder.filePath("absent.swot");
    ASSERT_TRUE(QDir(folder.path()).mkdir("dossier.json"));
    const QList<QPair<QString, QString>> french = {
        {"LANG", "fr_FR.UTF-8"}, {"LC_ALL", ""}, {"LC_MESSAGES", ""}, {"LANGUAGE", ""}};
    struct Case {
        QStringList arguments;
        const char* reason;
    };
    const Case cases[] = {
        {{"--export", missing, folder.filePath("out.json")}, "Fichier introuvable"},
        {{"--import", folder.filePath("absent.csv"), folder.filePath("p.swot")},
         "Aucun fichier ou dossier"},
        {{"--text-report", ProgramFolder() + "templates/fr/reference.swot",
          folder.filePath("absent/r.sxw")},
         "Aucun fichier ou dossier"},
        {{"--export", ProgramFolder() + "templates/fr/reference.swot",
          folder.filePath("dossier.json")},
         "C’est un dossier"},
    };
    for (const Case& c : cases) {
        const TRun run = RunProgram(c.arguments, french);
        EXPECT_EQ(run.Status, 1);
        EXPECT_TRUE(run.Error.contains(QString::fromUtf8(c.reason))) << run.Error.toStdString();
        EXPECT_FALSE(run.Error.contains(QRegularExpression("No such|directory")))
            << run.Error.toStdString();
    }
}

class CommandLineWindow : public MainWindowTest {};

// A project named on the command line that cannot be opened leaves the
// window without a project, and the status bar says why.
TEST_F(CommandLineWindow, AProjectThatCannotBeOpenedIsToldInTheStatusBar) {
    ASSERT_TRUE(QDir(Files.path()).mkdir("folder.swot"));
    QFile locked(Path("locked.swot"));
    ASSERT_TRUE(locked.open(QIODevice::WriteOnly));
    locked.close();
    ASSERT_TRUE(locked.setPermissions(QFileDevice::WriteOwner));
    struct Case {
        QString path;
        QString message;
        bool needsReadingRefused;
    };
    const Case cases[] = {
        {Path("missing.swot"),
         "“" + Path("missing.swot") + "” was not opened: there is no such file.", false},
        {Path("folder.swot"),
         "“" + Path("folder.swot") + "” was not opened: it is a folder, not a project file.",
         false},
        {Path("locked.swot"),
         "“" + Path("locked.swot") + "” was not opened: you are not allowed to read it.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        // The superuser reads any file.
        if (c.needsReadingRefused && ::geteuid() == 0)
            continue;
        NewWindow();
        ASSERT_TRUE(Window->StartUp({c.path}));
        EXPECT_EQ(Window->Project(), nullptr);
        EXPECT_EQ(Window->statusBar()->currentMessage(), c.message);
    }
}
