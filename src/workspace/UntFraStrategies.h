#pragma once

#include "history/UntDocument.h"
#include "workspace/UntModelFrame.h"

#include <array>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class TMainHost;

// The strategy matrix: the conclusions in the four strategies, internal
// factor types as rows and external ones as columns, each with its weight
// there, and apart the conclusions that hold no coupling. It follows every
// change of the document; activating a conclusion (a double click, Enter)
// edits it.
class TFraStrategies : public TModelFrame {
    Q_OBJECT

public:
    TFraStrategies(TMainHost& host, QWidget* parent);

    void UpdateView() override;

private:
    // Refills the lists; the conclusion the change names, or else the one
    // that was current, is current again.
    void ShowChange(const TChange& change);
    void Fill();
    // Makes the item of the list current, and no other list's.
    void ItemChosen(QTreeWidget* list, QTreeWidgetItem* item);
    void EditGuideline(QTreeWidgetItem* item);

    TMainHost& FHost;
    QMetaObject::Connection FFollowing;
    // The conclusion last made current, and its list: one conclusion may
    // stand in several.
    const TGuideline* FCurrent = nullptr;
    QTreeWidget* FCurrentList = nullptr;

    // Opportunities and threats over the columns; strengths and weaknesses
    // over the rows.
    std::array<QLabel*, 2> LbColumns{};
    std::array<QLabel*, 2> LbRows{};
    // The strategies, in the order of the kinds of coupling.
    std::array<QLabel*, 4> LbStrategies{};
    std::array<QTreeWidget*, 4> LstStrategies{};
    QLabel* LbUnplaced;
    QTreeWidget* LstUnplaced;
};
