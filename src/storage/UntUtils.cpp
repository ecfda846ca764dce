#include "UntUtils.h"

#include "UntStrings.h"

QString FillTemplate(const QString& pattern, const QString& first, const QString& second) {
    QString text = pattern;
    text.replace(QStringLiteral("#1"), first);
    if (!second.isEmpty())
        text.replace(QStringLiteral("#2"), second);
    return text;
}

QString ProductStr(int id) {
    return FillTemplate(LoadStr(id), QString::fromLatin1(ProductName));
}
