#pragma once

#include "model/UntClassProject.h"

#include <QDateTime>
#include <QString>
#include <future>
#include <memory>
#include <optional>
#include <vector>

// Recovery copies keep the unsaved work of a running program, so that a crash
// or a kill loses nothing. Each program has its own copy: a project file that
// also names the file of the project it belongs to, and a lock file that the
// program holds while it runs. A copy whose lock nobody holds was left by a
// program that is gone.

// $XDG_STATE_HOME/merovan/recovery, by default under ~/.local/state.
QString RecoveryFolder();

// This run's copy. The lock file is made and locked at the first write; the
// copy and its lock file go with the object. Copies are written by another
// thread, so that neither a large project nor a slow disk holds up the
// window.
class TRecoveryCopy {
public:
    explicit TRecoveryCopy(QString folder);
    ~TRecoveryCopy();
    TRecoveryCopy(const TRecoveryCopy&) = delete;
    TRecoveryCopy& operator=(const TRecoveryCopy&) = delete;

    // Starts replacing the copy, atomically, with the project and the file it
    // belongs to (none for a new document). Not while Writing().
    void Write(std::unique_ptr<const TProject> project, std::optional<QString> origin);
    bool Writing() const;
    // Waits for the last write started; true when one was waited for,
    // EStorageError when it failed, once.
    bool Finish();
    // Removes the copy, if any, once the write in progress is done.
    void Remove();
    // Gives up the copy, once the write in progress is done, so that the next
    // start offers it; the next write makes a new one.
    void Leave();
    bool Exists() const;
    QString Path() const;
    const QString& Folder() const { return FFolder; }

private:
    QString FFolder;
    QString FName;
    int FLock = -1;
    std::future<void> FWriting;
};

struct TOrphanCopies;

// A copy left by a program that is gone. While the object lives, this run
// holds the copy's lock, so that no other program offers it meanwhile.
class TOrphanCopy {
public:
    TOrphanCopy(TOrphanCopy&& other) noexcept;
    TOrphanCopy& operator=(TOrphanCopy&&) = delete;
    ~TOrphanCopy();

    const TProject& Project() const { return *FProject; }
    // When the copy was last written, and its size in bytes.
    const QDateTime& Made() const { return FMade; }
    qint64 Size() const { return FSize; }
    std::unique_ptr<TProject> TakeProject() { return std::move(FProject); }
    // The file of the project; none for a new document.
    const std::optional<QString>& Origin() const { return FOrigin; }
    // Removes the copy and its lock file.
    void Discard();

private:
    TOrphanCopy(QString copyPath, int lock);
    friend TOrphanCopies FindOrphanCopies(const QString& folder);
    // Moves the copy to the folder of unreadable ones and gives it up; the
    // path it is found at.
    QString SetAside();

    QString FCopyPath;
    int FLock;
    std::unique_ptr<TProject> FProject;
    std::optional<QString> FOrigin;
    QDateTime FMade;
    qint64 FSize = 0;
};

// A copy that could not be read, where it was kept, and why.
struct TUnreadableCopy {
    QString Path;
    QString Reason;
};

struct TOrphanCopies {
    // Oldest first.
    std::vector<TOrphanCopy> Readable;
    std::vector<TUnreadableCopy> Unreadable;
};

// The copies of the folder whose programs are gone and whose work no file
// holds yet. Copies that cannot be read are moved to the folder's
// "unreadable" folder, or stay where they are when it cannot be made; copies
// whose work is saved, and lock files left without a copy, are removed.
TOrphanCopies FindOrphanCopies(const QString& folder);
