#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

// The lock file that office suites keep beside a document they have open,
// ".~lock.NAME#", so that other programs, people and sync clients see the
// document is in use. It holds one entry: five fields separated by commas and
// ended by a semicolon, a backslash escaping a comma, a semicolon or itself:
// the user's full name, the login, the host, the time ("dd.MM.yyyy hh:mm",
// local) and the URL of the program's user folder.
struct TLockOwner {
    QString Name;
    QString Login;
    QString Host;
    QString Time;
    QString Url;

    // This user and program on this host, now.
    static TLockOwner Own();
    // The entry as written in the lock file.
    QByteArray Entry() const;
    // The entry of a lock file; none when it is not one.
    static std::optional<TLockOwner> Parse(const QByteArray& entry);
    // The full name, or the login when the full name is not known.
    QString Who() const;
    // When the lock was taken; invalid when the time is not in the format.
    QDateTime Since() const;
};

// This program's lock on a document, held while the object lives: its lock
// file, also locked with flock so that another program on this host can
// tell a live lock from one left by a program that is gone.
class TLockFile {
public:
    ~TLockFile();
    TLockFile(const TLockFile&) = delete;
    TLockFile& operator=(const TLockFile&) = delete;

    // The lock file of the document.
    static QString PathFor(const QString& document);
    // Who holds the document; none when nobody does. A lock file is no
    // obstacle when it was left on this host by this program, which is gone
    // (nobody holds its flock), or when it is not a lock file at all.
    static std::optional<TLockOwner> Holder(const QString& document);
    // Locks the document for this program, replacing a lock file that is
    // no obstacle; none when another program holds it or the lock file
    // cannot be made (a folder the user cannot write).
    static std::unique_ptr<TLockFile> Take(const QString& document);

    // The document locked.
    const QString& Document() const { return FDocument; }

private:
    TLockFile(QString document, int handle);

    QString FDocument;
    int FHandle;
};
