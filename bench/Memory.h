#pragma once

#include <QByteArray>
#include <QFile>
#include <cstring>

// The memory the process holds in use, from /proc/self/status: "VmRSS:" at
// this moment, "VmHWM:" at its peak (writing 5 to /proc/self/clear_refs makes
// the peak the present), in bytes.
inline qint64 ResidentBytes(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                       .trimmed()
                       .split(' ')[0]
                       .toLongLong() *
                   1024;
    return 0;
}
