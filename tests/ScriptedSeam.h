#pragma once

#include "QtPrinters.h"
#include "workspace/UntModalSeam.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

// Answers modal interactions from queues and records what was asked, so that
// no test blocks on a modal window. It is strict both ways: a question nobody
// scripted fails the test (then is cancelled), and so does, when the seam
// goes, an answer nobody asked for. A message box with only an OK button
// tells, asks nothing, and so takes no answer.
class TScriptedSeam : public TModalSeam {
public:
    TScriptedSeam() = default;
    TScriptedSeam(const TScriptedSeam&) = delete;
    TScriptedSeam& operator=(const TScriptedSeam&) = delete;

    ~TScriptedSeam() override {
        // After an assertion stopped the test, its answers were bound to stay.
        if (::testing::Test::HasFatalFailure())
            return;
        for (const auto& answer : DialogAnswers)
            ADD_FAILURE() << "unused answer: " << answer.What.toStdString();
        for (const QMessageBox::StandardButton answer : Answers)
            ADD_FAILURE() << "unused answer: message box button "
                          << ::testing::PrintToString(answer);
        for (const auto& answer : FileAnswers)
            ADD_FAILURE() << "unused answer: file dialog "
                          << (answer ? answer->Path.toStdString() : "cancelled");
        for (const auto& answer : InputAnswers)
            ADD_FAILURE() << "unused answer: input box "
                          << (answer ? '"' + answer->toStdString() + '"' : "cancelled");
    }

    int ExecDialog(QDialog& dialog) override {
        Dialogs << dialog.objectName();
        if (DialogAnswers.empty()) {
            ADD_FAILURE() << "unscripted dialog: " << dialog.objectName().toStdString() << " \""
                          << dialog.windowTitle().toStdString() << '"';
            return QDialog::Rejected;
        }
        const auto answer = std::move(DialogAnswers.front());
        DialogAnswers.pop_front();
        return answer.Act(dialog);
    }

    QMessageBox::StandardButton
    Message(QWidget*, QMessageBox::Icon, const QString& text, QMessageBox::StandardButtons buttons,
            QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
            const TButtonCaptions& captions = {}) override {
        Messages << text;
        MessageButtons << buttons;
        MessageDefaults << defaultButton;
        MessageCaptions << captions;
        if (WhenAsked)
            WhenAsked(text);
        if (buttons == QMessageBox::Ok)
            return QMessageBox::Ok;
        if (Answers.empty()) {
            ADD_FAILURE() << "unscripted question: " << text.toStdString();
            // As Escape would: Cancel where there is one, else No.
            return buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel : QMessageBox::No;
        }
        const QMessageBox::StandardButton answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    std::optional<TFileAnswer> OpenFile(QWidget*, const TFileRequest& request) override {
        return NextFile(request);
    }

    std::optional<TFileAnswer> SaveFile(QWidget*, const TFileRequest& request) override {
        return NextFile(request);
    }

    std::optional<QString> InputText(QWidget*, const QString&, const QString& prompt,
                                     const QString&) override {
        Inputs << prompt;
        if (InputAnswers.empty()) {
            ADD_FAILURE() << "unscripted input box: " << prompt.toStdString();
            return std::nullopt;
        }
        const auto answer = InputAnswers.front();
        InputAnswers.pop_front();
        return answer;
    }

    void OpenDocument(const QString& path) override { Opened << path; }
    void OpenWebPage(const QString& address) override { WebPages << address; }

    // A dialog answer that only returns a result.
    void AnswerDialog(int result) {
        DialogAnswers.push_back(
            {QStringLiteral("dialog result %1").arg(result), [result](QDialog&) {
                 return result;
             }});
    }
    void CancelDialog() { AnswerDialog(QDialog::Rejected); }
    // A dialog answer that shows the dialog, lets the script act in it, and
    // returns the result the script left; a dialog left open is cancelled.
    void ActInDialog(std::function<void(QDialog&)> script) {
        DialogAnswers.push_back(
            {QStringLiteral("dialog script"), [script = std::move(script)](QDialog& dialog) {
                 dialog.show();
                 script(dialog);
                 if (dialog.isVisible())
                     dialog.reject();
                 return dialog.result();
             }});
    }

    // The buttons chosen in the next message boxes that ask something.
    void Answer(const QList<QMessageBox::StandardButton>& buttons) {
        Answers.insert(Answers.end(), buttons.begin(), buttons.end());
    }

    // A file dialog answer: a path, or cancel for an empty one.
    void AnswerFile(const QString& path, int filterIndex = 1) {
        FileAnswers.push_back(path.isEmpty() ? std::nullopt
                                             : std::optional(TFileAnswer{path, filterIndex}));
    }
    void CancelFile() { FileAnswers.push_back(std::nullopt); }

    // An input box answer: the text, or cancel for none.
    void AnswerInput(std::optional<QString> text) { InputAnswers.push_back(std::move(text)); }
    void CancelInput() { AnswerInput(std::nullopt); }

    // Runs as each message box shows, before it is answered: what a test
    // looks at while the user would see the box.
    std::function<void(const QString& text)> WhenAsked;

    QStringList Dialogs;
    QStringList Messages;
    QList<QMessageBox::StandardButtons> MessageButtons;
    // The button Enter presses, as each question named it; NoButton for the box's own.
    QList<QMessageBox::StandardButton> MessageDefaults;
    QList<TButtonCaptions> MessageCaptions;
    QList<TFileRequest> FileRequests;
    QStringList Inputs;
    QStringList Opened;
    QStringList WebPages;

private:
    struct TDialogAnswer {
        QString What;
        std::function<int(QDialog&)> Act;
    };

    std::optional<TFileAnswer> NextFile(const TFileRequest& request) {
        FileRequests << request;
        if (FileAnswers.empty()) {
            ADD_FAILURE() << "unscripted file dialog: " << request.Caption.toStdString();
            return std::nullopt;
        }
        const auto answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }

    std::deque<TDialogAnswer> DialogAnswers;
    std::deque<QMessageBox::StandardButton> Answers;
    std::deque<std::optional<TFileAnswer>> FileAnswers;
    std::deque<std::optional<QString>> InputAnswers;
};
