#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// A settings file in the INI format, read and written key by key with values
// kept exactly as written: no escaping, no quoting, no lists. Every byte of
// what it does not change stays (other sections and keys, comments, even
// garbage, a byte-order mark, line ends, bytes that are not UTF-8), lines it
// adds end as the file's own do, and a file that cannot be read counts as
// empty.
class TIniFile {
public:
    explicit TIniFile(const QString& path);

    // The text after the first "=" of the key's line in the section; the
    // default when there is none. Sections and keys match without regard to
    // case. A line that is not UTF-8 is read as Windows-1252.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;
    // Writing the value a line already holds leaves the line as it is.
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Writes the file back, replacing it atomically; raises EStorageError.
    void Save() const;

private:
    // The line of the key in the section, or -1; with the line after the
    // section's last line, where a new key goes (-1 without the section).
    std::pair<qsizetype, qsizetype> Find(const QString& section, const QString& key) const;
    // Adds a line before the one at the position, or at the end.
    void Insert(qsizetype position, const QString& text);

    QString FPath;
    QByteArray FMark;
    // Without their line feeds; a carriage return before one stays in its line.
    QList<QByteArray> FLines;
    // Whether a line feed ends the last line.
    bool FEndsWithBreak = true;
    // Whether the file's lines end with carriage return and line feed.
    bool FCrLf = false;
};
