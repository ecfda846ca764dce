#pragma once

#include <QString>
#include <QStringList>
#include <utility>

// A settings file in the INI format, read and written key by key with values
// kept exactly as written: no escaping, no quoting, no lists. Lines it does
// not touch (other sections and keys, comments, even garbage) stay as they
// are, and a file that cannot be read counts as empty.
class TIniFile {
public:
    explicit TIniFile(const QString& path);

    // The text after the first "=" of the key's line in the section; the
    // default when there is none. Sections and keys match without regard to case.
    QString ReadString(const QString& section, const QString& key,
                       const QString& defaultValue = {}) const;
    void WriteString(const QString& section, const QString& key, const QString& value);

    // Writes the file back, replacing it atomically; raises EStorageError.
    void Save() const;

private:
    // The line of the key in the section, or -1; with the line after the
    // section's last line, where a new key goes (-1 without the section).
    std::pair<qsizetype, qsizetype> Find(const QString& section, const QString& key) const;

    QString FPath;
    // Without their line feeds; a carriage return before one stays in its line.
    QStringList FLines;
};
