#include "workspace/UntCouplingTreeView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <algorithm>
#include <climits>

namespace {

int AccessibleCount(qint64 count) {
    return static_cast<int>(std::min<qint64>(count, INT_MAX));
}

// One row of the view, for a screen reader: a group or a coupling.
class TRowAccessible : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    TRowAccessible(TCouplingTreeView* view, const QModelIndex& index)
        : FView(view), FIndex(index) {}

    bool isValid() const override { return FView && FIndex.isValid() && Row() >= 0; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FView ? FView->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(FView.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? FIndex.data(Qt::DisplayRole).toString()
                                                   : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect shown = FView->visualRect(FIndex);
        return {FView->viewport()->mapToGlobal(shown.topLeft()), shown.size()};
    }
    QAccessible::Role role() const override { return QAccessible::TreeItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.focusable = true;
        state.selected = isSelected();
        state.focused = FView->hasFocus() && FView->currentIndex() == FIndex;
        const QRect shown = FView->visualRect(FIndex);
        state.invisible = !FView->isVisible();
        state.offscreen = !FView->viewport()->rect().intersects(shown);
        if (IsGroup()) {
            state.expandable = true;
            state.expanded = FView->IsExpanded(FIndex.row());
            state.collapsed = !state.expanded;
        }
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    bool isSelected() const override {
        return isValid() && FView->selectionModel()->isSelected(FIndex);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return AccessibleCount(Row()); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

private:
    qint64 Row() const { return FView ? FView->RowOf(FIndex) : -1; }
    bool IsGroup() const { return FIndex.parent() == FView->rootIndex(); }

    QPointer<TCouplingTreeView> FView;
    QPersistentModelIndex FIndex;
};

// The view as a tree of rows, one column wide. A row's interface is made
// when a screen reader asks for it and kept until the rows change, so that
// millions of couplings cost nothing until read.
class TTreeAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TTreeAccessible(TCouplingTreeView* view)
        : QAccessibleWidget(view, QAccessible::Tree) {}
    ~TTreeAccessible() override { Forget(); }

    TCouplingTreeView* View() const { return static_cast<TCouplingTreeView*>(widget()); }

    int childCount() const override { return AccessibleCount(View()->RowCount()); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (const auto known = FRows.constFind(index); known != FRows.cend()) {
            QAccessibleInterface* row = QAccessible::accessibleInterface(*known);
            if (row && row->isValid() && row->tableCellInterface()->rowIndex() == index)
                return row;
            QAccessible::deleteAccessibleInterface(*known);
            FRows.remove(index);
        }
        const QModelIndex shown = View()->IndexOfRow(index);
        if (!shown.isValid())
            return nullptr;
        auto* row = new TRowAccessible(View(), shown);
        FRows.insert(index, QAccessible::registerAccessibleInterface(row));
        return row;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        const QAccessibleTableCellInterface* cell =
            child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
        return cell && child->parent() == this && child->isValid() ? cell->rowIndex() : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint point = View()->viewport()->mapFromGlobal(QPoint(x, y));
        const qint64 row = View()->RowOf(View()->indexAt(point));
        return row < 0 ? nullptr : child(AccessibleCount(row));
    }
    QAccessibleInterface* focusChild() const override {
        const qint64 row = View()->RowOf(View()->currentIndex());
        return row < 0 ? nullptr : child(AccessibleCount(row));
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this)
                                                   : QAccessibleWidget::interface_cast(type);
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override {
        return column == 0 ? child(row) : nullptr;
    }
    int selectedCellCount() const override { return AccessibleCount(SelectedRows().size()); }
    QList<QAccessibleInterface*> selectedCells() const override {
        QList<QAccessibleInterface*> cells;
        for (const int row : SelectedRows())
            cells << child(row);
        return cells;
    }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return AccessibleCount(SelectedRows().size()); }
    int columnCount() const override { return 1; }
    int rowCount() const override { return childCount(); }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override { return SelectedRows(); }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override {
        return View()->selectionModel()->isSelected(View()->IndexOfRow(row));
    }
    bool selectRow(int row) override {
        const QModelIndex index = View()->IndexOfRow(row);
        if (!index.isValid())
            return false;
        View()->setCurrentIndex(index);
        return true;
    }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override {
        const QModelIndex index = View()->IndexOfRow(row);
        if (!index.isValid())
            return false;
        View()->selectionModel()->select(index, QItemSelectionModel::Deselect);
        return true;
    }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override { Forget(); }

private:
    // A screen reader is not read millions of selected rows: the first
    // thousand of a range tell enough.
    QList<int> SelectedRows() const {
        QList<int> rows;
        for (const QItemSelectionRange& range : View()->selectionModel()->selection()) {
            const qint64 first = View()->RowOf(range.topLeft());
            const qint64 last = View()->RowOf(range.bottomRight());
            for (qint64 row = first; row >= 0 && row <= last && rows.size() < 1000; ++row)
                rows << AccessibleCount(row);
        }
        return rows;
    }

    void Forget() const {
        for (const QAccessible::Id id : std::as_const(FRows))
            QAccessible::deleteAccessibleInterface(id);
        FRows.clear();
    }

    mutable QHash<int, QAccessible::Id> FRows;
};

QAccessibleInterface* TreeAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("TCouplingTreeView") && object && object->isWidgetType())
        return new TTreeAccessible(static_cast<TCouplingTreeView*>(object));
    return nullptr;
}

// Tells a screen reader that rows came or went below a group.
void AnnounceRows(TCouplingTreeView* view, QAccessibleTableModelChangeEvent::ModelChangeType type,
                  qint64 first, qint64 last) {
    if (!QAccessible::isActive() || first > last)
        return;
    QAccessibleTableModelChangeEvent event(view, type);
    event.setFirstRow(AccessibleCount(first));
    event.setLastRow(AccessibleCount(last));
    QAccessible::updateAccessibility(&event);
}

} // namespace

TCouplingTreeView::TCouplingTreeView(QWidget* parent) : QAbstractItemView(parent) {
    // Once for the program: the toolkit asks the factories about every object.
    [[maybe_unused]] static const bool accessible =
        (QAccessible::installFactory(TreeAccessible), true);
    // The scroll bar counts rows: pixels would overflow it past 100 million.
    setVerticalScrollMode(ScrollPerItem);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TCouplingTreeView::setModel(QAbstractItemModel* model) {
    if (QAbstractItemModel* old = this->model())
        disconnect(old, nullptr, this, nullptr);
    QAbstractItemView::setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::rowsInserted, this, &TCouplingTreeView::GroupsChanged);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TCouplingTreeView::GroupsChanged);
        connect(model, &QAbstractItemModel::layoutChanged, this, &TCouplingTreeView::GroupsChanged);
    }
    reset();
}

void TCouplingTreeView::reset() {
    QAbstractItemView::reset();
    FExpanded.assign(model() ? static_cast<std::size_t>(model()->rowCount(rootIndex())) : 0, true);
    FRowHeight = 0;
    Relayout();
    verticalScrollBar()->setValue(0);
}

void TCouplingTreeView::GroupsChanged() {
    FExpanded.resize(model() ? static_cast<std::size_t>(model()->rowCount(rootIndex())) : 0, true);
    Relayout();
}

void TCouplingTreeView::Relayout() {
    FGroupRows.resize(FExpanded.size());
    qint64 row = 0;
    for (std::size_t group = 0; group < FExpanded.size(); ++group) {
        FGroupRows[group] = row++;
        if (FExpanded[group])
            row += model()->rowCount(model()->index(static_cast<int>(group), 0, rootIndex()));
    }
    FRowCount = row;
    updateGeometries();
    viewport()->update();
}

bool TCouplingTreeView::IsExpanded(int group) const {
    return group >= 0 && static_cast<std::size_t>(group) < FExpanded.size() &&
           FExpanded[static_cast<std::size_t>(group)];
}

void TCouplingTreeView::SetExpanded(int group, bool expanded) {
    if (group < 0 || static_cast<std::size_t>(group) >= FExpanded.size() ||
        IsExpanded(group) == expanded)
        return;
    FExpanded[static_cast<std::size_t>(group)] = expanded;
    // A folded group takes the selection and the focus of its entries.
    const QModelIndex groupIndex = model()->index(group, 0, rootIndex());
    if (!expanded && currentIndex().parent() == groupIndex)
        setCurrentIndex(groupIndex);
    const qint64 groupRow = FGroupRows[static_cast<std::size_t>(group)];
    Relayout();
    AnnounceRows(this,
                 expanded ? QAccessibleTableModelChangeEvent::RowsInserted
                          : QAccessibleTableModelChangeEvent::RowsRemoved,
                 groupRow + 1, groupRow + model()->rowCount(groupIndex));
}

void TCouplingTreeView::SetIndentation(int indentation) {
    FIndentation = indentation;
    viewport()->update();
}

qint64 TCouplingTreeView::RowOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != model())
        return -1;
    const QModelIndex parent = index.parent();
    if (parent == rootIndex())
        return static_cast<std::size_t>(index.row()) < FGroupRows.size()
                   ? FGroupRows[static_cast<std::size_t>(index.row())]
                   : -1;
    if (parent.parent() != rootIndex() || !IsExpanded(parent.row()))
        return -1;
    return FGroupRows[static_cast<std::size_t>(parent.row())] + 1 + index.row();
}

QModelIndex TCouplingTreeView::IndexOfRow(qint64 row) const {
    if (row < 0 || row >= FRowCount)
        return {};
    const auto after = std::ranges::upper_bound(FGroupRows, row);
    const auto group = static_cast<int>(after - FGroupRows.begin()) - 1;
    const QModelIndex groupIndex = model()->index(group, 0, rootIndex());
    const qint64 first = FGroupRows[static_cast<std::size_t>(group)];
    return row == first ? groupIndex
                        : model()->index(static_cast<int>(row - first - 1), 0, groupIndex);
}

int TCouplingTreeView::RowHeight() const {
    if (FRowHeight == 0) {
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        FRowHeight = fontMetrics().height() + 2;
        // A group and an entry, which may differ in font.
        for (const QModelIndex& index : {IndexOfRow(0), IndexOfRow(1)})
            if (index.isValid())
                FRowHeight = std::max(FRowHeight, itemDelegate()->sizeHint(option, index).height());
    }
    return FRowHeight;
}

qint64 TCouplingTreeView::TopRow() const {
    return verticalScrollBar()->value();
}

int TCouplingTreeView::RowsOnScreen() const {
    return std::max(1, viewport()->height() / RowHeight());
}

QRect TCouplingTreeView::RowRect(qint64 row) const {
    const int height = RowHeight();
    return {0, static_cast<int>(row - TopRow()) * height, viewport()->width(), height};
}

QRect TCouplingTreeView::BranchRect(qint64 row) const {
    QRect rect = RowRect(row);
    rect.setWidth(FIndentation);
    return rect;
}

QRect TCouplingTreeView::visualRect(const QModelIndex& index) const {
    const qint64 row = RowOf(index);
    if (row < 0)
        return {};
    const qint64 top = TopRow();
    // Far off the screen: a rect that says so without overflowing.
    if (row < top - RowsOnScreen() || row > top + 2 * RowsOnScreen())
        return row < top
                   ? QRect(0, -2 * RowHeight(), viewport()->width(), RowHeight())
                   : QRect(0, viewport()->height() + RowHeight(), viewport()->width(), RowHeight());
    const int indent = index.parent() == rootIndex() ? FIndentation : 2 * FIndentation;
    return RowRect(row).adjusted(indent, 0, 0, 0);
}

void TCouplingTreeView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const qint64 row = RowOf(index);
    if (row < 0)
        return;
    const qint64 shown = RowsOnScreen();
    qint64 top = TopRow();
    switch (hint) {
    case PositionAtTop:
        top = row;
        break;
    case PositionAtBottom:
        top = row - shown + 1;
        break;
    case PositionAtCenter:
        top = row - shown / 2;
        break;
    case EnsureVisible:
        if (row < top)
            top = row;
        else if (row >= top + shown)
            top = row - shown + 1;
        break;
    }
    verticalScrollBar()->setValue(static_cast<int>(std::clamp<qint64>(top, 0, INT_MAX)));
}

QModelIndex TCouplingTreeView::indexAt(const QPoint& point) const {
    if (point.y() < 0 || point.x() < 0 || point.x() >= viewport()->width())
        return {};
    return IndexOfRow(TopRow() + point.y() / RowHeight());
}

void TCouplingTreeView::keyboardSearch(const QString&) {
    // Every caption starts with its rating: a search by the first letters
    // would read millions of captions for nothing.
}

QModelIndex TCouplingTreeView::moveCursor(CursorAction action, Qt::KeyboardModifiers) {
    const QModelIndex current = currentIndex();
    const qint64 row = RowOf(current);
    if (row < 0)
        return IndexOfRow(action == MoveEnd ? FRowCount - 1 : 0);
    const bool isGroup = current.parent() == rootIndex();
    qint64 target = row;
    switch (action) {
    case MoveUp:
    case MovePrevious:
        target = row - 1;
        break;
    case MoveDown:
    case MoveNext:
        target = row + 1;
        break;
    case MovePageUp:
        target = row - RowsOnScreen();
        break;
    case MovePageDown:
        target = row + RowsOnScreen();
        break;
    case MoveHome:
        target = 0;
        break;
    case MoveEnd:
        target = FRowCount - 1;
        break;
    case MoveLeft:
        if (!isGroup)
            return current.parent();
        SetExpanded(current.row(), false);
        return current;
    case MoveRight:
        if (isGroup && !IsExpanded(current.row())) {
            SetExpanded(current.row(), true);
            return current;
        }
        target = isGroup ? row + 1 : row;
        break;
    }
    return IndexOfRow(std::clamp<qint64>(target, 0, FRowCount - 1));
}

int TCouplingTreeView::horizontalOffset() const {
    return 0;
}

int TCouplingTreeView::verticalOffset() const {
    return static_cast<int>(std::min<qint64>(TopRow() * RowHeight(), INT_MAX));
}

bool TCouplingTreeView::isIndexHidden(const QModelIndex& index) const {
    return index.isValid() && RowOf(index) < 0;
}

void TCouplingTreeView::setSelection(const QRect& rect,
                                     QItemSelectionModel::SelectionFlags command) {
    const int height = RowHeight();
    const qint64 first = TopRow() + std::max(0, rect.top()) / height;
    const qint64 last = std::min(FRowCount - 1, TopRow() + std::max(0, rect.bottom()) / height);
    // One range per group touched, whatever the number of rows.
    QItemSelection selection;
    for (std::size_t group = 0; group < FGroupRows.size(); ++group) {
        const qint64 groupRow = FGroupRows[group];
        const QModelIndex groupIndex = model()->index(static_cast<int>(group), 0, rootIndex());
        if (groupRow >= first && groupRow <= last)
            selection.select(groupIndex, groupIndex);
        if (!FExpanded[group])
            continue;
        const qint64 from = std::max(first, groupRow + 1) - groupRow - 1;
        const qint64 to = std::min<qint64>(last - groupRow - 1, model()->rowCount(groupIndex) - 1);
        if (from <= to)
            selection.select(model()->index(static_cast<int>(from), 0, groupIndex),
                             model()->index(static_cast<int>(to), 0, groupIndex));
    }
    selectionModel()->select(selection, command);
}

QRegion TCouplingTreeView::visualRegionForSelection(const QItemSelection& selection) const {
    const qint64 top = TopRow();
    const qint64 bottom = top + RowsOnScreen();
    QRegion region;
    for (const QItemSelectionRange& range : selection) {
        const qint64 first = std::max(top, RowOf(range.topLeft()));
        const qint64 last = std::min(bottom, RowOf(range.bottomRight()));
        if (RowOf(range.topLeft()) < 0 || first > last)
            continue;
        region += RowRect(first).united(RowRect(last));
    }
    return region;
}

void TCouplingTreeView::updateGeometries() {
    const int shown = RowsOnScreen();
    verticalScrollBar()->setSingleStep(1);
    verticalScrollBar()->setPageStep(shown);
    verticalScrollBar()->setRange(
        0, static_cast<int>(std::clamp<qint64>(FRowCount - shown, 0, INT_MAX)));
    QAbstractItemView::updateGeometries();
}

void TCouplingTreeView::scrollContentsBy(int, int) {
    viewport()->update();
}

void TCouplingTreeView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const qint64 top = TopRow();
    const qint64 end = std::min(FRowCount, top + RowsOnScreen() + 1);
    const QPalette::ColorGroup colours = !isEnabled()       ? QPalette::Disabled
                                         : isActiveWindow() ? QPalette::Active
                                                            : QPalette::Inactive;
    for (qint64 row = top; row < end; ++row) {
        const QModelIndex index = IndexOfRow(row);
        const bool isGroup = index.parent() == rootIndex();
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = RowRect(row).adjusted(isGroup ? FIndentation : 2 * FIndentation, 0, 0, 0);
        const bool selected = selectionModel()->isSelected(index);
        if (selected) {
            option.state |= QStyle::State_Selected;
            // The whole row, as a tree selecting rows shows it.
            painter.fillRect(RowRect(row), option.palette.brush(colours, QPalette::Highlight));
        }
        if (index == currentIndex() && hasFocus())
            option.state |= QStyle::State_HasFocus;
        itemDelegateForIndex(index)->paint(&painter, option, index);
        if (isGroup) {
            QStyleOption branch;
            branch.initFrom(this);
            branch.rect = BranchRect(row);
            branch.state = QStyle::State_Item | QStyle::State_Children;
            if (IsExpanded(index.row()))
                branch.state |= QStyle::State_Open;
            if (selected)
                branch.state |= QStyle::State_Selected;
            style()->drawPrimitive(QStyle::PE_IndicatorBranch, &branch, &painter, this);
        }
    }
}

bool TCouplingTreeView::ToggleAt(const QPoint& point) {
    const QModelIndex index = indexAt(point);
    if (!index.isValid() || index.parent() != rootIndex() || point.x() >= FIndentation)
        return false;
    SetExpanded(index.row(), !IsExpanded(index.row()));
    return true;
}

void TCouplingTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && ToggleAt(event->position().toPoint()))
        return;
    QAbstractItemView::mousePressEvent(event);
}

void TCouplingTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index.parent() == rootIndex()) {
        SetExpanded(index.row(), !IsExpanded(index.row()));
        return;
    }
    QAbstractItemView::mouseDoubleClickEvent(event);
}

void TCouplingTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QAbstractItemView::currentChanged(current, previous);
    const qint64 row = RowOf(current);
    if (QAccessible::isActive() && hasFocus() && row >= 0) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(AccessibleCount(row));
        QAccessible::updateAccessibility(&event);
    }
}

void TCouplingTreeView::selectionChanged(const QItemSelection& selected,
                                         const QItemSelection& deselected) {
    QAbstractItemView::selectionChanged(selected, deselected);
    if (!QAccessible::isActive())
        return;
    // The view selects one row at most: the first of each side tells it.
    for (const auto& [ranges, type] : {std::pair(&selected, QAccessible::SelectionAdd),
                                       std::pair(&deselected, QAccessible::SelectionRemove)}) {
        const qint64 row = ranges->isEmpty() ? -1 : RowOf(ranges->front().topLeft());
        if (row < 0)
            continue;
        QAccessibleEvent event(this, type);
        event.setChild(AccessibleCount(row));
        QAccessible::updateAccessibility(&event);
    }
}
