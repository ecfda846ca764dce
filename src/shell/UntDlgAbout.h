#pragma once

#include <QDialog>
#include <QPixmap>

// The about box: the product's picture, its release and the maker's address.
class TDlgAbout : public QDialog {
    Q_OBJECT

public:
    explicit TDlgAbout(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPixmap FBackground;
};
