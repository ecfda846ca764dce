#include "UntStrings.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtDebug>

namespace {

QHash<int, QString> ReadTable() {
    QHash<int, QString> table;
    QFile file(QStringLiteral(":/strings/strings.json"));
    if (!file.open(QIODevice::ReadOnly)) {
        qCritical("The string table resource is missing");
        return table;
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
    return table;
}

const QHash<int, QString>& Table() {
    static const QHash<int, QString> table = ReadTable();
    return table;
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
