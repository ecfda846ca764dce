#include "shell/UntBranding.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// The colour of the name in the picture, which the palette's replaces.
constexpr char NameColour[] = "#163a5f";

} // namespace

TToolBarLogo::TToolBarLogo(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ToolBarLogo"));
    QFile file(QStringLiteral(":/images/toolbarlogo.svg"));
    if (file.open(QIODevice::ReadOnly))
        FPicture = file.readAll();
    setFixedSize(sizeHint());
}

QSize TToolBarLogo::sizeHint() const {
    return {150, 24};
}

void TToolBarLogo::paintEvent(QPaintEvent*) {
    QByteArray picture = FPicture;
    picture.replace(NameColour, palette().color(QPalette::WindowText).name().toLatin1());
    QSvgRenderer renderer(picture);
    QPainter painter(this);
    renderer.render(&painter, rect());
}
