#include "storage/UntRecovery.h"

#include "model/UntStrings.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

const QString CopySuffix = QStringLiteral(".swot");
const QString LockSuffix = QStringLiteral(".lock");
// The entry of a copy that names the project's file; empty for a new document.
const char* const OriginName = "origin";

QByteArray Native(const QString& path) {
    return QFile::encodeName(path);
}

// Opens the lock file, made if need be, and locks it; -1 when another program
// holds it. Locks are never inherited by the programs this one starts. A lock
// taken on a file that another program removed meanwhile would guard nothing:
// it is given up, and taken again on a new file when waiting.
int TakeLock(const QString& path, bool wait) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        const int lock = ::open(Native(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0)
            return -1;
        if (::flock(lock, LOCK_EX | (wait ? 0 : LOCK_NB)) != 0) {
            ::close(lock);
            return -1;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(lock, &held) == 0 && ::stat(Native(path).constData(), &named) == 0 &&
            held.st_ino == named.st_ino && held.st_dev == named.st_dev)
            return lock;
        ::close(lock);
        if (!wait)
            return -1;
    }
    return -1;
}

EStorageError SystemError() {
    return EStorageError(
        FillTemplate(LoadStr(StrCannotWrite), QString::fromLocal8Bit(std::strerror(errno))));
}

// What the permission bits allow, whoever runs the program: the superuser may
// do anything, but the bits still say what the owner meant.
bool Allowed(const QString& path, int access, mode_t bits) {
    struct stat status {};
    if (::stat(Native(path).constData(), &status) != 0)
        return false;
    return ::geteuid() == 0 ? (status.st_mode & bits) != 0
                            : ::access(Native(path).constData(), access) == 0;
}

// A missing folder is made for the user's eyes only; an existing one keeps
// the modes its owner gave it, also when it is a symbolic link.
void PrepareFolder(const QString& folder) {
    if (QFileInfo::exists(folder)) {
        if (!Allowed(folder, W_OK | X_OK, 0222))
            throw EStorageError(LoadStr(StrRecoveryFolderReadOnly));
        return;
    }
    if (!QDir().mkpath(folder) || ::chmod(Native(folder).constData(), S_IRWXU) != 0)
        throw SystemError();
}

// Whether the file holds the same work as the project; false when it cannot
// be read.
bool Holds(const QString& path, const TProject& project) {
    try {
        return ProjectContent(*ReadProject(path)) == ProjectContent(project);
    } catch (const EStorageError&) {
        return false;
    }
}

} // namespace

QString RecoveryFolder() {
    // Relative values are to be ignored, as for every XDG variable.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/merovan/recovery");
}

TRecoveryCopy::TRecoveryCopy(QString folder) : FFolder(std::move(folder)) {}

TRecoveryCopy::~TRecoveryCopy() {
    Remove();
    if (FLock >= 0) {
        QFile::remove(FFolder + QLatin1Char('/') + FName + LockSuffix);
        ::close(FLock);
    }
}

QString TRecoveryCopy::Path() const {
    return FName.isEmpty() ? QString() : FFolder + QLatin1Char('/') + FName + CopySuffix;
}

bool TRecoveryCopy::Exists() const {
    return !FName.isEmpty() && QFileInfo::exists(Path());
}

void TRecoveryCopy::Write(std::unique_ptr<const TProject> project, std::optional<QString> origin) {
    Q_ASSERT(!Writing());
    if (FName.isEmpty())
        FName = QUuid::createUuid().toString(QUuid::Id128);
    FWriting = std::async(std::launch::async, [this, project = std::move(project),
                                               origin = std::move(origin)] {
        const QByteArray archive = ProjectArchive(
            *project, {{QString::fromLatin1(OriginName), origin.value_or(QString()).toUtf8(), {}}});
        if (FLock < 0) {
            PrepareFolder(FFolder);
            // A program looking for orphans may hold the new lock for a moment.
            FLock = TakeLock(FFolder + QLatin1Char('/') + FName + LockSuffix, true);
            if (FLock < 0)
                throw SystemError();
        }
        WriteFileAtomically(Path(), archive);
    });
}

bool TRecoveryCopy::Writing() const {
    return FWriting.valid() &&
           FWriting.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

bool TRecoveryCopy::Finish() {
    if (!FWriting.valid())
        return false;
    FWriting.get();
    return true;
}

void TRecoveryCopy::Remove() {
    if (FWriting.valid())
        FWriting.wait();
    if (!FName.isEmpty())
        QFile::remove(Path());
}

void TRecoveryCopy::Leave() {
    if (FWriting.valid())
        FWriting.wait();
    if (FLock >= 0)
        ::close(std::exchange(FLock, -1));
    FName.clear();
}

TOrphanCopy::TOrphanCopy(QString copyPath, int lock)
    : FCopyPath(std::move(copyPath)), FLock(lock) {}

TOrphanCopy::TOrphanCopy(TOrphanCopy&& other) noexcept
    : FCopyPath(std::move(other.FCopyPath)), FLock(std::exchange(other.FLock, -1)),
      FProject(std::move(other.FProject)), FOrigin(std::move(other.FOrigin)),
      FMade(std::move(other.FMade)), FSize(other.FSize) {}

TOrphanCopy::~TOrphanCopy() {
    if (FLock >= 0)
        ::close(FLock);
}

void TOrphanCopy::Discard() {
    if (FLock < 0)
        return;
    QFile::remove(FCopyPath);
    QString lockPath = FCopyPath;
    lockPath.replace(lockPath.size() - CopySuffix.size(), CopySuffix.size(), LockSuffix);
    QFile::remove(lockPath);
    ::close(std::exchange(FLock, -1));
}

QString TOrphanCopy::SetAside() {
    const QFileInfo copy(FCopyPath);
    const QString aside = copy.absolutePath() + QStringLiteral("/unreadable");
    const QString target = aside + QLatin1Char('/') + copy.fileName();
    if ((QFileInfo::exists(aside) || ::mkdir(Native(aside).constData(), S_IRWXU) == 0) &&
        ::rename(Native(FCopyPath).constData(), Native(target).constData()) == 0) {
        FCopyPath = target;
        QFile::remove(copy.absolutePath() + QLatin1Char('/') + copy.completeBaseName() +
                      LockSuffix);
    }
    ::close(std::exchange(FLock, -1));
    return FCopyPath;
}

TOrphanCopies FindOrphanCopies(const QString& folder) {
    const QDir directory(folder);
    TOrphanCopies orphans;
    for (const QFileInfo& copy : directory.entryInfoList(
             {QStringLiteral("*") + CopySuffix}, QDir::Files, QDir::Time | QDir::Reversed)) {
        const QString lockPath = directory.filePath(copy.completeBaseName() + LockSuffix);
        const int lock = TakeLock(lockPath, false);
        if (lock < 0)
            continue;
        TOrphanCopy orphan(copy.filePath(), lock);
        if (!QFileInfo::exists(copy.filePath())) {
            // Its program saved and ended while we looked.
            orphan.Discard();
            continue;
        }
        try {
            if (!Allowed(copy.filePath(), R_OK, 0444))
                throw EStorageError(QString::fromLocal8Bit(std::strerror(EACCES)));
            orphan.FProject = ReadProject(copy.filePath());
            const QByteArray origin = ExtractEntry(copy.filePath(), OriginName, MaxContentSize);
            if (!origin.isEmpty())
                orphan.FOrigin = QString::fromUtf8(origin);
        } catch (const EStorageError& error) {
            // Perhaps a later version, or a repair, reads it.
            orphans.Unreadable.push_back({orphan.SetAside(), error.Message()});
            continue;
        }
        // A program that saved the work and then stopped before removing
        // the copy, or could not remove it.
        if (orphan.FOrigin && Holds(*orphan.FOrigin, *orphan.FProject)) {
            orphan.Discard();
            continue;
        }
        orphan.FMade = copy.lastModified();
        orphan.FSize = copy.size();
        orphans.Readable.push_back(std::move(orphan));
    }
    // What programs that are gone leave besides copies: the lock file of one
    // that had nothing unsaved, the piece of a copy cut short.
    const QString piece = CopySuffix + QStringLiteral(".saving-");
    for (const QFileInfo& file : directory.entryInfoList(
             {QStringLiteral("*") + LockSuffix, QStringLiteral(".*") + piece + QStringLiteral("*")},
             QDir::Files | QDir::Hidden)) {
        const QString name = file.fileName();
        const bool isPiece = name.startsWith(QLatin1Char('.'));
        const QString base =
            isPiece ? name.mid(1, name.indexOf(piece) - 1) : file.completeBaseName();
        const bool copied = QFileInfo::exists(directory.filePath(base + CopySuffix));
        if (!isPiece && copied)
            continue;
        const QString lockPath = directory.filePath(base + LockSuffix);
        if (const int lock = TakeLock(lockPath, false); lock >= 0) {
            QFile::remove(file.filePath());
            if (!copied)
                QFile::remove(lockPath);
            ::close(lock);
        }
    }
    return orphans;
}
