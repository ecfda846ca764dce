#include "shell/UntFrmStart.h"

#include "model/UntStrings.h"
#include "workspace/UntKeyboard.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TFrmStart::TFrmStart(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      FBackground(QStringLiteral(":/images/startbg.svg")) {
    setObjectName(QStringLiteral("FrmStart"));
    setWindowTitle(QStringLiteral("Korvell Merovan"));
    setFixedSize(505, 169);

    auto* question = new QLabel(LoadStr(StrStartQuestion), this);
    question->setObjectName(QStringLiteral("LbQuestion"));
    question->setAlignment(Qt::AlignCenter);
    question->setWordWrap(true);
    QFont font = question->font();
    font.setFamily(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(17);
    font.setBold(true);
    question->setFont(font);
    question->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    const auto makeButton = [this](const char* name, int textId, int result) {
        auto* button = new QPushButton(LoadStr(textId), this);
        button->setObjectName(QLatin1String(name));
        // Enter presses the button that has the focus, the first one at first.
        button->setAutoDefault(true);
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        return button;
    };
    BtNew = makeButton("BtNew", StrStartNew, chNew);
    BtOpen = makeButton("BtOpen", StrStartOpen, chOpen);
    Button3 = makeButton("Button3", StrStartQuit, chQuit);
    BtNew->setDefault(true);
    // Over the picture the style's faint focus mark is lost: a thick frame
    // in the selection colour shows which button Enter presses.
    setStyleSheet(QStringLiteral(
        "QPushButton { color: palette(button-text); background: palette(button);"
        " border: 1px solid palette(dark); border-radius: 3px; padding: 4px 10px; }"
        " QPushButton:hover { background: palette(light); }"
        " QPushButton:pressed { background: palette(mid); }"
        " QPushButton:focus { border: 3px solid palette(highlight); padding: 2px 8px; }"));
    AssignAccessKeys(this);

    auto* column = new QVBoxLayout;
    column->setSpacing(6);
    column->addWidget(question);
    column->addStretch();
    column->addWidget(BtNew);
    column->addWidget(BtOpen);
    column->addWidget(Button3);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(14, 10, 14, 12);
    layout->addLayout(column, 0);
    layout->addStretch(1);
    question->setFixedWidth(230);
}

void TFrmStart::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    FBackground.render(&painter, rect());
}

void TFrmStart::showEvent(QShowEvent* event) {
    // Centred on the screen, not on the main window, which is not shown yet.
    move(screen()->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}
