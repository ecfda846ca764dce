#pragma once

#include "workspace/UntMPDialog.h"

class QAction;
class QLineEdit;
class QListWidget;
class QTabWidget;
class TFraMemo;
class TDocument;

// The project's own data: its title, its comments and the wording of its
// nineteen headings. The project changes only on OK.
class TDlgProperties : public TMPDialog {
    Q_OBJECT

public:
    TDlgProperties(TMainHost& host, QWidget* parent);

    // Shows the document's project through the seam; true when the user
    // accepted. The project changes only then, through its history, if
    // anything differs.
    bool Edit(TDocument& document);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void AcnChangeCaptionExecute();
    void AcnResetCaptionExecute();
    void BtOkClick();
    // The selected line; -1 after telling the user to select one.
    int SelectedCaption();

    TDocument* FDocument = nullptr;
    QTabWidget* PageControl;
    QLineEdit* EdTitle;
    TFraMemo* FraMemo1;
    QListWidget* LstCaptions;
    QAction* AcnChangeCaption;
    QAction* AcnResetCaption;
};
