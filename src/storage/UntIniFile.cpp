#include "storage/UntIniFile.h"

#include "storage/UntDataModule.h"
#include "storage/UntRtf.h"

#include <QFile>
#include <QFileInfo>
#include <optional>

namespace {

const QByteArray ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");

QByteArrayView WithoutReturn(const QByteArray& line) {
    return line.endsWith('\r') ? QByteArrayView(line).chopped(1) : QByteArrayView(line);
}

// The text of a line: UTF-8, or else what Windows programs write.
QString Text(const QByteArray& line) {
    return DecodedOrCp1252(WithoutReturn(line));
}

// The section a "[name]" line opens, or nothing for any other line.
std::optional<QString> SectionOf(const QString& line) {
    const QStringView text = QStringView(line).trimmed();
    if (text.size() < 2 || !text.startsWith(QLatin1Char('[')) || !text.endsWith(QLatin1Char(']')))
        return std::nullopt;
    return text.mid(1, text.size() - 2).trimmed().toString();
}

} // namespace

TIniFile::TIniFile(const QString& path) : FPath(path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return;
    QByteArray bytes = file.readAll();
    if (bytes.startsWith(ByteOrderMark)) {
        FMark = ByteOrderMark;
        bytes.remove(0, ByteOrderMark.size());
    }
    if (bytes.isEmpty())
        return;
    FEndsWithBreak = bytes.endsWith('\n');
    FLines = bytes.split('\n');
    // A final line feed ends the last line; it opens no empty one.
    if (FEndsWithBreak)
        FLines.removeLast();
    FCrLf = !FLines.isEmpty() && FLines.front().endsWith('\r');
}

std::pair<qsizetype, qsizetype> TIniFile::Find(const QString& section, const QString& key) const {
    qsizetype insertAt = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < FLines.size(); ++i) {
        const QString line = Text(FLines[i]);
        if (const auto name = SectionOf(line)) {
            inSection = name->compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                insertAt = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!line.trimmed().isEmpty())
            insertAt = i + 1;
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 &&
            QStringView(line).left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return {i, insertAt};
    }
    return {-1, insertAt};
}

QString TIniFile::ReadString(const QString& section, const QString& key,
                             const QString& defaultValue) const {
    const qsizetype line = Find(section, key).first;
    if (line < 0)
        return defaultValue;
    const QString text = Text(FLines[line]);
    return text.mid(text.indexOf(QLatin1Char('=')) + 1);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const auto [line, insertAt] = Find(section, key);
    if (line >= 0) {
        if (ReadString(section, key) == value)
            return;
        QByteArray& bytes = FLines[line];
        const bool hadReturn = bytes.endsWith('\r');
        bytes = bytes.left(bytes.indexOf('=') + 1) + value.toUtf8() +
                (hadReturn ? QByteArrayLiteral("\r") : QByteArray());
        return;
    }
    if (insertAt >= 0) {
        Insert(insertAt, key + QLatin1Char('=') + value);
        return;
    }
    Insert(FLines.size(), QLatin1Char('[') + section + QLatin1Char(']'));
    Insert(FLines.size(), key + QLatin1Char('=') + value);
}

void TIniFile::Insert(qsizetype position, const QString& text) {
    // A last line without its line end gets one when a line follows it.
    if (position == FLines.size() && !FEndsWithBreak) {
        if (FCrLf && !FLines.back().endsWith('\r'))
            FLines.back() += '\r';
        FEndsWithBreak = true;
    }
    FLines.insert(position, text.toUtf8() + (FCrLf ? QByteArrayLiteral("\r") : QByteArray()));
}

void TIniFile::Save() const {
    QByteArray bytes = FMark + FLines.join('\n');
    if (FEndsWithBreak && !FLines.isEmpty())
        bytes += '\n';
    WriteFileAtomically(FPath, bytes);
}
