#include "shell/UntEditCommands.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

TEditCommands::TEditCommands(QAction* cut, QAction* copy, QAction* paste, QObject* parent)
    : QObject(parent), FCut(cut), FCopy(copy), FPaste(paste) {
    connect(qApp, &QApplication::focusChanged, this, &TEditCommands::FocusChanged);
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &TEditCommands::UpdateState);
    connect(FCut, &QAction::triggered, this, [this] { Invoke("cut"); });
    connect(FCopy, &QAction::triggered, this, [this] { Invoke("copy"); });
    connect(FPaste, &QAction::triggered, this, [this] { Invoke("paste"); });
    FocusChanged(nullptr, QApplication::focusWidget());
}

void TEditCommands::FocusChanged(QWidget*, QWidget* now) {
    disconnect(FSelectionConnection);
    FField = nullptr;
    if (auto* line = qobject_cast<QLineEdit*>(now)) {
        FField = line;
        FSelectionConnection =
            connect(line, &QLineEdit::selectionChanged, this, &TEditCommands::UpdateState);
    } else if (auto* text = qobject_cast<QTextEdit*>(now)) {
        FField = text;
        FSelectionConnection =
            connect(text, &QTextEdit::copyAvailable, this, &TEditCommands::UpdateState);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(now)) {
        FField = plain;
        FSelectionConnection =
            connect(plain, &QPlainTextEdit::copyAvailable, this, &TEditCommands::UpdateState);
    }
    UpdateState();
}

void TEditCommands::UpdateState() {
    bool selected = false;
    bool writable = false;
    if (auto* line = qobject_cast<QLineEdit*>(FField)) {
        selected = line->hasSelectedText() && line->echoMode() == QLineEdit::Normal;
        writable = !line->isReadOnly();
    } else if (auto* text = qobject_cast<QTextEdit*>(FField)) {
        selected = text->textCursor().hasSelection();
        writable = !text->isReadOnly();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(FField)) {
        selected = plain->textCursor().hasSelection();
        writable = !plain->isReadOnly();
    }
    const QMimeData* clip = QGuiApplication::clipboard()->mimeData();
    FCut->setEnabled(selected && writable);
    FCopy->setEnabled(selected);
    FPaste->setEnabled(FField && writable && clip && clip->hasText());
}

void TEditCommands::Invoke(const char* method) {
    if (FField)
        QMetaObject::invokeMethod(FField, method);
    UpdateState();
}
