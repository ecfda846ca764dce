#include "shell/UntRecoveryQuestions.h"

#include "model/UntStrings.h"
#include "shell/UntShortenPath.h"
#include "storage/UntUtils.h"

#include <QFileInfo>
#include <QLocale>

QString RecoveryOffer(const TOrphanCopy& orphan) {
    const std::optional<QString>& origin = orphan.Origin();
    QString text = FillTemplate(LoadStr(StrRecoveryOffer), orphan.Project().Title,
                                origin.value_or(LoadStr(StrNewDocument)));
    text += QStringLiteral("\n\n") +
            FillTemplate(
                LoadStr(StrRecoveryCopyMade), MomentText(orphan.Made()),
                QLocale().formattedDataSize(orphan.Size(), 1, QLocale::DataSizeTraditionalFormat));
    if (origin) {
        const QFileInfo file(*origin);
        if (file.exists() && file.lastModified() > orphan.Made())
            text += QLatin1Char(' ') + FillTemplate(LoadStr(StrRecoveryFileNewer), file.fileName(),
                                                    MomentText(file.lastModified()));
    }
    return text + QStringLiteral("\n\n") + LoadStr(StrRecoveryChoice);
}

QString MomentText(const QDateTime& moment) {
    const QDateTime local = moment.toLocalTime();
    if (local.date() == QDate::currentDate())
        return QLocale().toString(local.time(), QLocale::ShortFormat);
    return QLocale().toString(local, QLocale::ShortFormat);
}

QString RecoveredName(const QString& title, const std::optional<QString>& path) {
    return path ? FileNamePart(*path) : title;
}

QString UnreadableCopiesText(const std::vector<TUnreadableCopy>& copies) {
    QString text = LoadStr(StrRecoveryUnreadable);
    for (const TUnreadableCopy& copy : copies)
        text += QStringLiteral("\n\n") +
                FillTemplate(LoadStr(StrRecoveryUnreadableCopy), copy.Path, copy.Reason);
    return text;
}
