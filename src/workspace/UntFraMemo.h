#pragma once

#include "storage/UntRtf.h"
#include "workspace/UntModelFrame.h"

#include <QTextEdit>

class QLabel;
class TFraFormat;

// The rich-text box of the comments editor. What is pasted keeps only what a
// comment keeps: bold, italic, underline and paragraphs.
class TMemoEdit : public QTextEdit {
    Q_OBJECT

public:
    explicit TMemoEdit(QWidget* parent);

    // Replaces the content with the document.
    void SetDocument(const TRtfDocument& document);
    // The content as paragraphs of runs.
    TRtfDocument Document() const;

protected:
    // Tab types a tab; Ctrl+Tab and Ctrl+Shift+Tab leave the editor, and
    // Ctrl+Enter presses the window's default button.
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void Insert(const TRtfDocument& document);
};

// The comments editor: a title, the style buttons and the text.
class TFraMemo : public TModelFrame {
    Q_OBJECT

public:
    explicit TFraMemo(QWidget* parent);

    void SetTitle(const QString& title);

    // Shows a comments list.
    void Load(const QStringList& comments);
    // The editor's content as RTF lines.
    QStringList Lines() const;

private:
    void MmMemoSelectionChange();

    QLabel* Titre;
    TFraFormat* Barre;
    TMemoEdit* MmMemo;
};
