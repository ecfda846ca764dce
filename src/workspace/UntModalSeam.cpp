#include "workspace/UntModalSeam.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QUrl>

namespace {

std::optional<TFileAnswer> RunFileDialog(QWidget* parent, const TFileRequest& request,
                                         QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.Caption);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters(request.Filters);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    if (!request.Folder.isEmpty())
        dialog.setDirectory(request.Folder);
    if (request.FilterIndex >= 1 && request.FilterIndex <= request.Filters.size())
        dialog.selectNameFilter(request.Filters[request.FilterIndex - 1]);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return TFileAnswer{dialog.selectedFiles().front(),
                       static_cast<int>(request.Filters.indexOf(dialog.selectedNameFilter())) + 1};
}

} // namespace

TModalSeam::~TModalSeam() = default;

int TModalSeam::ExecDialog(QDialog& dialog) {
    // Modal to the main window only: the help window stays usable beside it.
    dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec();
}

QMessageBox::StandardButton TModalSeam::Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, QString::fromLatin1(ProductName), text, buttons, parent);
    // A message can be copied: a path, an address, a reason to look up.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

std::optional<TFileAnswer> TModalSeam::OpenFile(QWidget* parent, const TFileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
}

std::optional<TFileAnswer> TModalSeam::SaveFile(QWidget* parent, const TFileRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
}

std::optional<QString> TModalSeam::InputText(QWidget* parent, const QString& title,
                                             const QString& prompt, const QString& text) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    // Wide enough for a long heading.
    const QFontMetrics metrics(dialog.font());
    const int room = std::max(metrics.horizontalAdvance(text), 65 * metrics.averageCharWidth());
    dialog.resize(std::min(room + 60, 900), dialog.sizeHint().height());
    if (ExecDialog(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

void TModalSeam::OpenDocument(const QString& path) {
    // Without a program for the file the user learns where it went.
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        Message(QApplication::activeWindow(), QMessageBox::Information,
                FillTemplate(LoadStr(StrNoViewer), path), QMessageBox::Ok);
}

void TModalSeam::OpenWebPage(const QString& address) {
    // Without a browser the user still gets the address, to copy.
    if (!QDesktopServices::openUrl(QUrl(address)))
        Message(QApplication::activeWindow(), QMessageBox::Information,
                FillTemplate(LoadStr(StrNoBrowser), address), QMessageBox::Ok);
}

void TModalSeam::Error(QWidget* parent, const QString& text) {
    Message(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}
