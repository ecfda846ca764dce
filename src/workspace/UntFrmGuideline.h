#pragma once

#include "UntMPDialog.h"

class QLineEdit;
class TFraMemo;
class TGuideline;

// The dialog in which a conclusion is written or changed: its wording and
// its comments. Its links to couplings are made in the workspace.
class TFrmGuideline : public TMPDialog {
    Q_OBJECT

public:
    TFrmGuideline(TMainHost& host, QWidget* parent);

    // The conclusion shown and, on OK, changed; not owned.
    TGuideline* EditedGuideline = nullptr;

    // Whether the wording is not empty and no other conclusion bears it.
    bool CheckName();

    QLineEdit* EdName;
    TFraMemo* FraMemo1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ValiderClick();
};
