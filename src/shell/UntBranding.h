#pragma once

#include <QWidget>

// The product's name and mark at the end of the tool bar. The name takes the
// palette's text colour, so that it reads on a dark tool bar as on a light
// one; the picture is drawn from its vector form, sharp at any scale.
class TToolBarLogo : public QWidget {
public:
    explicit TToolBarLogo(QWidget* parent);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QByteArray FPicture;
};
