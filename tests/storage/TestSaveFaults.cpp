// Saving under faults: the previous project file always stays whole.
#include "ProjectBuilder.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <algorithm>
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

TEST_F(SaveFaults, AFileTooLargeLeavesThePreviousFile) {
    QString message;
    EXPECT_EQ(SaveOnce({"--file-size-limit", "4096"}, &message), 1);
    EXPECT_TRUE(message.startsWith("The file cannot be written: ")) << message.toStdString();
    EXPECT_EQ(TitleOf(target), "Previous");
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"}) << "nothing left beside it";
}

// A full disk, wherever the write stops, is named as such with the folder
// whose disk it is; the previous file stays whole and nothing is left.
TEST_F(SaveFaults, AFullDiskSaysSoAndWhere) {
    struct Case {
        const char* request;
        const char* file;
        const char* room;
    };
    const Case cases[] = {
        {"once", "plan.swot", "0"},
        {"once", "plan.swot", "5000"},
        {"report", "report.sxw", "100"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " after " + c.room + " bytes");
        QString message;
        EXPECT_EQ(
            SaveOnce({"--disk-full-after", c.room}, &message, c.request, folder.filePath(c.file)),
            1);
        EXPECT_EQ(message,
                  "The file cannot be written: the disk holding " + folder.path() + " is full");
        EXPECT_EQ(TitleOf(target), "Previous");
        EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"});
    }
}

// In a folder that takes no new file, a file the user may write is saved in
// place, and the caller hears of it; a report there is refused as before,
// and a write-protected project is still never replaced.
TEST_F(SaveFaults, AWritableFileInAReadOnlyFolderIsSavedInPlace) {
    if (getuid() != 0 && geteuid() != 0)
        GTEST_SKIP() << "needs to act as another user";
    struct Case {
        const char* request;
        const char* file;
        mode_t bits;
        int status;
        const char* output;
        QString message;
        const char* title; // of the project file afterwards
    };
    const Case cases[] = {
        {"once", "plan.swot", 0666, 0, "in place", "", "Third"},
        {"report", "report.sxw", 0666, 1, "",
         "The file cannot be written: the folder " + folder.path() +
             " takes no new file: Permission denied",
         "Third"},
        {"once", "plan.swot", 0644, 1, "", "is write-protected; it was not replaced.", "Third"},
    };
    QFile report(folder.filePath("report.sxw"));
    ASSERT_TRUE(report.open(QIODevice::WriteOnly));
    report.close();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.request) + " " + std::to_string(c.bits));
        ::chmod(QFile::encodeName(folder.filePath(c.file)).constData(), c.bits);
        ::chmod(QFile::encodeName(folder.path()).constData(), 0555);
        QString message;
        QString output;
        const int status =
            SaveOnce({"--as-nobody"}, &message, c.request, folder.filePath(c.file), &output);
        ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(output, c.output);
        EXPECT_TRUE(!c.message.isEmpty() ? message.endsWith(c.message) : message.isEmpty())
            << message.toStdString();
        EXPECT_EQ(TitleOf(target), c.title);
        EXPECT_EQ(FilesIn(folder.path()), (QStringList{"plan.swot", "report.sxw"}));
    }
}

// A name of up to 255 bytes, the most a file system takes, saves: the hidden
// file of the write never needs a longer name than the target's, and is cut
// between characters. Leftovers of earlier cut writes go, those of another
// file stay.
TEST_F(SaveFaults, LongNamesSaveAndTheirLeftoversGo) {
    const QString accented = QString(120, QChar(0xE9));
    const QString names[] = {
        QString(241, QLatin1Char('a')) + ".swot",
        QString(250, QLatin1Char('b')) + ".swot",
        accented + ".swot",
        accented + "x.swot",
        "Plan [draft] *.swot",
    };
    for (const QString& name : names) {
        const QString path = folder.filePath(name);
        const QByteArray bytes = QFile::encodeName(name);
        SCOPED_TRACE(std::to_string(bytes.size()) + " bytes");
        ASSERT_LE(bytes.size(), 255);
        const QString piece = QFileInfo(PiecePattern(path)).fileName();
        EXPECT_LE(QFile::encodeName(piece).size(), std::max<qsizetype>(bytes.size(), 143));
        EXPECT_EQ(QFile::decodeName(QFile::encodeName(piece)), piece) << "cut inside a character";
        EXPECT_TRUE(piece.startsWith('.'));

        QString leftover = PiecePattern(path);
        leftover.replace(leftover.size() - 6, 6, "Ab12cd");
        for (const QString& planted : {leftover, folder.filePath(".plan.swot.saving-Ab12cd")}) {
            QFile file(planted);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << planted.toStdString();
        }
        auto project = MakeProject({{"Kept", stStrength, 3}});
        project->Title = name;
        WriteProject(*project, path);
        EXPECT_EQ(TitleOf(path), name);
        QStringList expected = {".plan.swot.saving-Ab12cd", name, "plan.swot"};
        QStringList files = FilesIn(folder.path());
        expected.sort();
        files.sort();
        EXPECT_EQ(files, expected);
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QFile::remove(folder.filePath(".plan.swot.saving-Ab12cd")));
    }
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
