#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QWidget;

// Drives the Cut, Copy and Paste commands: they act on the text field that has
// the focus and are enabled only when that field allows the operation.
class TEditCommands : public QObject {
    Q_OBJECT

public:
    TEditCommands(QAction* cut, QAction* copy, QAction* paste, QObject* parent);

private:
    void FocusChanged(QWidget* old, QWidget* now);
    void UpdateState();
    void Invoke(const char* method);

    QAction* FCut;
    QAction* FCopy;
    QAction* FPaste;
    QPointer<QWidget> FField;
    QMetaObject::Connection FSelectionConnection;
};
