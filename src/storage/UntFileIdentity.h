#pragma once

#include <QString>
#include <optional>
#include <sys/types.h>

// What tells one state of a file from another: the file itself (device and
// inode, which a rename over it changes), its size and its modification
// time. Another program that writes the file, or replaces it, changes one
// of them.
struct TFileIdentity {
    dev_t Device = 0;
    ino_t Inode = 0;
    qint64 Size = 0;
    qint64 ModifiedNs = 0;

    // The file at the path as it is now; none when there is none.
    static std::optional<TFileIdentity> Of(const QString& path);

    bool operator==(const TFileIdentity&) const = default;
};

// How the file at a path differs from the state last known of it.
enum class TDiskChange {
    None,
    // Written in place: the same file with another size or time.
    Changed,
    // Another file took its name, as a rename over it or a new file does.
    Replaced,
    // Deleted or moved away.
    Gone,
};

// Where the file at the path stands against the state known; a file that was
// not there and still is not has not changed.
TDiskChange DiskChange(const std::optional<TFileIdentity>& known, const QString& path);
