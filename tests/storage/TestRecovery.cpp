#include "ProjectBuilder.h"
#include "storage/UntIO.h"
#include "storage/UntRecovery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(RecoveryCopies, OnlyCopiesOfProgramsThatAreGoneAreOfferedAndLeftoversAreCleared) {
    const QTemporaryDir state;
    const QString folder = state.filePath(QStringLiteral("merovan/recovery"));
    {
        TRecoveryCopy running(folder);
        EXPECT_FALSE(running.Exists());
        running.Write(MakeProject({{"Brand", stStrength, 3}}), QStringLiteral("/home/u/plan.swot"));
        running.Finish();
        ASSERT_TRUE(running.Exists());
        EXPECT_EQ(QFile::permissions(folder) & (QFile::ReadGroup | QFile::ReadOther), 0)
            << "unsaved work is for the user's eyes only";
        EXPECT_EQ(ReadProject(running.Path())->Items.at(0)->Name, "Brand");

        // Left by programs that are gone: a copy nobody can read, a lock file
        // without a copy, the piece of a copy cut short.
        WriteBytes(folder + QStringLiteral("/damaged.swot"), "not a project");
        WriteBytes(folder + QStringLiteral("/saved.lock"), "");
        WriteBytes(folder + QStringLiteral("/.cut.swot.saving-Ab12Cd"), "PK");

        EXPECT_TRUE(FindOrphanCopies(folder).Readable.empty())
            << "a running program's copy is its own";
        EXPECT_TRUE(running.Exists());
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2)
            << QDir(folder).entryList(QDir::Files | QDir::Hidden).join(' ').toStdString();

        running.Remove();
        EXPECT_FALSE(running.Exists());
        running.Write(std::make_unique<TProject>(), std::nullopt);
        running.Finish();
        EXPECT_TRUE(running.Exists());
    }
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(RecoveryCopies, AFailedWriteIsToldOnce) {
    const QTemporaryDir state;
    WriteBytes(state.filePath(QStringLiteral("merovan")), "a file where the folder should be");
    TRecoveryCopy refused(state.filePath(QStringLiteral("merovan/recovery")));
    refused.Write(std::make_unique<TProject>(), std::nullopt);
    EXPECT_THROW(refused.Finish(), EStorageError);
    EXPECT_NO_THROW(refused.Finish());
    EXPECT_FALSE(refused.Exists());
}
