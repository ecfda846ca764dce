#include "workspace/UntModalSeam.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"
#include "workspace/UntKeyboard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QProcess>
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
    // The toolkit's dialog gives a letter to the file name only: the type of
    // file and the buttons get theirs.
    if (auto* types = dialog.findChild<QLabel*>(QStringLiteral("fileTypeLabel")))
        types->setBuddy(dialog.findChild<QWidget*>(QStringLiteral("fileTypeCombo")));
    AssignAccessKeys(&dialog);
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

std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton,
                                            const TButtonCaptions& captions) {
    auto box = std::make_unique<QMessageBox>(icon, QString::fromLatin1(ProductName), text, buttons,
                                             parent);
    if (defaultButton != QMessageBox::NoButton)
        box->setDefaultButton(defaultButton);
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* shown = box->button(button))
            shown->setText(caption);
    // A message can be copied: a path, an address, a reason to look up.
    box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    return box;
}

QMessageBox::StandardButton TModalSeam::Message(QWidget* parent, QMessageBox::Icon icon,
                                                const QString& text,
                                                QMessageBox::StandardButtons buttons,
                                                QMessageBox::StandardButton defaultButton,
                                                const TButtonCaptions& captions) {
    const auto box = MakeMessageBox(parent, icon, text, buttons, defaultButton, captions);
    return static_cast<QMessageBox::StandardButton>(box->exec());
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

void TModalSeam::OpenWithDesktop(const QUrl& address, const QString& failure) {
    const auto fail = [this, failure] {
        Message(QApplication::activeWindow(), QMessageBox::Information, failure, QMessageBox::Ok);
    };
    // The toolkit's own call starts xdg-open and reports success whatever
    // xdg-open then finds; its exit status tells whether a program took the
    // address.
    auto* opener = new QProcess(qApp);
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
    QObject::connect(opener, &QProcess::finished, &FOpenings,
                     [fail](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             fail();
                     });
    QObject::connect(opener, &QProcess::errorOccurred, &FOpenings,
                     [opener, address, fail](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         opener->deleteLater();
                         // Without xdg-open the toolkit looks for a browser itself.
                         if (!QDesktopServices::openUrl(address))
                             fail();
                     });
    opener->start(QStringLiteral("xdg-open"),
                  {address.isLocalFile() ? address.toLocalFile() : address.toString()});
}

void TModalSeam::OpenDocument(const QString& path) {
    OpenWithDesktop(QUrl::fromLocalFile(path), FillTemplate(LoadStr(StrNoViewer), path));
}

void TModalSeam::OpenWebPage(const QString& address) {
    OpenWithDesktop(QUrl(address), FillTemplate(LoadStr(StrNoBrowser), address));
}

void TModalSeam::Error(QWidget* parent, const QString& text) {
    Message(parent, QMessageBox::Critical, text, QMessageBox::Ok);
}
