#pragma once

#include "workspace/UntMPDialog.h"

class QLabel;
class QLineEdit;
class TFraMemo;
class TGuideline;

// The dialog in which a conclusion is written or changed: its wording and
// its comments. Its links to couplings are made in the workspace.
class TFrmGuideline : public TMPDialog {
    Q_OBJECT

public:
    TFrmGuideline(TMainHost& host, QWidget* parent);

    // Shows the conclusion through the seam; true when the user accepted, and
    // only then is the conclusion changed. original: the project's conclusion
    // that guideline copies, whose wording the copy may keep; none for a new
    // one.
    bool Edit(TGuideline& guideline, const TGuideline* original = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Whether the wording is not empty and no other conclusion bears it.
    bool CheckName();
    void ValiderClick();

    TGuideline* FGuideline = nullptr;
    const TGuideline* FOriginal = nullptr;
    QLineEdit* EdName;
    QLabel* LbCaption;
    TFraMemo* FraMemo1;
};
