// The strategy matrix, the third view of the workspace.
#include "ProjectBuilder.h"
#include "TestHost.h"
#include "history/UntProjectChanges.h"
#include "workspace/UntFraStrategies.h"
#include "workspace/UntFraTOWS.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

class StrategyView : public ::testing::Test {
protected:
    // Positions of MixedProject: S1 0 (mark 2), O1 1 (3), W1 2 (3), T1 3 (1),
    // S2 4 (3), O2 5 (2).
    void SetUp() override {
        host.Open(MixedProject({{"A", {{0, 1}}}, {"B", {{0, 1}, {4, 5}}}, {"C", {}}}));
        workspace = std::make_unique<TFraTOWS>(host, nullptr);
        workspace->resize(1000, 700);
        workspace->show();
        workspace->UpdateView();
        auto* choice = workspace->findChild<QRadioButton*>("RGVisuStrategies");
        QTest::mouseClick(choice, Qt::LeftButton, {}, QPoint(6, choice->height() / 2));
        ASSERT_NE(View(), nullptr);
        QApplication::processEvents();
    }

    TFraStrategies* View() { return workspace->findChild<TFraStrategies*>("FraStrategies"); }
    TDocument& Document() { return *host.Document(); }
    const TProject& Project() { return *host.Project(); }

    // Strategies 1 .. 4 in the order of the kinds; 0 the conclusions apart.
    QTreeWidget* List(int strategy) {
        return View()->findChild<QTreeWidget*>(strategy == 0
                                                   ? QStringLiteral("LstUnplaced")
                                                   : QStringLiteral("LstStrategy%1").arg(strategy));
    }
    // A list's rows, their columns joined by a blank: "12 B".
    QStringList Rows(int strategy) {
        QStringList rows;
        QTreeWidget* list = List(strategy);
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QStringList columns;
            for (int c = 0; c < list->columnCount(); ++c)
                columns << list->topLevelItem(i)->text(c);
            rows << columns.join(' ').trimmed();
        }
        return rows;
    }
    // Every strategy and the conclusions apart, as "strategy: rows | ...".
    QString Matrix() {
        QStringList strategies;
        for (int s = 1; s <= 4; ++s)
            strategies
                << View()->findChild<QLabel*>(QStringLiteral("LbStrategy%1").arg(s))->text() +
                       ": " + Rows(s).join(", ");
        if (!List(0)->isHidden())
            strategies << "apart: " + Rows(0).join(", ");
        return strategies.join(" | ");
    }

    QTreeWidgetItem* Item(int strategy, const QString& name) {
        const auto found = List(strategy)->findItems(name, Qt::MatchExactly, strategy == 0 ? 0 : 1);
        EXPECT_EQ(found.size(), 1) << name.toStdString();
        return found.value(0);
    }
    // As a user does: the first click, then the second that makes it double.
    void DoubleClick(int strategy, const QString& name) {
        QTreeWidget* list = List(strategy);
        const QPoint at = list->visualItemRect(Item(strategy, name)).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    }

    TTestHost host;
    std::unique_ptr<TFraTOWS> workspace;
};

// The view shows the strategies of the project as it is after every change,
// and after its undoing, without being made anew.
TEST_F(StrategyView, FollowsEveryChangeOfTheProject) {
    EXPECT_EQ(Matrix(), "Pieces of luck: 12 B, 6 A | Challenges: No conclusion | "
                        "Conflicts: No conclusion | Dangers: No conclusion | apart: C");
    EXPECT_EQ(View()->findChild<QLabel*>("LbRow2")->text(), "Our weaknesses");
    EXPECT_EQ(View()->findChild<QLabel*>("LbColumn2")->text(), "External Threats");
    EXPECT_EQ(workspace->SelectedCouple(), std::nullopt);
    const TFraStrategies* view = View();

    const struct {
        std::function<void()> change;
        QString matrix;
    } steps[] = {
        {[&] {
             Document().Apply(LinkChange(Document(), 2, {2, 3}, true));
         },
         "Pieces of luck: 12 B, 6 A | Challenges: No conclusion | Conflicts: No conclusion | "
         "Dangers: 3 C"},
        {[&] {
             TTOWSItem raised = *Project().Items[0];
             raised.Mark = 3;
             Document().Apply(EditFactorChange(Document(), 0, raised));
         },
         "Pieces of luck: 15 B, 9 A | Challenges: No conclusion | Conflicts: No conclusion | "
         "Dangers: 3 C"},
        {[&] {
             auto added = std::make_unique<TGuideline>();
             added->Name = "D";
             added->Couples = {{2, 1}, {4, 1}, {4, 1}};
             Document().Apply(AddGuidelineChange(Document(), std::move(added)));
         },
         "Pieces of luck: 18 D, 15 B, 9 A | Challenges: 9 D | Conflicts: No conclusion | "
         "Dangers: 3 C"},
        {[&] { Document().Apply(DeleteGuidelineChange(Document(), 1)); },
         "Pieces of luck: 18 D, 9 A | Challenges: 9 D | Conflicts: No conclusion | "
         "Dangers: 3 C"},
        {[&] { Document().undo(); },
         "Pieces of luck: 18 D, 15 B, 9 A | Challenges: 9 D | Conflicts: No conclusion | "
         "Dangers: 3 C"},
        {[&] { Document().Apply(DeleteFactorChange(Document(), 2)); },
         "Pieces of luck: 18 D, 15 B, 9 A | Challenges: No conclusion | "
         "Conflicts: No conclusion | Dangers: No conclusion | apart: C"},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_EQ(Matrix(), step.matrix);
    }
    EXPECT_EQ(View(), view) << "the same view throughout";

    TLabels labels = Project().Labels;
    labels.SetValue(hdPiecesOfLuck, "Seize");
    labels.SetValue(hdWeaknesses, "Gaps");
    Document().Apply(PropertiesChange(Document(), {"Plan", {}, labels}));
    ASSERT_NE(View(), nullptr) << "the strategies stay shown";
    EXPECT_EQ(View()->findChild<QLabel*>("LbStrategy1")->text(), "Seize");
    EXPECT_EQ(View()->findChild<QLabel*>("LbRow2")->text(), "Gaps");
    EXPECT_EQ(List(1)->accessibleName(), "Seize");
}

// A double click or Enter on a conclusion opens its dialog; what the user
// accepts is one step of the history, and the conclusion stays current.
// Cancel changes nothing; the line of an empty strategy opens nothing.
TEST_F(StrategyView, ActivatingAConclusionEditsIt) {
    host.GuidelineAnswer = [](TGuideline& guideline) {
        guideline.Name += "+";
        return true;
    };
    DoubleClick(1, "A");
    EXPECT_EQ(Project().Guidelines[0]->Name, "A+");
    EXPECT_EQ(Rows(1), (QStringList{"12 B", "6 A+"}));
    ASSERT_NE(List(1)->currentItem(), nullptr);
    EXPECT_EQ(List(1)->currentItem()->text(1), "A+");
    EXPECT_EQ(Document().count(), 1);

    DoubleClick(0, "C");
    EXPECT_EQ(Project().Guidelines[2]->Name, "C+");

    List(1)->setFocus();
    List(1)->setCurrentItem(Item(1, "B"));
    QTest::keyClick(List(1), Qt::Key_Return);
    EXPECT_EQ(Project().Guidelines[1]->Name, "B+");
    EXPECT_EQ(Document().count(), 3);

    host.GuidelineAnswer = [](TGuideline& guideline) {
        guideline.Name = "never";
        return false;
    };
    DoubleClick(1, "B+");
    EXPECT_EQ(Project().Guidelines[1]->Name, "B+");
    EXPECT_EQ(Document().count(), 3);
    EXPECT_EQ(host.GuidelineEdits, 4);

    DoubleClick(2, "No conclusion");
    EXPECT_EQ(host.GuidelineEdits, 4);
    EXPECT_TRUE(host.ScriptedSeam.Messages.isEmpty());
}
