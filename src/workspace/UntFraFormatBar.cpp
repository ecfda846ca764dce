#include "workspace/UntFraFormatBar.h"

#include "model/UntStrings.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QTextEdit>
#include <QToolButton>

TFraFormat::TFraFormat(QTextEdit& editor, QWidget* parent) : QFrame(parent), FEditor(editor) {
    setObjectName(QStringLiteral("Barre"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 0, 3, 0);
    layout->setSpacing(0);
    const auto makeButton = [this, layout](const char* name, const char* caption, int wordId,
                                           Qt::Key key, auto style) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(QLatin1String(caption));
        QFont font = button->font();
        style(font);
        button->setFont(font);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(23, 21);
        // Reached by Tab as well as by its key, which acts in the editor.
        button->setFocusPolicy(Qt::TabFocus);
        const QKeySequence shortcut(Qt::CTRL | key);
        button->setAccessibleName(LoadStr(wordId));
        button->setToolTip(LoadStr(wordId) + QStringLiteral(" (") +
                           shortcut.toString(QKeySequence::NativeText) + QLatin1Char(')'));
        connect(new QShortcut(shortcut, &FEditor, nullptr, nullptr, Qt::WidgetShortcut),
                &QShortcut::activated, button, &QToolButton::click);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button] { StyleClick(button); });
        return button;
    };
    SetBold = makeButton("SetBold", "G", StrStyleBold, Qt::Key_B,
                         [](QFont& font) { font.setBold(true); });
    SetItalic = makeButton("SetItalic", "I", StrStyleItalic, Qt::Key_I,
                           [](QFont& font) { font.setItalic(true); });
    SetUnderline = makeButton("SetUnderline", "S", StrStyleUnderline, Qt::Key_U,
                              [](QFont& font) { font.setUnderline(true); });
}

void TFraFormat::ShowFormat(const QTextCharFormat& format) {
    // setChecked does not emit clicked, so this changes no text.
    SetBold->setChecked(format.fontWeight() >= QFont::Bold);
    SetItalic->setChecked(format.fontItalic());
    SetUnderline->setChecked(format.fontUnderline());
}

void TFraFormat::StyleClick(QToolButton* button) {
    QTextCharFormat change;
    if (button == SetBold)
        change.setFontWeight(button->isChecked() ? QFont::Bold : QFont::Normal);
    else if (button == SetItalic)
        change.setFontItalic(button->isChecked());
    else
        change.setFontUnderline(button->isChecked());
    // mergeCurrentCharFormat changes the selection, or without one what is
    // typed next; the other styles stay as they are.
    FEditor.mergeCurrentCharFormat(change);
}
