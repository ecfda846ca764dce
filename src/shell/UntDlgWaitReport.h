#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// Tells the user what the report or picture under way is doing, and lets
// them cancel it.
class TDlgWaitReport : public QDialog {
    Q_OBJECT

public:
    explicit TDlgWaitReport(QWidget* parent);

    // Shows the dialog at the stage, modal to its window, without waiting.
    void Begin(int statusId);
    // Shows a status text of the string table.
    void SetStatus(int id);
    // Closes the dialog once the job has ended, whichever way.
    void Finish();

    // Cancel and Escape ask the job to stop; the dialog stays until it has.
    void reject() override;

signals:
    void CancelRequested();

private:
    QLabel* LbStatus;
    QPushButton* BtCancel;
};
