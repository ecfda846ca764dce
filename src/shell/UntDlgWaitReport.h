#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Tells the user what the report commands are doing.
class TDlgWaitReport : public QDialog {
    Q_OBJECT

public:
    explicit TDlgWaitReport(QWidget* parent);

    // Shows a status text of the string table.
    void SetStatus(int id);
    // The report commands keep the dialog up while they work.
    void EnableClose(bool enabled);

private:
    QLabel* LbStatus;
    QPushButton* BtClose;
};
