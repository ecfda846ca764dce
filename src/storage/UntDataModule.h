#pragma once

#include "model/UntStringIds.h"
#include "storage/UntErrors.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <sys/types.h>
#include <vector>

// A failure of the project file, of an archive or of a file written.
class EStorageError : public EMerovanError {
public:
    using EMerovanError::EMerovanError;
};

// The private folder of this run for working files, ending with "/"; made on
// the first call that can make it and removed at exit. Raises EStorageError
// naming the folder where it cannot be made.
QString WorkFolder();

// A file made new under a name of its own, as every program makes new files:
// read and write for all, less the umask, which the kernel applies. It goes
// with the object, whatever way the work ends, unless it replaced a file.
// Failures raise EStorageError with the message failureId fills with the
// system's reason.
class TNewFile {
public:
    // The "XXXXXX" of the pattern becomes what makes the name new.
    explicit TNewFile(const QString& pattern, int failureId = StrCannotWrite);
    ~TNewFile();
    TNewFile(const TNewFile&) = delete;
    TNewFile& operator=(const TNewFile&) = delete;

    // Open for reading and writing.
    QFile& File() { return FFile; }
    const QString& FileName() const { return FName; }
    // Closes the file and puts it in the place of the file at the path, with
    // that file's permission bits, or with its own when there is none.
    void Replace(const QString& path);

private:
    [[noreturn]] void Fail(const QString& reason) const;

    QString FName;
    QFile FFile;
    int FFailureId;
    mode_t FPermissions = 0;
    bool FReplaced = false;
};

// The file a write to the path replaces: the path itself, or the file its
// symbolic links lead to, so that the links stay links.
QString ReplacedFile(const QString& path);

// Raises EStorageError when the file at the path exists and its permission
// bits forbid writing it, whoever runs the program: such a file is never
// replaced, though its folder would allow it.
void CheckReplaceable(const QString& path);

// The pattern, "XXXXXX" ending it, of the hidden file beside the target that
// a write goes to before it takes the target's place. Named after the target,
// so that leftovers can be found, and never longer than the target's name
// once that is long: a name the file system took for the target it takes for
// this file too.
QString PiecePattern(const QString& target);

// Removes the files of the folder named the prefix, the six characters that
// made the name unique ("XXXXXX" in a pattern), then the suffix.
void RemoveUniquelyNamed(QDir folder, const QString& prefix, const QString& suffix = {});

// Removes the files that writes to the target left beside it when they were
// cut short.
void RemoveLeftovers(const QString& target);

// How a write reached the file.
enum class TWriteWay { Replaced, InPlace };

// Writes the bytes to the path so that the path holds either its previous
// content or the whole new one, whatever happens meanwhile: the bytes go to a
// hidden file beside the replaced file, reach the disk, and then take its
// place. A write-protected file is refused. Leftovers
// of writes that were cut short are removed after a successful one. Raises
// EStorageError with the system's reason, naming the folder of a full disk.
// With mayWriteInPlace, a file the user may write in a folder that takes no
// new file is overwritten where it is; a cut then damages it, so only a
// caller that keeps a copy of the bytes elsewhere asks for that.
TWriteWay WriteFileAtomically(const QString& path, const QByteArray& bytes,
                              bool mayWriteInPlace = false);

// An entry of an archive: its name, and its bytes, or the file that holds
// them when File is set.
struct TArchiveEntry {
    QString Name;
    QByteArray Bytes;
    QString File;
};

// A ZIP archive of the entries, in their order, each compressed with Deflate
// at normal strength or stored when that would not make it smaller. A file
// is read as the archive is made, and always deflated. Entries carry one
// fixed time, so that the same entries always make the same archive.
QByteArray ZipArchive(const std::vector<TArchiveEntry>& entries);

// The entry of the ZIP archive at the path, or of the archive held in memory,
// read to at most limit bytes; a larger entry is refused.
QByteArray ExtractEntry(const QString& archivePath, const char* entryName, qint64 limit);
QByteArray ExtractEntryFromMemory(const QByteArray& archive, const char* entryName, qint64 limit);
