#pragma once

#include "model/UntClassProject.h"
#include "workspace/UntModelFrame.h"

#include <array>

class QGroupBox;
class TFraTOWSList;
class TMainHost;

// The factor-entry view: the four lists of the SWOT matrix, the internal
// factors above, the external factors below. One internal and one external
// factor selected together select their coupling.
class TFraTOWSMat : public TModelFrame {
    Q_OBJECT

public:
    TFraTOWSMat(TMainHost& host, QWidget* parent);

    void UpdateView() override;
    // Selects the factor in its list, as a click would.
    void ShowFactor(const TTOWSItem& factor);

signals:
    // The selected pair; either is none when its side has no selection.
    void CoupleSelected(const TTOWSItem* internal, const TTOWSItem* external);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Lists 1 .. 4 hold the strengths, weaknesses, opportunities and threats.
    TFraTOWSList* List(int swotType) const { return FLists[swotType - 1]; }
    void FillLists();
    void TitleGroups();
    void ClickAdd(TFraTOWSList* list);
    void ClickEdit(TFraTOWSList* list);
    void ClickDel(TFraTOWSList* list);
    void SelectItem(TFraTOWSList* list);

    TMainHost& FHost;
    std::array<TFraTOWSList*, 4> FLists{};
    QGroupBox* GroupBox1;
    QGroupBox* GroupBox2;
};
