#include "storage/UntFileIdentity.h"

#include <QFile>
#include <sys/stat.h>

std::optional<TFileIdentity> TFileIdentity::Of(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return TFileIdentity{status.st_dev, status.st_ino, static_cast<qint64>(status.st_size),
                         static_cast<qint64>(status.st_mtim.tv_sec) * 1'000'000'000 +
                             status.st_mtim.tv_nsec};
}

TDiskChange DiskChange(const std::optional<TFileIdentity>& known, const QString& path) {
    const std::optional<TFileIdentity> now = TFileIdentity::Of(path);
    if (!now)
        return known ? TDiskChange::Gone : TDiskChange::None;
    if (!known || now->Device != known->Device || now->Inode != known->Inode)
        return TDiskChange::Replaced;
    return *now == *known ? TDiskChange::None : TDiskChange::Changed;
}
