// Saving under faults: the previous project file always stays whole.
#include "ProjectBuilder.h"
#include "storage/UntIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Helper = QStringLiteral(MEROVAN_SAVE_HELPER);

// The title of the project file at the path, or why it does not read.
QString TitleOf(const QString& path) {
    try {
        return ReadProject(path)->Title;
    } catch (const EStorageError& error) {
        return "unreadable: " + error.Message();
    }
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

struct SaveFaults : ::testing::Test {
    void SetUp() override {
        ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
        target = folder.filePath("plan.swot");
        auto previous = MakeProject({{"Kept", stStrength, 3}});
        previous->Title = "Previous";
        WriteProject(*previous, target);
    }

    // Runs the helper once and returns its exit code; its message in *message,
    // what it prints in *output.
    int SaveOnce(const QStringList& options, QString* message, const QString& request = "once",
                 const QString& path = {}, QString* output = nullptr) {
        QProcess helper;
        helper.start(Helper, QStringList{request, path.isEmpty() ? target : path} + options);
        EXPECT_TRUE(helper.waitForFinished(60000));
        *message = QString::fromLocal8Bit(helper.readAllStandardError()).trimmed();
        if (output)
            *output = QString::fromLocal8Bit(helper.readAllStandardOutput()).trimmed();
        return helper.exitCode();
    }

    QTemporaryDir folder;
    QString target;
};

} // namespace

TEST_F(SaveFaults, KilledAtAnyPointOfASaveLeavesAWholeFile) {
    struct Case {
        QStringList options;
        const char* title;
    };
    const Case cases[] = {
        {{"--killed-at-byte", "0"}, "Previous"}, {{"--killed-at-byte", "4096"}, "Previous"},
        {{"--killed-at", "fsync"}, "Previous"},  {{"--killed-at", "rename"}, "Previous"},
        {{"--killed-at", "renamed"}, "Third"},
    };
    for (const Case& c : cases) {
        const std::string what = c.options.join(' ').toStdString();
        QProcess helper;
        helper.start(Helper, QStringList{"once", target} + c.options);
        ASSERT_TRUE(helper.waitForFinished(60000)) << what;
        EXPECT_EQ(helper.exitStatus(), QProcess::CrashExit) << what;
        EXPECT_EQ(TitleOf(target), c.title) << what;

        // The next save clears what the killed one left.
        auto previous = MakeProject({{"Kept", stStrength, 3}});
        previous->Title = "Previous";
        WriteProject(*previous, target);
        EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"}) << what;
    }
}

TEST_F(SaveFaults, AFullDiskLeavesThePreviousFile) {
    QString message;
    EXPECT_EQ(SaveOnce({"--file-size-limit", "4096"}, &message), 1);
    EXPECT_TRUE(message.startsWith("The file cannot be written: ")) << message.toStdString();
    EXPECT_EQ(TitleOf(target), "Previous");
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"}) << "nothing left beside it";
}

TEST_F(SaveFaults, AReadOnlyFolderLeavesThePreviousFile) {
    // The file itself is open to all: only the folder refuses.
    ::chmod(QFile::encodeName(target).constData(), 0666);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0555);
    QString message;
    const int status = SaveOnce({"--as-nobody"}, &message);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    if (getuid() != 0 || status != 3) {
        EXPECT_EQ(status, 1);
        EXPECT_TRUE(message.startsWith("The file cannot be written: ")) << message.toStdString();
    }
    EXPECT_EQ(TitleOf(target), "Previous");
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"});
}

TEST_F(SaveFaults, ASuccessfulSaveKeepsThePermissions) {
    ::chmod(QFile::encodeName(target).constData(), 0640);
    WriteProject(*MakeProject({}), target);
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

mode_t PermissionsOf(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// A new project file, report or recovery copy gets read and write for all
// less the umask, as the user's other files; a replaced one keeps its bits.
// No thread changes the umask meanwhile: the helper fails if one does, the
// recovery copy being written in its thread while the project is saved.
TEST_F(SaveFaults, NewFilesFollowTheUmaskAndReplacedOnesKeepTheirBits) {
    struct Case {
        const char* request;
        const char* file;
        const char* umask;
        mode_t existing; // 0: none
        mode_t expected;
    };
    const Case cases[] = {
        {"once", "new.swot", "027", 0, 0640},        {"once", "open.swot", "002", 0, 0664},
        {"once", "plan.swot", "077", 0604, 0604},    {"report", "report.sxw", "027", 0, 0640},
        {"report", "matrix.sxc", "077", 0664, 0664},
    };
    for (const Case& c : cases) {
        const QString path = folder.filePath(c.file);
        SCOPED_TRACE(path.toStdString());
        if (c.existing != 0) {
            QFile old(path);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Append));
            old.close();
            ::chmod(QFile::encodeName(path).constData(), c.existing);
        }
        QString message;
        QString output;
        const QStringList options = {"--umask", c.umask, "--recovery-copy-in",
                                     folder.filePath("recovery")};
        ASSERT_EQ(SaveOnce(options, &message, c.request, path, &output), 0)
            << message.toStdString();
        EXPECT_EQ(PermissionsOf(path), c.expected);
        if (QString(c.request) == "once") {
            EXPECT_EQ(output.toUInt(nullptr, 8), 0666 & ~QString(c.umask).toUInt(nullptr, 8))
                << "the recovery copy";
        }
    }
    EXPECT_TRUE(TitleOf(folder.filePath("new.swot")) == "Third");
    EXPECT_EQ(FilesIn(folder.path()),
              (QStringList{"matrix.sxc", "new.swot", "open.swot", "plan.swot", "report.sxw"}));
}

// A work folder that cannot be made fails a report with a message naming
// where it was to be; no file of the current folder is touched, the user's
// own "Temp.sxw" and "Temp.sxc" included.
TEST_F(SaveFaults, AWorkFolderThatCannotBeMadeFailsReportsAndTouchesNothing) {
    const QString notAFolder = folder.filePath("not-a-folder");
    const QString here = folder.filePath("here");
    ASSERT_TRUE(QDir().mkpath(here));
    const QStringList own = {"Temp.sxc", "Temp.sxw", "not-a-folder"};
    for (const QString& name : own) {
        QFile file(name == "not-a-folder" ? notAFolder : QDir(here).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("the user's own " + name.toUtf8());
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", notAFolder);
    for (const char* report : {"report.doc", "matrix.sxc"}) {
        SCOPED_TRACE(report);
        QProcess helper;
        helper.setProcessEnvironment(environment);
        helper.setWorkingDirectory(here);
        helper.start(Helper, {"report", folder.filePath(report)});
        ASSERT_TRUE(helper.waitForFinished(200000));
        EXPECT_EQ(helper.exitCode(), 1);
        const QString message = QString::fromLocal8Bit(helper.readAllStandardError());
        EXPECT_TRUE(message.startsWith("The folder for working files cannot be made in " +
                                       notAFolder + ": "))
            << message.toStdString();
        EXPECT_FALSE(QFileInfo::exists(folder.filePath(report)));
        EXPECT_EQ(FilesIn(here), (QStringList{"Temp.sxc", "Temp.sxw"}));
        for (const QString& name : {QStringLiteral("Temp.sxc"), QStringLiteral("Temp.sxw")}) {
            QFile file(QDir(here).filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            EXPECT_EQ(file.readAll(), "the user's own " + name.toUtf8());
        }
    }
}

// A save whose file cannot take the place of the target, a folder of that
// name, fails with the system's reason; nothing is left beside it.
TEST_F(SaveFaults, ASaveOntoAFolderFailsAndSaysWhy) {
    const QString target = folder.filePath("folder.swot");
    ASSERT_TRUE(QDir().mkdir(target));
    try {
        WriteProject(*MakeProject({}), target);
        ADD_FAILURE() << "saved onto a folder";
    } catch (const EStorageError& error) {
        EXPECT_EQ(error.Message(), "The file cannot be written: Is a directory");
    }
    EXPECT_TRUE(QFileInfo(target).isDir());
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"});
}

// A working copy for the office suite that cannot be written fails the
// report with the reason, before the suite is asked for anything.
TEST_F(SaveFaults, AReportWhoseWorkingCopyCannotBeWrittenSaysSo) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MEROVAN_CONVERT", folder.filePath("no-converter"));
    QProcess helper;
    helper.setProcessEnvironment(environment);
    helper.start(Helper, {"report", folder.filePath("report.pdf"), "--file-size-limit", "512"});
    ASSERT_TRUE(helper.waitForFinished(60000));
    EXPECT_EQ(helper.exitCode(), 1);
    const QString message = QString::fromLocal8Bit(helper.readAllStandardError());
    EXPECT_TRUE(message.startsWith("The report cannot be written: ")) << message.toStdString();
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"});
}

// Every hostile file is refused with a message, or read safely, within 256 MiB.
TEST(HostileFiles, AreRefusedOrReadSafely) {
    const QDir corpus(QStringLiteral(MEROVAN_FIXTURES_DIR "/hostile"));
    const QStringList files = corpus.entryList({"*.swot"}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
#if defined(__SANITIZE_ADDRESS__)
    const bool limitMemory = false; // the sanitizer reserves far more address space
#else
    const bool limitMemory = true;
#endif
    for (const QString& name : files) {
        const QString path = corpus.filePath(name);
        try {
            const auto project = ReadProject(path);
            for (const auto& guideline : project->Guidelines)
                for (const TTOWSCouple& couple : guideline->Couples)
                    EXPECT_TRUE(project->IsValidPosition(couple.Index1) &&
                                project->IsValidPosition(couple.Index2))
                        << name.toStdString();
        } catch (const EStorageError& error) {
            EXPECT_FALSE(error.Message().isEmpty()) << name.toStdString();
        }
        if (!limitMemory)
            continue;
        QProcess reader;
        reader.start(Helper, {"read", path, QString::number(256LL * 1024 * 1024)});
        ASSERT_TRUE(reader.waitForFinished(60000));
        EXPECT_EQ(reader.exitStatus(), QProcess::NormalExit) << name.toStdString();
        EXPECT_LE(reader.exitCode(), 1)
            << name.toStdString() << ": " << reader.readAllStandardError().toStdString();
    }
}

// A save through a symbolic link replaces the file it leads to, and the link
// stays; a write-protected file is never replaced, even where its folder
// would allow it, and whoever runs the program.
TEST_F(SaveFaults, SavesFollowLinksAndRespectWriteProtection) {
    const QString link = folder.filePath("link.swot");
    ASSERT_TRUE(QFile::link(target, link));
    auto project = MakeProject({});
    project->Title = "Through the link";
    WriteProject(*project, link);
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(TitleOf(target), "Through the link");
    EXPECT_EQ(FilesIn(folder.path()), (QStringList{"link.swot", "plan.swot"}));

    ::chmod(QFile::encodeName(target).constData(), 0444);
    project->Title = "Refused";
    for (const QString& path : {target, link}) {
        try {
            WriteProject(*project, path);
            ADD_FAILURE() << "replaced " << path.toStdString();
        } catch (const EStorageError& error) {
            EXPECT_EQ(error.Message(),
                      "The file " + target + " is write-protected; it was not replaced.");
        }
    }
    EXPECT_EQ(TitleOf(target), "Through the link");
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0444u);

    // As an ordinary user, in a folder open to all, too.
    ::chmod(QFile::encodeName(folder.path()).constData(), 0777);
    QString message;
    const int exitCode = SaveOnce({"--as-nobody"}, &message);
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    EXPECT_EQ(exitCode, 1);
    EXPECT_TRUE(message.endsWith("is write-protected; it was not replaced."))
        << message.toStdString();
    EXPECT_EQ(TitleOf(target), "Through the link");
}

// Save never writes what Open would refuse; the previous file stays.
TEST_F(SaveFaults, AProjectOpenCouldNotReadIsNotSaved) {
    struct Case {
        const char* what;
        std::function<void(TProject&)> grow;
        QString message;
    };
    const Case cases[] = {
        {"too many tags",
         [](TProject& project) {
             auto guideline = std::make_unique<TGuideline>();
             guideline->Couples.resize(MaxContentTags, {0, 1});
             project.Guidelines.push_back(std::move(guideline));
         },
         "The project is too large to be saved: its document would hold more than 2000000 tags"},
        {"too large",
         [](TProject& project) { project.Comments = {QString(MaxContentSize, QLatin1Char('x'))}; },
         "The project is too large to be saved: its document would exceed 64 MiB"},
    };
    for (const Case& c : cases) {
        TProject project;
        c.grow(project);
        try {
            WriteProject(project, target);
            ADD_FAILURE() << c.what << " was saved";
        } catch (const EStorageError& error) {
            EXPECT_TRUE(error.Message().startsWith(c.message)) << error.what();
        }
        EXPECT_EQ(TitleOf(target), "Previous") << c.what;
    }
}
