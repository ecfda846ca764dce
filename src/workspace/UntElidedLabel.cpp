#include "workspace/UntElidedLabel.h"

#include <QStringList>

TElidedLabel::TElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void TElidedLabel::SetFullText(const QString& text) {
    FFullText = text;
    Elide();
}

QSize TElidedLabel::minimumSizeHint() const {
    return {0, QLabel::minimumSizeHint().height()};
}

void TElidedLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    Elide();
}

void TElidedLabel::Elide() {
    const QFontMetrics metrics = fontMetrics();
    const int room = contentsRect().width() - 2 * margin() - indent();
    QStringList shown;
    for (const QString& line : FFullText.split(QLatin1Char('\n')))
        shown << metrics.elidedText(line, Qt::ElideRight, room);
    const QString text = shown.join(QLatin1Char('\n'));
    setText(text);
    setToolTip(text == FFullText ? QString() : FFullText);
}
