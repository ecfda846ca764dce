// Saving under faults: the previous project file always stays whole.
#include "ProjectBuilder.h"
#include "UntIO.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <iostream>
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

    // Runs the helper once and returns its exit code; its message in *message.
    int SaveOnce(const QStringList& options, QString* message) {
        QProcess helper;
        helper.start(Helper, QStringList{"once", target} + options);
        EXPECT_TRUE(helper.waitForFinished(60000));
        *message = QString::fromLocal8Bit(helper.readAllStandardError()).trimmed();
        return helper.exitCode();
    }

    QTemporaryDir folder;
    QString target;
};

} // namespace

TEST_F(SaveFaults, KilledWhileSavingLeavesAWholeFile) {
    int kills = 0;
    int intact = 0;
    for (int round = 0; round < 60; ++round) {
        QProcess helper;
        helper.start(Helper, {"loop", target});
        ASSERT_TRUE(helper.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(20, 220));
        helper.kill();
        helper.waitForFinished();
        ++kills;
        const QString title = TitleOf(target);
        EXPECT_TRUE(title == "Previous" || title == "First" || title == "Second")
            << title.toStdString();
        intact += title.startsWith("unreadable") ? 0 : 1;
    }
    std::cout << "[ kills ] " << kills << " kills while saving, " << intact << " intact files\n";
    EXPECT_EQ(intact, kills);

    // The next save clears what the killed ones left.
    WriteProject(*MakeProject({}), target);
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"});
}

TEST_F(SaveFaults, AFullDiskLeavesThePreviousFile) {
    QString message;
    EXPECT_EQ(SaveOnce({"--file-size-limit", "4096"}, &message), 1);
    EXPECT_TRUE(message.startsWith("The file cannot be written: ")) << message.toStdString();
    EXPECT_EQ(TitleOf(target), "Previous");
    EXPECT_EQ(FilesIn(folder.path()), QStringList{"plan.swot"}) << "nothing left beside it";
}

TEST_F(SaveFaults, AReadOnlyFolderLeavesThePreviousFile) {
    ::chmod(QFile::encodeName(target).constData(), 0644);
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
