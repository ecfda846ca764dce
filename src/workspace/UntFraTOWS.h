#pragma once

#include "history/UntDocument.h"
#include "workspace/UntModelFrame.h"

#include <QPointer>
#include <optional>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QSplitter;
class TElidedLabel;
class TFraListBar;
class TFraTabTop;
class TFraTOWSCouple;
class TMainHost;

// The one screen of the analysis, hosted by the main window for each open
// document: the title band; on the left the factor matrix or the coupling
// view; on the right the selected coupling and the conclusions, whose check
// marks link and unlink that coupling.
class TFraTOWS : public TModelFrame {
    Q_OBJECT

public:
    TFraTOWS(TMainHost& host, QWidget* parent);

    void UpdateView() override;
    bool CloseView() override;
    // Shows what a change to the project, or its undoing, touched. After a
    // change of factors no coupling is selected: the lists have no selection.
    void ShowChange(const TChange& change);

    // Shows the factor at the position in the factor matrix, selected, and
    // the conclusion at the position current in the list.
    void ShowFactor(std::int32_t position);
    void ShowGuideline(int position);

    // The selected coupling: a record of the frame's own, never stored.
    const std::optional<TTOWSCouple>& SelectedCouple() const { return FSelectedCouple; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const TProject* Project() const;

    // Makes the pair the selected coupling; with either factor missing, no
    // coupling is selected.
    void SetSelectedCouple(const TTOWSItem* internal, const TTOWSItem* external);
    // Marks the project modified, unless the frame is changing by program.
    void DataChange();

    void FillGuidelines();
    void CheckGuidelines();

    void ClickAddGuideLine();
    void ClickEditGuideline();
    void ClickDelGuideline();
    void FraListBar1BtDownClick();
    void FraListBar1BtUpClick();
    void LstGuidelinesClickCheck(QListWidgetItem* item);

    // The view switch: 0 the factor matrix, 1 the coupling view, 2 the
    // strategy matrix; the view chosen is made anew.
    void RGVisuClick();
    // Tab goes as the screen reads; returns the order.
    QList<QWidget*> OrderTabs();
    // The highlighted conclusion, the one its commands act on; -1 for none.
    int SelectedGuideline() const;
    void ApplySplitRatio();

    TMainHost& FHost;
    QMetaObject::Connection FFollowing;
    std::optional<TTOWSCouple> FSelectedCouple;
    int FViewShown = -1;

    TFraTabTop* FraTabTop1;
    QButtonGroup* RGVisu;
    QGroupBox* RGVisuBox;
    QWidget* Panel1;
    QPointer<TModelFrame> ViewFrame;
    QSplitter* Splitter;
    TFraTOWSCouple* FraTOWSCouple1;
    TElidedLabel* LbConclusions;
    TFraListBar* FraListBar1;
    QListWidget* LstGuidelines;
};
