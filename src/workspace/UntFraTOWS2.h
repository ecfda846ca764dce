#pragma once

#include "model/UntClassProject.h"
#include "workspace/UntModelFrame.h"

#include <cstdint>

class QComboBox;
class QLabel;
class QSlider;
class TCouplingTreeModel;
class TCouplingTreeView;
class TMainHost;

// The coupling view: every coupling of the project in a tree grouped by kind,
// narrowed by a kind filter and a minimum rating. Choosing an entry selects
// its coupling in the workspace.
class TFraTOWSGroup : public TModelFrame {
    Q_OBJECT

public:
    TFraTOWSGroup(TMainHost& host, QWidget* parent);

    void UpdateView() override;

    // The minimum rating of a track bar position 1 .. 6.
    static std::int64_t MinRatingOf(int position);

signals:
    // The pair of the chosen entry; none for a group or no entry.
    void CoupleSelected(const TTOWSItem* internal, const TTOWSItem* external);

private:
    void CbFilterChange(int index);
    void TrackBar1Change();
    void BuildTree();
    void TOWSTreeChange();

    TMainHost& FHost;
    QComboBox* CbFilter;
    QLabel* LbMark;
    QSlider* TrackBar1;
    TCouplingTreeView* TOWSTree;
    TCouplingTreeModel* Model;
    std::int64_t MinRating = 0;
};
