#include "model/UntStrings.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QtDebug>

namespace {

// Reads a table of the resources into the given one, replacing its texts.
void ReadTable(const QString& path, QHash<int, QString>& table) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical("The string table resource %s is missing", qPrintable(path));
        return;
    }
    QJsonParseError error;
    const QJsonObject root = QJsonDocument::fromJson(file.readAll(), &error).object();
    if (error.error != QJsonParseError::NoError)
        qCritical("The string table is not valid JSON: %s", qPrintable(error.errorString()));
    for (auto it = root.begin(); it != root.end(); ++it) {
        bool isNumber = false;
        const int id = it.key().toInt(&isNumber);
        if (!isNumber) {
            qCritical("The string table has a key that is no number: %s", qPrintable(it.key()));
            continue;
        }
        if (it.value().isArray()) {
            QStringList lines;
            for (const QJsonValue& line : it.value().toArray())
                lines << line.toString();
            table.insert(id, lines.join(QLatin1Char('\n')));
        } else {
            table.insert(id, it.value().toString());
        }
    }
}

// The English table, with the French texts over it for a French locale.
QHash<int, QString> MakeTable(bool french) {
    QHash<int, QString> table;
    ReadTable(QStringLiteral(":/strings/strings.json"), table);
    if (french)
        ReadTable(QStringLiteral(":/strings/strings.fr.json"), table);
    return table;
}

const QHash<int, QString>& Table() {
    static const QHash<int, QString> english = MakeTable(false);
    static const QHash<int, QString> french = MakeTable(true);
    return QLocale().language() == QLocale::French ? french : english;
}

} // namespace

QString LoadStr(int id) {
    const auto it = Table().constFind(id);
    if (it == Table().constEnd()) {
        qCritical("The string table has no text of id %d", id);
        return QStringLiteral("<%1>").arg(id);
    }
    return *it;
}

bool HasStr(int id) {
    return Table().contains(id);
}
