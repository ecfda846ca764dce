#pragma once

#include <QLabel>

// A label of the user's own text: shown as plain text, each line cut with an
// ellipsis where the label is too narrow, the whole text then in the
// tooltip. However long the text, it never widens its window.
class TElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit TElidedLabel(QWidget* parent);

    void SetFullText(const QString& text);
    const QString& FullText() const { return FFullText; }

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Elide();

    QString FFullText;
};
