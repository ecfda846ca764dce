#pragma once

#include "UntModelFrame.h"

class TFraTabTop;
class TMainHost;

// The one screen of the analysis, hosted by the main window for each open
// document: the title band over the views of the factors, the couplings and
// the conclusions.
class TFraTOWS : public TModelFrame {
    Q_OBJECT

public:
    TFraTOWS(TMainHost& host, QWidget* parent);

    void UpdateView() override;

    TFraTabTop* FraTabTop1;

private:
    TMainHost& FHost;
};
