#pragma once

#include "workspace/UntMPDialog.h"

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

    // Shows the factor through the seam; true when the user accepted, and
    // only then is the factor changed. isNew: the factor is not in the
    // project yet, so its wording must differ from every factor's there.
    bool Edit(TTOWSItem& factor, bool isNew);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtOKClick();

    TTOWSItem* FFactor = nullptr;
    bool FIsNew = false;
    QLineEdit* EdName;
    QButtonGroup* ChMark;
    TFraMemo* FraMemo1;
};
