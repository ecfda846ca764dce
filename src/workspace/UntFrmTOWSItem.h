#pragma once

#include "UntMPDialog.h"

class QButtonGroup;
class QLineEdit;
class TFraMemo;
class TTOWSItem;

// The dialog in which a factor is created or changed: its wording, its
// importance and its comments.
class TFrmTOWSItem : public TMPDialog {
    Q_OBJECT

public:
    TFrmTOWSItem(TMainHost& host, QWidget* parent);

    // The factor shown and, on OK, changed; not owned.
    TTOWSItem* EditedItem = nullptr;
    // True when the factor is not in the project yet.
    bool IsNew = false;

    QLineEdit* EdName;
    QButtonGroup* ChMark;
    TFraMemo* FraMemo1;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtOKClick();
};
