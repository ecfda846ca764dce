#pragma once

#include "model/UntClassProject.h"
#include "workspace/UntModelFrame.h"

#include <optional>

class QGroupBox;
class TElidedLabel;
class TMainHost;

// Describes the workspace's selected coupling: its kind and rating, then its
// internal and its external factor.
class TFraTOWSCouple : public TModelFrame {
    Q_OBJECT

public:
    TFraTOWSCouple(TMainHost& host, QWidget* parent);

    // Shows the coupling, or that none is selected.
    void SetCouple(const std::optional<TTOWSCouple>& couple);
    void UpdateView() override;

private:
    TMainHost& FHost;
    std::optional<TTOWSCouple> FCouple;
    QGroupBox* GBCouple;
    TElidedLabel* LbCouple;
};
