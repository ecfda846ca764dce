#pragma once

#include "UntModelFrame.h"

class QGroupBox;
class QLabel;
class TFraTOWS;

// Describes the workspace's selected coupling: its kind and rating, then its
// internal and its external factor.
class TFraTOWSCouple : public TModelFrame {
    Q_OBJECT

public:
    explicit TFraTOWSCouple(TFraTOWS& workspace);

    void UpdateView() override;

    QLabel* LbCouple;

private:
    TFraTOWS& FWorkspace;
    QGroupBox* GBCouple;
};
