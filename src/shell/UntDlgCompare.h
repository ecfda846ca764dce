#pragma once

#include "reports/UntComparisonReport.h"

#include <QDialog>
#include <functional>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// The differences between the project shown and another version of it, in
// the sections of the comparison document. Choosing a factor or a conclusion
// of the newer version shows it in the workspace, when the project shown is
// that version.
class TDlgCompare : public QDialog {
    Q_OBJECT

public:
    explicit TDlgCompare(QWidget* parent);

    // The comparison with the project shown as the newer version, or as the
    // older one; the swap button asks again.
    std::function<TComparison(bool shownIsNewer)> Compare;

    // Lists the comparison with the project shown as the newer version.
    void ShowComparison();
    bool ShownIsNewer() const { return FShownIsNewer; }

signals:
    void FactorChosen(std::int32_t position);
    void GuidelineChosen(int position);

private:
    void Fill(const TComparison& comparison);
    void ItemChosen(QTreeWidgetItem* item);
    void BtSwapClick();

    bool FShownIsNewer = true;
    QLabel* LbHint;
    QTreeWidget* LstDifferences;
};
