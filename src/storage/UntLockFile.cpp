#include "storage/UntLockFile.h"

#include "storage/UntRecovery.h"

#include <QFile>
#include <QFileInfo>
#include <QSysInfo>
#include <QUrl>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

const QString TimeFormat = QStringLiteral("dd.MM.yyyy hh:mm");
constexpr int FieldCount = 5;

// The folder this program keeps its own files in, whose URL ends the entry
// as an office suite's user folder does: a lock naming such a folder, of any
// user, is this program's.
QString OwnFolderUrl() {
    return QUrl::fromLocalFile(QFileInfo(RecoveryFolder()).path()).toString();
}

bool ThisProgram(const TLockOwner& owner) {
    return QUrl(owner.Url).path().endsWith(QLatin1String("/merovan"));
}

QByteArray Escaped(const QString& field) {
    QByteArray escaped;
    for (const char c : field.toUtf8()) {
        if (c == ',' || c == ';' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// Whether a program holds the lock file's flock: this program's live locks.
bool Held(const QString& path) {
    const int handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool held = ::flock(handle, LOCK_SH | LOCK_NB) != 0;
    ::close(handle);
    return held;
}

} // namespace

TLockOwner TLockOwner::Own() {
    TLockOwner owner;
    if (const passwd* user = ::getpwuid(::getuid())) {
        owner.Login = QString::fromLocal8Bit(user->pw_name);
        // The first field of the comment is the full name.
        owner.Name = QString::fromLocal8Bit(user->pw_gecos).section(QLatin1Char(','), 0, 0);
    }
    if (owner.Login.isEmpty())
        owner.Login = qEnvironmentVariable("USER");
    owner.Host = QSysInfo::machineHostName();
    owner.Time = QDateTime::currentDateTime().toString(TimeFormat);
    owner.Url = OwnFolderUrl();
    return owner;
}

QByteArray TLockOwner::Entry() const {
    return Escaped(Name) + ',' + Escaped(Login) + ',' + Escaped(Host) + ',' + Escaped(Time) + ',' +
           Escaped(Url) + ';';
}

std::optional<TLockOwner> TLockOwner::Parse(const QByteArray& entry) {
    QStringList fields;
    QByteArray field;
    bool escape = false;
    for (const char c : entry) {
        if (escape) {
            if (c != ',' && c != ';' && c != '\\')
                return std::nullopt;
            field += c;
            escape = false;
        } else if (c == '\\') {
            escape = true;
        } else if (c == ',' || c == ';') {
            fields << QString::fromUtf8(field);
            field.clear();
            if (c == ';')
                break;
        } else {
            field += c;
        }
    }
    if (fields.size() != FieldCount)
        return std::nullopt;
    return TLockOwner{fields[0], fields[1], fields[2], fields[3], fields[4]};
}

QString TLockOwner::Who() const {
    return Name.trimmed().isEmpty() ? Login : Name;
}

QDateTime TLockOwner::Since() const {
    return QDateTime::fromString(Time, TimeFormat);
}

TLockFile::TLockFile(QString document, int handle)
    : FDocument(std::move(document)), FHandle(handle) {}

TLockFile::~TLockFile() {
    QFile::remove(PathFor(FDocument));
    ::close(FHandle);
}

QString TLockFile::PathFor(const QString& document) {
    const QFileInfo info(document);
    return info.path() + QStringLiteral("/.~lock.") + info.fileName() + QLatin1Char('#');
}

std::optional<TLockOwner> TLockFile::Holder(const QString& document) {
    const QString path = PathFor(document);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const std::optional<TLockOwner> owner = TLockOwner::Parse(file.readAll());
    if (Held(path))
        return owner.value_or(TLockOwner());
    // Without its flock, only a lock of this program on this host is known to
    // be left behind; another program's, or another host's, may be live.
    if (!owner || (owner->Host == QSysInfo::machineHostName() && ThisProgram(*owner)))
        return std::nullopt;
    return owner;
}

std::unique_ptr<TLockFile> TLockFile::Take(const QString& document) {
    if (Holder(document))
        return nullptr;
    const QString path = PathFor(document);
    QFile::remove(path);
    // Made anew, never opened as it is: of two programs taking the same
    // document at once, one only makes it.
    const int handle =
        ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (handle < 0)
        return nullptr;
    auto lock = std::unique_ptr<TLockFile>(new TLockFile(document, handle));
    const QByteArray entry = TLockOwner::Own().Entry();
    if (::flock(handle, LOCK_EX | LOCK_NB) != 0 ||
        ::write(handle, entry.constData(), entry.size()) != entry.size())
        return nullptr;
    return lock;
}
