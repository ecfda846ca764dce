#pragma once

#include <QDialog>
#include <QSvgRenderer>

class QPushButton;

// The first choice offered when the program starts without arguments.
class TFrmStart : public QDialog {
    Q_OBJECT

public:
    // Dialog results; closing the dialog in any other way counts as Quit.
    enum TChoice { chQuit = QDialog::Rejected, chNew = 10, chOpen = 11 };

    explicit TFrmStart(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Drawn from its vector form, sharp at any scale.
    QSvgRenderer FBackground;
    QPushButton* BtNew;
    QPushButton* BtOpen;
    QPushButton* Button3;
};
