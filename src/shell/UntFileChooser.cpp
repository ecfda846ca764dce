#include "shell/UntFileChooser.h"

#include "model/UntStrings.h"
#include "shell/UntDocumentController.h"
#include "shell/UntSettings.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntUtils.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QDir>
#include <QFileInfo>

namespace {

TFileRequest ProjectFileRequest(const QString& caption, const QString& folder) {
    return {caption,
            {ProductStr(StrProjectFiles) + QStringLiteral(" (*.swot)")},
            QStringLiteral("swot"),
            1,
            folder};
}

} // namespace

TFileChooser::TFileChooser(QWidget& parent, TMainHost& host, TSettings& settings,
                           const TDocumentController& documents)
    : FParent(parent), FHost(host), FSettings(settings), FDocuments(documents) {}

QString TFileChooser::StartFolder() const {
    if (const auto path = FDocuments.DocumentPath())
        return QFileInfo(*path).absolutePath();
    return FSettings.LastFolder.isEmpty() ? QDir::homePath() : FSettings.LastFolder;
}

void TFileChooser::RememberFolder(const QString& path) {
    FSettings.LastFolder = QFileInfo(path).absolutePath();
}

std::optional<QString> TFileChooser::ProjectToOpen(int captionId) {
    const auto chosen =
        FHost.Seam().OpenFile(&FParent, ProjectFileRequest(ProductStr(captionId), StartFolder()));
    if (!chosen)
        return std::nullopt;
    RememberFolder(chosen->Path);
    return chosen->Path;
}

std::optional<QString> TFileChooser::ProjectToSave() {
    const auto chosen =
        FHost.Seam().SaveFile(&FParent, ProjectFileRequest(QString(), StartFolder()));
    if (!chosen)
        return std::nullopt;
    RememberFolder(chosen->Path);
    return chosen->Path;
}

std::optional<QString> TFileChooser::FileToOpen(const QStringList& filters) {
    const auto chosen =
        FHost.Seam().OpenFile(&FParent, {QString(), filters, QString(), 1, StartFolder()});
    if (!chosen)
        return std::nullopt;
    RememberFolder(chosen->Path);
    return chosen->Path;
}

std::optional<QString> TFileChooser::FileToWrite(const QStringList& filters,
                                                 const QStringList& extensions, int& filter,
                                                 int question) {
    const auto chosen = ReportToWrite(filters, filter);
    if (!chosen)
        return std::nullopt;
    filter = std::clamp(chosen->second, 1, static_cast<int>(extensions.size()));
    QString path = chosen->first;
    if (!extensions.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive))
        path += QLatin1Char('.') + extensions[filter - 1];
    if (!MayWrite(path, question))
        return std::nullopt;
    return path;
}

std::optional<std::pair<QString, int>> TFileChooser::ReportToWrite(const QStringList& filters,
                                                                   int filter) {
    const auto chosen =
        FHost.Seam().SaveFile(&FParent, {QString(), filters, QString(), filter, StartFolder()});
    if (!chosen)
        return std::nullopt;
    RememberFolder(chosen->Path);
    return std::pair(chosen->Path, chosen->FilterIndex);
}

bool TFileChooser::MayWrite(const QString& path, int question) {
    return Replaceable(path, {}) &&
           (!QFileInfo::exists(path) ||
            FHost.Seam().Message(&FParent, QMessageBox::Question, LoadStr(question),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes);
}

bool TFileChooser::Replaceable(const QString& path, const QString& context) {
    try {
        CheckReplaceable(ReplacedFile(path));
    } catch (const EStorageError& error) {
        // Asking whether to replace a file that will not be replaced helps nobody.
        FHost.Seam().Error(&FParent, context + error.Message());
        return false;
    }
    return true;
}
