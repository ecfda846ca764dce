#pragma once

#include <QAbstractItemView>
#include <vector>

// A tree of two levels (groups holding entries) drawn row by row from its
// model: only the rows on screen are asked for, so that a group of millions
// of entries costs as little as a group of ten. Rows have one height; a
// group's branch mark folds it, and a new model shows every group unfolded.
// A screen reader reads it as a tree of rows and hears the current row as it
// moves.
class TCouplingTreeView : public QAbstractItemView {
    Q_OBJECT

public:
    explicit TCouplingTreeView(QWidget* parent = nullptr);

    void setModel(QAbstractItemModel* model) override;
    QRect visualRect(const QModelIndex& index) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    QModelIndex indexAt(const QPoint& point) const override;
    void keyboardSearch(const QString& search) override;
    void reset() override;

    bool IsExpanded(int group) const;
    void SetExpanded(int group, bool expanded);
    int Indentation() const { return FIndentation; }
    void SetIndentation(int indentation);

    // Rows are counted through the unfolded groups, from the top: row 0 is
    // the first group; an index folded away has no row (-1).
    qint64 RowCount() const { return FRowCount; }
    qint64 RowOf(const QModelIndex& index) const;
    QModelIndex IndexOfRow(qint64 row) const;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    void Relayout();
    // Follows a change of the model's shape: new groups come unfolded.
    void GroupsChanged();
    qint64 TopRow() const;
    int RowsOnScreen() const;
    int RowHeight() const;
    QRect RowRect(qint64 row) const;
    QRect BranchRect(qint64 row) const;
    // Folds or unfolds the group the point's branch mark stands for; false
    // when the point is not on one.
    bool ToggleAt(const QPoint& point);

    std::vector<bool> FExpanded;
    std::vector<qint64> FGroupRows; // the row of each group
    qint64 FRowCount = 0;
    int FIndentation = 20;
    mutable int FRowHeight = 0;
};
