#include "workspace/UntScreenLook.h"

#include "workspace/UntElidedLabel.h"

#include <QAbstractItemView>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>

QFrame* NewTitleBand(QWidget* parent, TElidedLabel** title) {
    auto* band = new QFrame(parent);
    band->setFrameStyle(QFrame::Panel | QFrame::Raised);
    band->setLineWidth(1);
    band->setAutoFillBackground(true);
    band->setBackgroundRole(QPalette::Highlight);
    auto* layout = new QHBoxLayout(band);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    auto* margin = new QLabel(band);
    margin->setFixedWidth(20);
    auto* label = new TElidedLabel(band);
    label->setObjectName(QStringLiteral("LbTitle"));
    label->setForegroundRole(QPalette::HighlightedText);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(13);
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    layout->addWidget(margin);
    layout->addWidget(label, 1);
    *title = label;
    return band;
}

bool IsDarkPalette(const QPalette& palette) {
    return palette.color(QPalette::Base).lightness() < palette.color(QPalette::Text).lightness();
}

void KeepSelectionVisible(QAbstractItemView* view) {
    QPalette palette = view->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    view->setPalette(palette);
}
