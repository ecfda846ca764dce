#pragma once

#include "UntMPDialog.h"

class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class TFraMemo;
class TProject;

// The project's own data: its title, its comments and the wording of its
// nineteen headings. The project changes only on OK.
class TDlgProperties : public TMPDialog {
    Q_OBJECT

public:
    TDlgProperties(TMainHost& host, QWidget* parent);

    // The project shown and, on OK, changed; not owned.
    TProject* EditedProject = nullptr;

    void AcnChangeCaptionExecute();
    void AcnResetCaptionExecute();

    QTabWidget* PageControl;
    QLineEdit* EdTitle;
    TFraMemo* FraMemo1;
    QListWidget* LstCaptions;
    QAction* AcnChangeCaption;
    QAction* AcnResetCaption;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtOkClick();
    // The selected line; -1 after telling the user to select one.
    int SelectedCaption();
};
