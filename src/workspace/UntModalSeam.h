#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <utility>

class QDialog;
class QUrl;
class QWidget;

// What a file dialog is asked: its title, its filters ("Text (*.txt)"), the
// extension added to a bare name, the 1-based filter to preselect, and the
// folder it starts in.
struct TFileRequest {
    QString Caption;
    QStringList Filters;
    QString DefaultSuffix;
    int FilterIndex = 1;
    QString Folder;
};

// The chosen file and the 1-based filter left selected.
struct TFileAnswer {
    QString Path;
    int FilterIndex = 1;
};

// Captions of the program's own for standard buttons of a message box, in
// place of the toolkit's.
using TButtonCaptions = QList<std::pair<QMessageBox::StandardButton, QString>>;

// The message box that the seam's Message shows.
std::unique_ptr<QMessageBox> MakeMessageBox(QWidget* parent, QMessageBox::Icon icon,
                                            const QString& text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton,
                                            const TButtonCaptions& captions);

// Every modal interaction of the program passes here, so that tests can
// answer from a script instead of blocking on a window.
class TModalSeam {
public:
    virtual ~TModalSeam();

    // Shows the dialog modally and returns its result.
    virtual int ExecDialog(QDialog& dialog);

    // A message box titled with the product name; returns the button chosen.
    // Enter presses defaultButton, or the box's own choice when none is given:
    // a question whose first answer loses work names a safe one.
    virtual QMessageBox::StandardButton
    Message(QWidget* parent, QMessageBox::Icon icon, const QString& text,
            QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
            const TButtonCaptions& captions = {});

    // The file to open or to save; none when the user cancels. The save
    // dialog asks nothing about replacing a file: its callers do.
    virtual std::optional<TFileAnswer> OpenFile(QWidget* parent, const TFileRequest& request);
    virtual std::optional<TFileAnswer> SaveFile(QWidget* parent, const TFileRequest& request);

    // A line of text; none when the user cancels.
    virtual std::optional<QString> InputText(QWidget* parent, const QString& title,
                                             const QString& prompt, const QString& text);

    // Opens a file with the program the desktop associates with it; when
    // none takes it, says where the file is.
    virtual void OpenDocument(const QString& path);
    // Opens a web address in the desktop's browser; when none takes it,
    // shows the address, to copy.
    virtual void OpenWebPage(const QString& address);

    // An error with one OK button.
    void Error(QWidget* parent, const QString& text);

private:
    // Hands the address to the desktop; tells the message when nothing took
    // it, which may be after the call returned.
    void OpenWithDesktop(const QUrl& address, const QString& failure);

    // Ends the waits for the desktop's answer when the seam goes.
    QObject FOpenings;
};
