#pragma once

#include <QFrame>

class QTextCharFormat;
class QTextEdit;
class QToolButton;

// The style buttons of the comments editor: bold ("G"), italic ("I") and
// underline ("S"), each on or off by itself. They act on the selected text,
// or with nothing selected on what is typed next.
class TFraFormat : public QFrame {
    Q_OBJECT

public:
    TFraFormat(QTextEdit& editor, QWidget* parent);

    // Presses the buttons of the styles the format has, changing no text.
    void ShowFormat(const QTextCharFormat& format);

private:
    void StyleClick(QToolButton* button);

    QTextEdit& FEditor;
    QToolButton* SetBold;
    QToolButton* SetItalic;
    QToolButton* SetUnderline;
};
