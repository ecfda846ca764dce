#include "storage/UntInterchange.h"

#include "model/UntStrings.h"
#include "storage/UntCsv.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntJson.h"
#include "storage/UntUtils.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Twice what a project document may hold: JSON escapes more than XML does.
constexpr qint64 MaxDataFileSize = 2 * MaxContentSize;

TInterchangeFormat CheckedFormatOf(const QString& path) {
    const TInterchangeFormat format = InterchangeFormatOf(path);
    if (format == TInterchangeFormat::None)
        throw EStorageError(LoadStr(StrInterchangeExtension));
    return format;
}

QByteArray ReadDataFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EStorageError(FillTemplate(LoadStr(StrCannotOpen), file.errorString()));
    // Read one byte beyond the bound: a pipe tells its size no other way.
    QByteArray bytes = file.read(MaxDataFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        throw EStorageError(FillTemplate(LoadStr(StrCannotOpen), file.errorString()));
    if (bytes.size() > MaxDataFileSize)
        throw EStorageError(
            FillTemplate(LoadStr(StrFileTooLarge), QString::number(MaxDataFileSize >> 20)));
    return bytes;
}

} // namespace

TInterchangeFormat InterchangeFormatOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix();
    if (suffix.compare(QLatin1String("json"), Qt::CaseInsensitive) == 0)
        return TInterchangeFormat::Json;
    if (suffix.compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0)
        return TInterchangeFormat::Csv;
    return TInterchangeFormat::None;
}

std::unique_ptr<TProject> ImportProject(const QString& path, QStringList* remarks) {
    const TInterchangeFormat format = CheckedFormatOf(path);
    const QByteArray bytes = ReadDataFile(path);
    return format == TInterchangeFormat::Json ? ReadProjectJson(bytes, remarks)
                                              : ReadProjectCsv(bytes);
}

void ExportProject(const TProject& project, const QString& path) {
    const TInterchangeFormat format = CheckedFormatOf(path);
    WriteFileAtomically(path, format == TInterchangeFormat::Json ? ProjectJson(project)
                                                                 : FactorsCsv(project));
}
