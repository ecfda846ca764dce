#pragma once

#include "UntModelFrame.h"

#include <cstdint>

class QComboBox;
class QLabel;
class QSlider;
class QTreeView;
class TCouplingTreeModel;
class TFraTOWS;

// The coupling view: every coupling of the project in a tree grouped by kind,
// narrowed by a kind filter and a minimum rating. Choosing an entry selects
// its coupling in the workspace.
class TFraTOWSGroup : public TModelFrame {
    Q_OBJECT

public:
    explicit TFraTOWSGroup(TFraTOWS& workspace);

    void UpdateView() override;

    // The minimum rating of a track bar position 1 .. 6.
    static std::int64_t MinRatingOf(int position);

    void CbFilterChange(int index);
    void TrackBar1Change();
    void BuildTree();

    QComboBox* CbFilter;
    QLabel* LbMark;
    QSlider* TrackBar1;
    QTreeView* TOWSTree;
    TCouplingTreeModel* Model;
    std::int64_t MinRating = 0;

private:
    void TOWSTreeChange();

    TFraTOWS& FWorkspace;
};
