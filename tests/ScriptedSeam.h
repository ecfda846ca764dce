#pragma once

#include "QtPrinters.h"
#include "UntModalSeam.h"

#include <QDialog>
#include <QStringList>
#include <deque>
#include <functional>
#include <gtest/gtest.h>

// Answers modal interactions from queues and records what was asked, so that
// no test blocks on a modal window. A message box that nobody scripted fails
// the test, unless it only has an OK button.
class TScriptedSeam : public TModalSeam {
public:
    int ExecDialog(QDialog& dialog) override {
        Dialogs << dialog.objectName();
        if (DialogAnswers.empty())
            return QDialog::Rejected;
        const auto answer = std::move(DialogAnswers.front());
        DialogAnswers.pop_front();
        return answer(dialog);
    }

    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString& text,
                                        QMessageBox::StandardButtons buttons) override {
        Messages << text;
        if (!Answers.empty()) {
            const QMessageBox::StandardButton answer = Answers.front();
            Answers.pop_front();
            return answer;
        }
        if (buttons != QMessageBox::Ok)
            ADD_FAILURE() << "unanswered question: " << text.toStdString();
        return QMessageBox::Ok;
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
        if (InputAnswers.empty())
            return std::nullopt;
        const auto answer = InputAnswers.front();
        InputAnswers.pop_front();
        return answer;
    }

    void OpenDocument(const QString& path) override { Opened << path; }
    void OpenWebPage(const QString& address) override { WebPages << address; }

    // A dialog answer that only returns a result.
    void AnswerDialog(int result) {
        DialogAnswers.push_back([result](QDialog&) { return result; });
    }
    // A dialog answer that shows the dialog, lets the script act in it, and
    // returns the result the script left; a dialog left open is cancelled.
    void ActInDialog(std::function<void(QDialog&)> script) {
        DialogAnswers.push_back([script = std::move(script)](QDialog& dialog) {
            dialog.show();
            script(dialog);
            if (dialog.isVisible())
                dialog.reject();
            return dialog.result();
        });
    }
    // A file dialog answer: a path, or cancel for an empty one.
    void AnswerFile(const QString& path, int filterIndex = 1) {
        FileAnswers.push_back(path.isEmpty() ? std::nullopt
                                             : std::optional(TFileAnswer{path, filterIndex}));
    }

    std::deque<std::function<int(QDialog&)>> DialogAnswers;
    std::deque<QMessageBox::StandardButton> Answers;
    std::deque<std::optional<TFileAnswer>> FileAnswers;
    std::deque<std::optional<QString>> InputAnswers;

    QStringList Dialogs;
    QStringList Messages;
    QList<TFileRequest> FileRequests;
    QStringList Inputs;
    QStringList Opened;
    QStringList WebPages;

private:
    std::optional<TFileAnswer> NextFile(const TFileRequest& request) {
        FileRequests << request;
        if (FileAnswers.empty())
            return std::nullopt;
        const auto answer = FileAnswers.front();
        FileAnswers.pop_front();
        return answer;
    }
};
