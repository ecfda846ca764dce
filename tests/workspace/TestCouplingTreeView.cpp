// The coupling tree's view: drawn from the rows on screen only, its groups
// folded and unfolded by mouse and keyboard.
#include "workspace/UntCouplingTreeView.h"

#include <QAbstractItemModel>
#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Groups of entries that cost nothing to hold; counts what the view reads.
class TCountingTree : public QAbstractItemModel {
public:
    TCountingTree(int groups, int entries) : FGroups(groups), FEntries(entries) {}

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override {
        if (!hasIndex(row, column, parent))
            return {};
        return createIndex(row, column, parent.isValid() ? quintptr(parent.row()) + 1 : 0);
    }
    QModelIndex parent(const QModelIndex& child) const override {
        if (!child.isValid() || child.internalId() == 0)
            return {};
        return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr(0));
    }
    int rowCount(const QModelIndex& parent = {}) const override {
        if (!parent.isValid())
            return FGroups;
        return parent.internalId() == 0 ? FEntries : 0;
    }
    int columnCount(const QModelIndex& = {}) const override { return 1; }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole)
            return {};
        ++Reads;
        return index.internalId() == 0
                   ? QStringLiteral("Group %1").arg(index.row())
                   : QStringLiteral("Entry %1.%2").arg(index.internalId() - 1).arg(index.row());
    }

    mutable qint64 Reads = 0;

private:
    int FGroups;
    int FEntries;
};

struct TShownView {
    TShownView(int groups, int entries) : model(groups, entries) {
        view.setModel(&model);
        view.resize(400, 300);
        view.show();
        view.setFocus();
        view.viewport()->grab();
    }
    QString Current() const { return view.currentIndex().data().toString(); }
    // The text of the row drawn at that height of the viewport.
    QString At(int y) const { return view.indexAt({40, y}).data().toString(); }

    TCountingTree model;
    TCouplingTreeView view;
};

} // namespace

// Four groups of ten million entries: the view draws and moves to the end
// reading about a screenful of captions, not the groups.
TEST(CouplingTreeView, ReadsOnlyTheRowsOnScreen) {
    TShownView shown(4, 10'000'000);
    EXPECT_LT(shown.model.Reads, 1'000);
    EXPECT_EQ(shown.At(1), "Group 0");

    QTest::keyClick(&shown.view, Qt::Key_End);
    shown.view.viewport()->grab();
    EXPECT_EQ(shown.Current(), "Entry 3.9999999");
    EXPECT_TRUE(
        shown.view.viewport()->rect().contains(shown.view.visualRect(shown.view.currentIndex())));
    QTest::keyClick(&shown.view, Qt::Key_PageUp);
    QTest::keyClick(&shown.view, Qt::Key_Home);
    shown.view.viewport()->grab();
    EXPECT_EQ(shown.Current(), "Group 0");
    EXPECT_LT(shown.model.Reads, 3'000);
}

// A click on a group's branch mark folds it and a second unfolds it; Left
// folds the current group, Right unfolds it and then goes to its first entry.
TEST(CouplingTreeView, FoldsAGroupByItsBranchMarkAndByArrows) {
    TShownView shown(2, 3);
    const int row = shown.view.visualRect(shown.model.index(0, 0)).height();
    const QPoint branch(shown.view.Indentation() / 2, row / 2);
    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, branch);
    EXPECT_FALSE(shown.view.IsExpanded(0));
    EXPECT_EQ(shown.At(row + row / 2), "Group 1");
    QTest::mouseClick(shown.view.viewport(), Qt::LeftButton, {}, branch);
    EXPECT_EQ(shown.At(row + row / 2), "Entry 0.0");

    shown.view.setCurrentIndex(shown.model.index(1, 0));
    QTest::keyClick(&shown.view, Qt::Key_Left);
    EXPECT_FALSE(shown.view.IsExpanded(1));
    QTest::keyClick(&shown.view, Qt::Key_Up);
    EXPECT_EQ(shown.Current(), "Entry 0.2");
    QTest::keyClick(&shown.view, Qt::Key_Down);
    QTest::keyClick(&shown.view, Qt::Key_Right);
    EXPECT_TRUE(shown.view.IsExpanded(1));
    EXPECT_EQ(shown.Current(), "Group 1");
    QTest::keyClick(&shown.view, Qt::Key_Right);
    EXPECT_EQ(shown.Current(), "Entry 1.0");
    QTest::keyClick(&shown.view, Qt::Key_Left);
    EXPECT_EQ(shown.Current(), "Group 1");
}

// A screen reader reads the view as a tree of rows named by their captions,
// follows a fold, and finds the current row as the keys move it; a row far
// down a group of millions is read without reading the rest.
TEST(CouplingTreeView, ScreenReadersReadItsRowsAndTheCurrentOne) {
    TShownView shown(2, 2);
    shown.view.setAccessibleName(QStringLiteral("Couplings"));
    QAccessibleInterface* tree = QAccessible::queryAccessibleInterface(&shown.view);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->role(), QAccessible::Tree);
    EXPECT_EQ(tree->text(QAccessible::Name), "Couplings");
    ASSERT_NE(tree->tableInterface(), nullptr);
    const auto rows = [tree] {
        QStringList names;
        for (int i = 0; i < tree->childCount(); ++i) {
            QAccessibleInterface* row = tree->child(i);
            EXPECT_EQ(row->parent(), tree);
            EXPECT_EQ(tree->indexOfChild(row), i);
            EXPECT_EQ(tree->tableInterface()->cellAt(i, 0), row);
            names << row->text(QAccessible::Name);
        }
        EXPECT_EQ(tree->tableInterface()->rowCount(), names.size());
        return names;
    };
    EXPECT_EQ(rows(), (QStringList{"Group 0", "Entry 0.0", "Entry 0.1", "Group 1", "Entry 1.0",
                                   "Entry 1.1"}));
    EXPECT_TRUE(tree->child(0)->state().expanded);
    EXPECT_FALSE(tree->child(1)->state().expandable);

    ASSERT_TRUE(QTest::qWaitForWindowActive(&shown.view));
    shown.view.setCurrentIndex(shown.model.index(0, 0));
    QTest::keyClick(&shown.view, Qt::Key_Left);
    EXPECT_EQ(rows(), (QStringList{"Group 0", "Group 1", "Entry 1.0", "Entry 1.1"}))
        << "the folded group's entries are gone";
    EXPECT_TRUE(tree->child(0)->state().collapsed);

    for (const int downs : {1, 2}) {
        QTest::keyClick(&shown.view, Qt::Key_Down);
        QAccessibleInterface* current = tree->focusChild();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current->text(QAccessible::Name), shown.Current());
        EXPECT_EQ(tree->indexOfChild(current), downs);
        EXPECT_TRUE(current->state().focused);
        EXPECT_TRUE(current->state().selected);
        EXPECT_EQ(tree->tableInterface()->selectedRows(), QList<int>{downs});
        EXPECT_FALSE(tree->child(downs - 1)->state().focused);
    }

    TShownView huge(4, 10'000'000);
    QAccessibleInterface* big = QAccessible::queryAccessibleInterface(&huge.view);
    const qint64 before = huge.model.Reads;
    EXPECT_EQ(big->childCount(), 40'000'004);
    EXPECT_EQ(big->child(40'000'003)->text(QAccessible::Name), "Entry 3.9999999");
    EXPECT_LT(huge.model.Reads - before, 10);
}
