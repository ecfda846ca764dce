#include "UntFraFormatBar.h"

#include <QHBoxLayout>
#include <QTextEdit>
#include <QToolButton>

TFraFormat::TFraFormat(QTextEdit& editor, QWidget* parent) : QFrame(parent), FEditor(editor) {
    setObjectName(QStringLiteral("Barre"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(3, 0, 3, 0);
    layout->setSpacing(0);
    const auto makeButton = [this, layout](const char* name, const char* caption, auto style) {
        auto* button = new QToolButton(this);
        button->setObjectName(QLatin1String(name));
        button->setText(QLatin1String(caption));
        QFont font = button->font();
        style(font);
        button->setFont(font);
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(23, 21);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
        connect(button, &QToolButton::clicked, this, [this, button] { StyleClick(button); });
        return button;
    };
    SetBold = makeButton("SetBold", "G", [](QFont& font) { font.setBold(true); });
    SetItalic = makeButton("SetItalic", "I", [](QFont& font) { font.setItalic(true); });
    SetUnderline = makeButton("SetUnderline", "S", [](QFont& font) { font.setUnderline(true); });
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
