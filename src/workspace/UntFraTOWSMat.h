#pragma once

#include "UntModelFrame.h"

#include <array>

class QGroupBox;
class TFraTOWS;
class TFraTOWSList;

// The factor-entry view: the four lists of the SWOT matrix, the internal
// factors above, the external factors below. One internal and one external
// factor selected together select their coupling.
class TFraTOWSMat : public TModelFrame {
    Q_OBJECT

public:
    explicit TFraTOWSMat(TFraTOWS& workspace);

    void UpdateView() override;

    // Lists 1 .. 4 hold the strengths, weaknesses, opportunities and threats.
    TFraTOWSList* List(int swotType) const { return FLists[swotType - 1]; }

    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillLists();
    void ClickAdd(TFraTOWSList* list);
    void ClickEdit(TFraTOWSList* list);
    void ClickDel(TFraTOWSList* list);
    void SelectItem(TFraTOWSList* list);

    TFraTOWS& FWorkspace;
    std::array<TFraTOWSList*, 4> FLists{};
};
