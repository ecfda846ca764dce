#include "storage/UntDataModule.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

namespace {

// Deflate's normal strength.
constexpr zip_uint32_t NormalCompression = 6;
// The time every entry carries: 1 January 1980 at noon, early in what the
// ZIP format can hold in any time zone.
constexpr time_t EntryTime = 315'576'000;

// Whether Deflate at normal strength makes the data smaller. qCompress wraps
// the deflated stream in a length, a zlib header and a checksum.
bool DeflateShrinks(const QByteArray& data) {
    constexpr qsizetype Wrapping = 4 + 2 + 4;
    return !data.isEmpty() &&
           qCompress(data, static_cast<int>(NormalCompression)).size() - Wrapping < data.size();
}

struct TZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct TFileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};
struct TSourceFree {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};

QString ErrorText(zip_error_t* error) {
    return QString::fromLocal8Bit(zip_error_strerror(error));
}

EStorageError OpenError(zip_error_t* error) {
    const int code = zip_error_code_zip(error);
    if (code == ZIP_ER_NOZIP)
        return EStorageError(ProductStr(StrNotZip));
    if (code == ZIP_ER_NOENT || code == ZIP_ER_OPEN || code == ZIP_ER_READ || code == ZIP_ER_SEEK ||
        code == ZIP_ER_MEMORY)
        return EStorageError(FillTemplate(LoadStr(StrCannotOpen), ErrorText(error)));
    return EStorageError(FillTemplate(LoadStr(StrArchiveDamaged), ErrorText(error)));
}

QByteArray ReadEntry(zip_t* archive, const char* entryName, qint64 limit) {
    const zip_int64_t index = zip_name_locate(archive, entryName, 0);
    if (index < 0)
        throw EStorageError(ProductStr(StrNoContent));
    const std::unique_ptr<zip_file_t, TFileCloser> file(
        zip_fopen_index(archive, static_cast<zip_uint64_t>(index), 0));
    if (!file)
        throw EStorageError(
            FillTemplate(LoadStr(StrArchiveDamaged), ErrorText(zip_get_error(archive))));
    // The sizes an archive declares may lie: read and count.
    QByteArray data;
    char buffer[64 * 1024];
    for (;;) {
        const zip_int64_t read = zip_fread(file.get(), buffer, sizeof buffer);
        if (read < 0)
            throw EStorageError(FillTemplate(LoadStr(StrArchiveDamaged),
                                             ErrorText(zip_file_get_error(file.get()))));
        if (read == 0)
            return data;
        if (data.size() + read > limit)
            throw EStorageError(
                FillTemplate(LoadStr(StrContentTooLarge), QString::number(limit / (1024 * 1024))));
        data.append(buffer, static_cast<qsizetype>(read));
    }
}

QByteArray ExtractFromSource(zip_source_t* source, const char* entryName, qint64 limit) {
    zip_error_t error;
    zip_error_init(&error);
    const std::unique_ptr<zip_t, TZipCloser> archive(
        zip_open_from_source(source, ZIP_RDONLY, &error));
    if (!archive) {
        zip_source_free(source);
        const EStorageError failure = OpenError(&error);
        zip_error_fini(&error);
        throw failure;
    }
    zip_error_fini(&error);
    return ReadEntry(archive.get(), entryName, limit);
}

// The tag of the hidden files writes go to, between the target's name and
// what makes them unique.
const QLatin1StringView PieceTag(".saving-");
constexpr qsizetype UniqueLength = 6;
// eCryptfs, the narrowest file system Linux writes, takes names of 143
// bytes; every other takes 255.
constexpr qsizetype NameEveryFileSystemTakes = 143;

// The name of the hidden files of writes to the target, without what makes
// each unique.
QString PiecePrefix(const QString& target) {
    const QByteArray name = QFile::encodeName(QFileInfo(target).fileName());
    const qsizetype room =
        std::max(name.size(), NameEveryFileSystemTakes) - 1 - PieceTag.size() - UniqueLength;
    qsizetype kept = std::min(name.size(), room);
    // The cut falls between two characters, not inside one.
    while (kept > 0 && kept < name.size() &&
           (static_cast<unsigned char>(name[kept]) & 0xC0) == 0x80)
        --kept;
    return QStringLiteral(".") + QFile::decodeName(name.left(kept)) + PieceTag;
}

// The system's reason for a failure to write a file at the path; a full disk
// is named by the folder it holds.
QString SystemReason(int error, const QString& path) {
    if (error == ENOSPC)
        return FillTemplate(LoadStr(StrDiskFull), QFileInfo(path).absolutePath());
    return QString::fromLocal8Bit(std::strerror(error));
}

// Why a new file cannot be made at the path; a folder that refuses it is
// named, as the system's reason does not.
QString CreationReason(int error, const QString& path) {
    if (error == EACCES || error == EPERM || error == EROFS)
        return FillTemplate(LoadStr(StrFolderTakesNoFile), QFileInfo(path).absolutePath(),
                            QString::fromLocal8Bit(std::strerror(error)));
    return SystemReason(error, path);
}

// Writes all the bytes at the file's current position; the system's error,
// or 0.
int WriteAll(int handle, const QByteArray& bytes) {
    const char* at = bytes.constData();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t written = ::write(handle, at, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            return errno;
        at += written;
        left -= written;
    }
    return 0;
}

[[noreturn]] void FailWrite(int error, const QString& path) {
    throw EStorageError(FillTemplate(LoadStr(StrCannotWrite), SystemReason(error, path)));
}

// Whether the folder lets this process make a file in it, by its permissions.
bool FolderRefusesNewFiles(const QString& folder) {
    return ::faccessat(AT_FDCWD, QFile::encodeName(folder).constData(), W_OK | X_OK, AT_EACCESS) !=
               0 &&
           errno == EACCES;
}

void WriteInPlace(const QString& path, const QByteArray& bytes) {
    const int handle = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (handle < 0)
        FailWrite(errno, path);
    int error = WriteAll(handle, bytes);
    if (error == 0 && ::ftruncate(handle, static_cast<off_t>(bytes.size())) != 0)
        error = errno;
    if (error == 0 && ::fsync(handle) != 0)
        error = errno;
    if (::close(handle) != 0 && error == 0)
        error = errno;
    if (error != 0)
        FailWrite(error, path);
}

} // namespace

TNewFile::TNewFile(const QString& pattern, int failureId) : FFailureId(failureId) {
    static const QLatin1StringView letters(
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789");
    const qsizetype at = pattern.lastIndexOf(QStringLiteral("XXXXXX"));
    Q_ASSERT(at >= 0);
    int handle = -1;
    for (int attempt = 0; handle < 0 && attempt < 100; ++attempt) {
        QString name = pattern;
        for (qsizetype i = at; i < at + 6; ++i)
            name[i] = letters[QRandomGenerator::global()->bounded(letters.size())];
        FName = name;
        // The mode asked for is that of any new file: the kernel takes the
        // umask away, which no thread of ours need read or change.
        handle = ::open(QFile::encodeName(FName).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC,
                        0666);
        if (handle < 0 && errno != EEXIST)
            break;
    }
    if (handle < 0)
        Fail(CreationReason(errno, FName));
    struct stat made {};
    if (::fstat(handle, &made) != 0) {
        const int error = errno;
        ::close(handle);
        ::unlink(QFile::encodeName(FName).constData());
        Fail(SystemReason(error, FName));
    }
    FPermissions = made.st_mode & 07777;
    if (!FFile.open(handle, QIODevice::ReadWrite, QFileDevice::AutoCloseHandle)) {
        ::close(handle);
        ::unlink(QFile::encodeName(FName).constData());
        Fail(FFile.errorString());
    }
}

TNewFile::~TNewFile() {
    FFile.close();
    if (!FReplaced)
        ::unlink(QFile::encodeName(FName).constData());
}

void TNewFile::Fail(const QString& reason) const {
    throw EStorageError(FillTemplate(LoadStr(FFailureId), reason));
}

void TNewFile::Replace(const QString& path) {
    FFile.close();
    const QByteArray name = QFile::encodeName(FName);
    struct stat previous {};
    const mode_t wanted = ::stat(QFile::encodeName(path).constData(), &previous) == 0
                              ? previous.st_mode & 07777
                              : FPermissions;
    // Whoever wrote the file since may have put a file of their own in its
    // place. Bits already right are left alone: some file systems refuse
    // any change of them.
    struct stat now {};
    if (::stat(name.constData(), &now) != 0 ||
        ((now.st_mode & 07777) != wanted && ::chmod(name.constData(), wanted) != 0))
        Fail(SystemReason(errno, FName));
    if (::rename(name.constData(), QFile::encodeName(path).constData()) != 0)
        Fail(SystemReason(errno, FName));
    FReplaced = true;
}

QString ReplacedFile(const QString& path) {
    QString file = path;
    // A bounded walk: a loop of links ends at the write, which then fails.
    for (int hops = 0; hops < 40 && QFileInfo(file).isSymLink(); ++hops)
        file = QFileInfo(file).symLinkTarget();
    return file;
}

void CheckReplaceable(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return;
    // The superuser may write anything; the bits still say what the owner meant.
    const bool writable = ::geteuid() == 0
                              ? (status.st_mode & 0222) != 0
                              : ::access(QFile::encodeName(path).constData(), W_OK) == 0;
    if (!writable)
        throw EStorageError(FillTemplate(LoadStr(StrWriteProtected), path));
}

QString PiecePattern(const QString& target) {
    return QFileInfo(target).absoluteDir().filePath(PiecePrefix(target) +
                                                    QString(UniqueLength, QLatin1Char('X')));
}

void RemoveUniquelyNamed(QDir folder, const QString& prefix, const QString& suffix) {
    // Compared, not matched as a pattern: the names may hold "*" or "[".
    for (const QString& name : folder.entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (name.size() == prefix.size() + UniqueLength + suffix.size() &&
            name.startsWith(prefix) && name.endsWith(suffix))
            folder.remove(name);
}

void RemoveLeftovers(const QString& target) {
    RemoveUniquelyNamed(QFileInfo(target).absoluteDir(), PiecePrefix(target));
}

TWriteWay WriteFileAtomically(const QString& requested, const QByteArray& bytes,
                              bool mayWriteInPlace) {
    const QString path = ReplacedFile(requested);
    CheckReplaceable(path);
    if (mayWriteInPlace && QFileInfo(path).isFile() &&
        FolderRefusesNewFiles(QFileInfo(path).absolutePath())) {
        WriteInPlace(path, bytes);
        return TWriteWay::InPlace;
    }
    TNewFile piece(PiecePattern(path));
    const int handle = piece.File().handle();
    int error = WriteAll(handle, bytes);
    if (error == 0 && ::fsync(handle) != 0)
        error = errno;
    if (error != 0)
        FailWrite(error, path);
    piece.Replace(path);
    RemoveLeftovers(path);
    return TWriteWay::Replaced;
}

QString WorkFolder() {
    static std::mutex guard;
    static std::unique_ptr<QTemporaryDir> folder;
    const std::lock_guard lock(guard);
    if (!folder) {
        const QString parent = QDir::tempPath();
        auto made = std::make_unique<QTemporaryDir>(parent + QStringLiteral("/merovan-XXXXXX"));
        if (!made->isValid())
            throw EStorageError(
                FillTemplate(LoadStr(StrWorkFolderUnmade), parent, made->errorString()));
        folder = std::move(made);
    }
    return folder->path() + QLatin1Char('/');
}

QByteArray ZipArchive(const std::vector<TArchiveEntry>& entries) {
    zip_error_t error;
    zip_error_init(&error);
    const std::unique_ptr<zip_source_t, TSourceFree> buffer(
        zip_source_buffer_create(nullptr, 0, 0, &error));
    if (!buffer)
        throw EStorageError(FillTemplate(LoadStr(StrCannotWrite), ErrorText(&error)));
    zip_source_keep(buffer.get());
    std::unique_ptr<zip_t, TZipCloser> archive(
        zip_open_from_source(buffer.get(), ZIP_TRUNCATE, &error));
    if (!archive) {
        zip_source_free(buffer.get());
        throw EStorageError(FillTemplate(LoadStr(StrCannotWrite), ErrorText(&error)));
    }
    const auto fail = [&archive] {
        return EStorageError(
            FillTemplate(LoadStr(StrCannotWrite), ErrorText(zip_get_error(archive.get()))));
    };
    for (const TArchiveEntry& entry : entries) {
        const bool fromFile = !entry.File.isEmpty();
        zip_source_t* source =
            fromFile
                ? zip_source_file(archive.get(), QFile::encodeName(entry.File).constData(), 0, -1)
                : zip_source_buffer(archive.get(), entry.Bytes.constData(),
                                    static_cast<zip_uint64_t>(entry.Bytes.size()), 0);
        if (!source)
            throw fail();
        const zip_int64_t index =
            zip_file_add(archive.get(), entry.Name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw fail();
        }
        // The same entries always make the same bytes: no time of the day.
        if (zip_file_set_mtime(archive.get(), static_cast<zip_uint64_t>(index), EntryTime, 0) < 0)
            throw fail();
        if (zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index),
                                     fromFile || DeflateShrinks(entry.Bytes) ? ZIP_CM_DEFLATE
                                                                             : ZIP_CM_STORE,
                                     NormalCompression) < 0)
            throw fail();
    }
    if (zip_close(archive.get()) < 0)
        throw fail();
    archive.release();

    zip_stat_t stat;
    if (zip_source_stat(buffer.get(), &stat) < 0 || zip_source_open(buffer.get()) < 0)
        throw EStorageError(
            FillTemplate(LoadStr(StrCannotWrite), ErrorText(zip_source_error(buffer.get()))));
    QByteArray bytes(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t read = zip_source_read(buffer.get(), bytes.data(), stat.size);
    zip_source_close(buffer.get());
    if (read != static_cast<zip_int64_t>(stat.size))
        throw EStorageError(
            FillTemplate(LoadStr(StrCannotWrite), ErrorText(zip_source_error(buffer.get()))));
    return bytes;
}

QByteArray ExtractEntry(const QString& archivePath, const char* entryName, qint64 limit) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source =
        zip_source_file_create(QFile::encodeName(archivePath).constData(), 0, -1, &error);
    if (!source) {
        const QString text = ErrorText(&error);
        zip_error_fini(&error);
        throw EStorageError(FillTemplate(LoadStr(StrCannotOpen), text));
    }
    zip_error_fini(&error);
    return ExtractFromSource(source, entryName, limit);
}

QByteArray ExtractEntryFromMemory(const QByteArray& archive, const char* entryName, qint64 limit) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        archive.constData(), static_cast<zip_uint64_t>(archive.size()), 0, &error);
    zip_error_fini(&error);
    if (!source)
        throw EStorageError(FillTemplate(LoadStr(StrCannotOpen), QString()));
    return ExtractFromSource(source, entryName, limit);
}
