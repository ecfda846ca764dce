#include "storage/UntIniFile.h"

#include "storage/UntDataModule.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

QStringView WithoutReturn(const QString& line) {
    return line.endsWith(QLatin1Char('\r')) ? QStringView(line).chopped(1) : QStringView(line);
}

// The section a "[name]" line opens, or nothing for any other line.
std::optional<QStringView> SectionOf(const QString& line) {
    const QStringView text = WithoutReturn(line).trimmed();
    if (text.size() < 2 || !text.startsWith(QLatin1Char('[')) || !text.endsWith(QLatin1Char(']')))
        return std::nullopt;
    return text.mid(1, text.size() - 2).trimmed();
}

} // namespace

TIniFile::TIniFile(const QString& path) : FPath(path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return;
    FLines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    // A final line feed ends the last line; it opens no empty one.
    if (!FLines.isEmpty() && FLines.back().isEmpty())
        FLines.removeLast();
}

std::pair<qsizetype, qsizetype> TIniFile::Find(const QString& section, const QString& key) const {
    qsizetype insertAt = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        if (const auto name = SectionOf(FLines[i])) {
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                insertAt = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        const QStringView line = WithoutReturn(FLines[i]);
        if (!line.trimmed().isEmpty())
            insertAt = i + 1;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return {i, insertAt};
    }
    return {-1, insertAt};
}

QString TIniFile::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    const qsizetype line = Find(section, key).first;
    if (line < 0)
        return defaultValue;
    const QStringView text = WithoutReturn(FLines[line]);
    return text.mid(text.indexOf(QLatin1Char('=')) + 1).toString();
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const auto [line, insertAt] = Find(section, key);
    if (line >= 0) {
        QString& text = FLines[line];
        const bool hadReturn = text.endsWith(QLatin1Char('\r'));
        text = text.left(text.indexOf(QLatin1Char('=')) + 1) + value +
               (hadReturn ? QStringLiteral("\r") : QString());
        return;
    }
    if (insertAt >= 0) {
        FLines.insert(insertAt, key + QLatin1Char('=') + value);
        return;
    }
    FLines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + value;
}

void TIniFile::Save() const {
    QString text;
    for (const QString& line : FLines)
        text += line + QLatin1Char('\n');
    WriteFileAtomically(FPath, text.toUtf8());
}
