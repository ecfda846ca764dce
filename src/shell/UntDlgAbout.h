#pragma once

#include <QDialog>
#include <QSvgRenderer>

class TMainHost;

// The about box: the product's picture, its release and the maker's address.
class TDlgAbout : public QDialog {
    Q_OBJECT

public:
    TDlgAbout(TMainHost& host, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Drawn from its vector form, sharp at any scale.
    QSvgRenderer FBackground;
};
