#include "QtPrinters.h"
#include "storage/UntFileIdentity.h"
#include "storage/UntLockFile.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(LockOwner, EntryIsTheOfficeSuitesLine) {
    const QByteArray entry = TLockOwner::Own().Entry();
    // Full name, login, host, local time to the minute, user folder; one
    // line, ended by a semicolon and nothing else.
    const QRegularExpression line(
        QStringLiteral(
            "^[^,;]*,[^,;]+,%1,\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d,file:///[^,;]*/merovan;$")
            .arg(QRegularExpression::escape(QSysInfo::machineHostName())));
    EXPECT_TRUE(line.match(QString::fromUtf8(entry)).hasMatch()) << entry.toStdString();
    EXPECT_TRUE(TLockOwner::Own().Since().isValid());

    // Commas, semicolons and backslashes of a field are escaped, and read back.
    const TLockOwner odd{QStringLiteral("Martin, Anne; \\ Zoé"), QStringLiteral("anne"),
                         QStringLiteral("desk"), QStringLiteral("11.12.2026 14:02"),
                         QStringLiteral("file:///home/anne/.config/libreoffice/4")};
    EXPECT_EQ(odd.Entry(),
              QByteArray("Martin\\, Anne\\; \\\\ Zo\xc3\xa9,anne,desk,11.12.2026 14:02,"
                         "file:///home/anne/.config/libreoffice/4;"));
    const auto back = TLockOwner::Parse(odd.Entry());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->Name, odd.Name);
    EXPECT_EQ(back->Url, odd.Url);
    EXPECT_EQ(back->Since(), QDateTime(QDate(2026, 12, 11), QTime(14, 2)));
}

TEST(LockOwner, OnlyFiveFieldsAndASemicolonMakeAnEntry) {
    EXPECT_TRUE(TLockOwner::Parse(",anne,desk,11.12.2026 14:02,file:///u;"));
    for (const char* entry :
         {"", "anne,desk,11.12.2026 14:02,file:///u;", ",anne,desk,11.12.2026 14:02,file:///u",
          "a,b,c,d,e,f;", "a\\x,b,c,d,e;"})
        EXPECT_FALSE(TLockOwner::Parse(entry)) << entry;
    // Without a full name, the login says who.
    EXPECT_EQ(TLockOwner::Parse(",anne,desk,,;")->Who(), "anne");
}

TEST(LockFile, LiesBesideTheDocumentWhileHeldAndStopsASecondTaker) {
    const QTemporaryDir folder;
    const QString document = folder.filePath(QStringLiteral("Plan d’action.swot"));
    const QString lockPath = folder.filePath(QStringLiteral(".~lock.Plan d’action.swot#"));
    EXPECT_EQ(TLockFile::PathFor(document), lockPath);
    EXPECT_FALSE(TLockFile::Holder(document));
    {
        const auto lock = TLockFile::Take(document);
        ASSERT_NE(lock, nullptr);
        const auto written = TLockOwner::Parse(ReadBytes(lockPath));
        ASSERT_TRUE(written);
        EXPECT_EQ(written->Login, TLockOwner::Own().Login);

        const auto holder = TLockFile::Holder(document);
        ASSERT_TRUE(holder) << "a live lock is an obstacle, even on this host";
        EXPECT_EQ(holder->Time, written->Time);
        const QByteArray before = ReadBytes(lockPath);
        EXPECT_EQ(TLockFile::Take(document), nullptr);
        EXPECT_EQ(ReadBytes(lockPath), before) << "a second taker leaves the lock alone";
    }
    EXPECT_FALSE(QFile::exists(lockPath)) << "the lock goes with its holder";
}

TEST(LockFile, OnlyALiveOrUnknowableLockIsAnObstacle) {
    const QString host = QSysInfo::machineHostName();
    const struct {
        const char* What;
        QByteArray Entry;
        bool Obstacle;
    } cases[] = {
        // Nobody holds its flock: the program that wrote it is gone.
        {"this program's, left on this host", TLockOwner::Own().Entry(), false},
        {"this program's, of another user on this host",
         ",bob," + host.toUtf8() + ",01.02.2026 09:30,file:///home/bob/.local/state/merovan;",
         false},
        // Another host's program cannot be seen from here.
        {"this program's, on another host",
         ",bob,elsewhere-42,01.02.2026 09:30,file:///home/bob/.local/state/merovan;", true},
        // An office suite holds no flock: whether it runs is not known.
        {"an office suite's on this host",
         "Bob Lenoir,bob," + host.toUtf8() +
             ",01.02.2026 09:30,file:///home/bob/.config/libreoffice/4;",
         true},
        {"not a lock entry", "half a line, cut", false},
    };
    for (const auto& test : cases) {
        const QTemporaryDir folder;
        const QString document = folder.filePath(QStringLiteral("plan.swot"));
        WriteBytes(TLockFile::PathFor(document), test.Entry);
        EXPECT_EQ(TLockFile::Holder(document).has_value(), test.Obstacle) << test.What;
        const auto lock = TLockFile::Take(document);
        EXPECT_EQ(lock == nullptr, test.Obstacle) << test.What;
        if (lock)
            EXPECT_EQ(ReadBytes(TLockFile::PathFor(document)), TLockOwner::Own().Entry())
                << test.What << ": replaced by this program's entry";
        else
            EXPECT_EQ(ReadBytes(TLockFile::PathFor(document)), test.Entry) << test.What;
    }
}

TEST(FileIdentity, TellsEveryWayAnotherProgramCanTouchTheFile) {
    const struct {
        const char* What;
        std::function<void(const QString& path, const QString& folder)> Act;
        TDiskChange Expected;
    } cases[] = {
        {"nothing done", [](const QString&, const QString&) {}, TDiskChange::None},
        {"written in place, longer",
         [](const QString& path, const QString&) { WriteBytes(path, "version two"); },
         TDiskChange::Changed},
        {"written in place, same size, later",
         [](const QString& path, const QString&) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::ReadWrite));
             file.write("VERSION");
             ASSERT_TRUE(
                 file.setFileTime(file.fileTime(QFileDevice::FileModificationTime).addSecs(5),
                                  QFileDevice::FileModificationTime));
         },
         TDiskChange::Changed},
        {"renamed over, as sync clients and safe writes do",
         [](const QString& path, const QString& folder) {
             const QString fresh = folder + QStringLiteral("/.sync-tmp");
             WriteBytes(fresh, "version");
             ASSERT_EQ(std::rename(QFile::encodeName(fresh), QFile::encodeName(path)), 0);
         },
         TDiskChange::Replaced},
        {"deleted", [](const QString& path, const QString&) { QFile::remove(path); },
         TDiskChange::Gone},
        {"moved away",
         [](const QString& path, const QString& folder) {
             QFile::rename(path, folder + QStringLiteral("/elsewhere.swot"));
         },
         TDiskChange::Gone},
        {"deleted and made again",
         [](const QString& path, const QString& folder) {
             // Kept open so that the new file cannot take the old inode.
             QFile old(folder + QStringLiteral("/held"));
             ASSERT_TRUE(QFile::rename(path, old.fileName()));
             ASSERT_TRUE(old.open(QIODevice::ReadOnly));
             WriteBytes(path, "version");
         },
         TDiskChange::Replaced},
    };
    for (const auto& test : cases) {
        const QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("plan.swot"));
        WriteBytes(path, "version");
        const auto known = TFileIdentity::Of(path);
        ASSERT_TRUE(known);
        test.Act(path, folder.path());
        EXPECT_EQ(DiskChange(known, path), test.Expected) << test.What;
    }
    // A file that was not there and still is not has not changed.
    EXPECT_EQ(DiskChange(std::nullopt, QStringLiteral("/nonexistent/plan.swot")),
              TDiskChange::None);
}
