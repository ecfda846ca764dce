#include "workspace/UntFraMemo.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"
#include "workspace/UntFraFormatBar.h"
#include "workspace/UntScreenLook.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QVBoxLayout>

namespace {

TRtfDocument DocumentOf(const QTextDocument& text) {
    TRtfDocument document;
    for (QTextBlock block = text.begin(); block.isValid(); block = block.next()) {
        TRtfParagraph& paragraph = document.emplace_back();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QTextCharFormat format = fragment.charFormat();
            // Pictures and other objects have no place in a comment.
            const TRtfRun run{fragment.text().remove(QChar::ObjectReplacementCharacter),
                              format.fontWeight() >= QFont::Bold, format.fontItalic(),
                              format.fontUnderline()};
            if (run.Text.isEmpty())
                continue;
            if (!paragraph.empty() && paragraph.back().SameFormat(run))
                paragraph.back().Text += run.Text;
            else
                paragraph.push_back(run);
        }
    }
    return document;
}

QTextCharFormat FormatOf(const TRtfRun& run) {
    QTextCharFormat format;
    format.setFontWeight(run.Bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(run.Italic);
    format.setFontUnderline(run.Underline);
    return format;
}

} // namespace

TMemoEdit::TMemoEdit(QWidget* parent) : QTextEdit(parent) {
    setObjectName(QStringLiteral("MmMemo"));
    setAcceptRichText(true);
    setTabChangesFocus(false);
    setLineWrapMode(QTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Pale yellow paper in a light palette; a dark palette keeps its own
    // colours, which already contrast.
    if (!IsDarkPalette(palette())) {
        QPalette colours = palette();
        colours.setColor(QPalette::Base, QColor(255, 255, 188));
        colours.setColor(QPalette::Text, palette().color(QPalette::WindowText));
        setPalette(colours);
    }
    QFont face = font();
    face.setFamily(QStringLiteral("Sans Serif"));
    face.setStyleHint(QFont::SansSerif);
    face.setPixelSize(16);
    setFont(face);
    document()->setDefaultFont(face);
    setToolTip(LoadStr(StrMemoKeys));
    setAccessibleDescription(LoadStr(StrMemoKeys));
}

void TMemoEdit::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool control = modifiers.testFlag(Qt::ControlModifier);
    const int key = event->key();
    if (control && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
        const bool back = key == Qt::Key_Backtab || modifiers.testFlag(Qt::ShiftModifier);
        // The editor's own override keeps the focus for the tab it types.
        QWidget::focusNextPrevChild(!back);
        return;
    }
    if (modifiers == Qt::ControlModifier && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        for (QPushButton* button : window()->findChildren<QPushButton*>())
            if (button->isDefault() && button->isVisible() && button->isEnabled()) {
                button->click();
                return;
            }
    }
    QTextEdit::keyPressEvent(event);
}

void TMemoEdit::SetDocument(const TRtfDocument& document) {
    clear();
    setCurrentCharFormat(QTextCharFormat());
    Insert(document);
    moveCursor(QTextCursor::Start);
    setCurrentCharFormat(textCursor().charFormat());
}

void TMemoEdit::Insert(const TRtfDocument& document) {
    QTextCursor cursor = textCursor();
    cursor.beginEditBlock();
    for (std::size_t p = 0; p < document.size(); ++p) {
        if (p > 0)
            cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        for (const TRtfRun& run : document[p])
            cursor.insertText(run.Text, FormatOf(run));
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
}

TRtfDocument TMemoEdit::Document() const {
    return DocumentOf(*document());
}

void TMemoEdit::insertFromMimeData(const QMimeData* source) {
    QTextDocument pasted;
    if (source->hasHtml())
        pasted.setHtml(source->html());
    else if (source->hasText())
        pasted.setPlainText(source->text());
    else
        return;
    Insert(DocumentOf(pasted));
}

TFraMemo::TFraMemo(QWidget* parent) : TModelFrame(parent) {
    setObjectName(QStringLiteral("FraMemo1"));
    setAutoFillBackground(false);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("FMPanelTop"));
    top->setFixedHeight(30);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(2, 0, 0, 0);
    Titre = new QLabel(top);
    Titre->setObjectName(QStringLiteral("Titre"));
    Titre->setStyleSheet(QStringLiteral("font-weight: bold;"));
    MmMemo = new TMemoEdit(this);
    Barre = new TFraFormat(*MmMemo, top);
    topLayout->addWidget(Titre, 1);
    topLayout->addWidget(Barre);
    layout->addWidget(top);
    layout->addWidget(MmMemo, 1);
    Titre->setBuddy(MmMemo);
    connect(MmMemo, &QTextEdit::currentCharFormatChanged, this, &TFraMemo::MmMemoSelectionChange);
    connect(MmMemo, &QTextEdit::cursorPositionChanged, this, &TFraMemo::MmMemoSelectionChange);
}

void TFraMemo::SetTitle(const QString& title) {
    Titre->setText(title);
    MmMemo->setAccessibleName(title);
}

void TFraMemo::Load(const QStringList& comments) {
    MmMemo->SetDocument(ReadRtf(LinesToStream(comments)));
    // Loading is no edit: the first Ctrl+Z must not empty the editor.
    MmMemo->document()->clearUndoRedoStacks();
    MmMemoSelectionChange();
}

QStringList TFraMemo::Lines() const {
    return WriteRtf(MmMemo->Document());
}

void TFraMemo::MmMemoSelectionChange() {
    Barre->ShowFormat(MmMemo->currentCharFormat());
}
