#include "ProjectBuilder.h"
#include "TestHost.h"
#include "UntCouplingTreeModel.h"
#include "UntFraList.h"
#include "UntFraListBar.h"
#include "UntFraTOWS.h"
#include "UntFraTOWS2.h"
#include "UntFraTOWSCouple.h"
#include "UntFraTOWSMat.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QSplitter>
#include <QTest>
#include <QTreeView>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TProject> SmallProject() {
    return MixedProject({{"A", {{0, 1}}}, {"B", {{0, 1}, {4, 5}}}, {"C", {}}});
}

} // namespace

class Workspace : public ::testing::Test {
protected:
    void SetUp() override {
        host.CurrentProject = SmallProject();
        Open();
    }

    void Open() {
        workspace = std::make_unique<TFraTOWS>(host, nullptr);
        workspace->resize(900, 600);
        workspace->show();
        workspace->UpdateView();
    }

    TProject& Project() { return *host.CurrentProject; }
    TFraTOWSMat* Matrix() { return qobject_cast<TFraTOWSMat*>(workspace->ViewFrame.data()); }
    TFraTOWSGroup* Tree() { return qobject_cast<TFraTOWSGroup*>(workspace->ViewFrame.data()); }
    QString Panel() { return workspace->FraTOWSCouple1->LbCouple->text(); }

    // Clicks the factor of that name in the list of its type.
    void ClickFactor(std::int32_t type, const QString& name) {
        QTreeWidget* list = Matrix()->List(type)->LstTOWS;
        const auto found = list->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(found[0]).center());
    }

    QStringList ListNames(std::int32_t type) {
        QTreeWidget* list = Matrix()->List(type)->LstTOWS;
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names << list->topLevelItem(i)->text(0) + " " + list->topLevelItem(i)->text(1);
        return names;
    }

    QList<bool> Checks() {
        QList<bool> checks;
        for (int i = 0; i < workspace->LstGuidelines->count(); ++i)
            checks << (workspace->LstGuidelines->item(i)->checkState() == Qt::Checked);
        return checks;
    }

    // Toggles the check mark of conclusion i as the space bar does.
    void ToggleCheck(int i) {
        workspace->LstGuidelines->setFocus();
        workspace->LstGuidelines->setCurrentRow(i);
        QTest::keyClick(workspace->LstGuidelines, Qt::Key_Space);
    }

    void ShowCouplingView() {
        ClickRadio("RGVisuCouplings");
        ASSERT_NE(Tree(), nullptr);
    }

    // Clicks a choice of the view switch on its indicator.
    void ClickRadio(const char* name) {
        auto* radio = workspace->findChild<QRadioButton*>(name);
        QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(6, radio->height() / 2));
    }

    // The tree as "group: entry, entry | group: ...".
    QString TreeText() {
        const TCouplingTreeModel* model = Tree()->Model;
        QStringList groups;
        for (int g = 0; g < model->rowCount(); ++g) {
            const QModelIndex group = model->index(g, 0);
            QStringList entries;
            for (int e = 0; e < model->rowCount(group); ++e)
                entries << model->index(e, 0, group).data().toString();
            groups << group.data().toString() + ": " + entries.join(", ");
        }
        return groups.join(" | ");
    }

    TTestHost host;
    std::unique_ptr<TFraTOWS> workspace;
};

TEST_F(Workspace, OpensOnTheFactorListsWithNothingSelected) {
    ASSERT_NE(Matrix(), nullptr);
    EXPECT_EQ(Panel(), "No coupling is selected");
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
    EXPECT_FALSE(Project().Modified);
    EXPECT_EQ(Matrix()->GroupBox1->title(), "Key factors linked to our position");
    EXPECT_EQ(Matrix()->GroupBox2->title(), "Key factors linked to our surroundings");
    EXPECT_EQ(Matrix()->List(stThreat)->ListTitle->text(), "External Threats");
    EXPECT_EQ(ListNames(stStrength), (QStringList{"S2 3", "S1 2"})) << "most important first";
    EXPECT_EQ(ListNames(stOpportunity), (QStringList{"O1 3", "O2 2"}));
    EXPECT_EQ(workspace->LbConclusions->text(), "Synthesis of conclusions");
    EXPECT_EQ(workspace->FraListBar1->findChildren<QToolButton*>().size(), 5);
}

TEST_F(Workspace, SelectingOneFactorOfEachSideSelectsTheirCoupling) {
    ClickFactor(stStrength, "S1");
    EXPECT_EQ(Panel(), "No coupling is selected");
    ClickFactor(stOpportunity, "O1");
    EXPECT_EQ(Panel(), "Rating 6/9 Piece of luck\nS1\nO1");
    EXPECT_EQ(workspace->SelectedCouple, (TTOWSCouple{0, 1}));
    EXPECT_EQ(Checks(), (QList<bool>{true, true, false}));

    // A weakness replaces the strength: partners never share a selection.
    ClickFactor(stWeakness, "W1");
    EXPECT_EQ(Matrix()->List(stStrength)->SelectedFactor(), nullptr);
    EXPECT_EQ(Panel(), "Rating 9/9 Challenge\nW1\nO1");
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));

    ClickFactor(stThreat, "T1");
    EXPECT_EQ(Matrix()->List(stOpportunity)->SelectedFactor(), nullptr);
    EXPECT_EQ(Panel(), "Rating 3/9 Danger\nW1\nT1");
    EXPECT_FALSE(Project().Modified) << "selecting changes nothing";
}

TEST_F(Workspace, CheckMarksLinkAndUnlinkOnlyTheirConclusion) {
    ToggleCheck(2);
    EXPECT_EQ(host.ScriptedSeam.Messages, QStringList{"No coupling is selected"});
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
    EXPECT_TRUE(Project().Guidelines[2]->Couples.empty());
    EXPECT_FALSE(Project().Modified);

    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ToggleCheck(1);
    EXPECT_EQ(Project().Guidelines[1]->Couples, (std::vector<TTOWSCouple>{{4, 5}}));
    EXPECT_EQ(Project().Guidelines[0]->Couples, (std::vector<TTOWSCouple>{{0, 1}}));
    EXPECT_TRUE(Project().Modified);

    ToggleCheck(2);
    EXPECT_EQ(Project().Guidelines[2]->Couples, (std::vector<TTOWSCouple>{{0, 1}}));
    EXPECT_EQ(Checks(), (QList<bool>{true, false, true}));
}

TEST_F(Workspace, AddingAConclusionNeedsASelectedCoupling) {
    QTest::mouseClick(workspace->FraListBar1->BtAdd, Qt::LeftButton);
    EXPECT_EQ(host.ScriptedSeam.Messages,
              QStringList{"Select a coupling before creating a corresponding conclusion"});
    EXPECT_EQ(host.GuidelineEdits, 0);

    ClickFactor(stWeakness, "W1");
    ClickFactor(stOpportunity, "O2");
    QTest::mouseClick(workspace->FraListBar1->BtAdd, Qt::LeftButton);
    EXPECT_EQ(Project().Guidelines.size(), 3u) << "cancelled: nothing added";
    EXPECT_FALSE(Project().Modified);

    host.GuidelineAnswer = [](TGuideline& guideline) {
        guideline.Name = "New one";
        return true;
    };
    QTest::mouseClick(workspace->FraListBar1->BtAdd, Qt::LeftButton);
    ASSERT_EQ(Project().Guidelines.size(), 4u);
    EXPECT_EQ(Project().Guidelines[3]->Name, "New one");
    EXPECT_EQ(Project().Guidelines[3]->Couples, (std::vector<TTOWSCouple>{{2, 5}}));
    EXPECT_EQ(GetGuidelineWeight(Project(), *Project().Guidelines[3]), 6);
    EXPECT_EQ(workspace->LstGuidelines->currentRow(), 3);
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false, true}));
    EXPECT_TRUE(Project().Modified);
}

TEST_F(Workspace, DeletingAFactorDropsAndRenumbersItsLinks) {
    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ClickFactor(stOpportunity, "O1");
    QTest::mouseClick(Matrix()->List(stOpportunity)->FraListBar1->BtDel, Qt::LeftButton);
    ASSERT_EQ(Project().Items.size(), 5u);
    EXPECT_TRUE(Project().Guidelines[0]->Couples.empty());
    EXPECT_EQ(Project().Guidelines[1]->Couples, (std::vector<TTOWSCouple>{{3, 4}}));
    EXPECT_EQ(Project().Guidelines.size(), 3u) << "conclusions stay";
    EXPECT_FALSE(workspace->SelectedCouple);
    EXPECT_EQ(Panel(), "No coupling is selected");
    EXPECT_EQ(ListNames(stOpportunity), QStringList{"O2 2"});
    EXPECT_TRUE(Project().Modified);
}

TEST_F(Workspace, FactorsAreAddedAndEditedThroughTheirDialog) {
    QTest::mouseClick(Matrix()->List(stThreat)->FraListBar1->BtAdd, Qt::LeftButton);
    EXPECT_EQ(Project().Items.size(), 6u) << "cancelled: nothing added";
    EXPECT_TRUE(Project().Modified) << "an addition counts even when cancelled";

    host.FactorAnswer = [](TTOWSItem& factor, bool isNew) {
        EXPECT_TRUE(isNew);
        EXPECT_EQ(factor.SwotType, stThreat);
        factor.Name = "T2";
        factor.Mark = 3;
        return true;
    };
    QTest::mouseClick(Matrix()->List(stThreat)->FraListBar1->BtAdd, Qt::LeftButton);
    EXPECT_EQ(ListNames(stThreat), (QStringList{"T2 3", "T1 1"}));

    host.FactorAnswer = [](TTOWSItem& factor, bool isNew) {
        EXPECT_FALSE(isNew);
        factor.Mark = 1;
        return true;
    };
    ClickFactor(stStrength, "S2");
    QTest::mouseClick(Matrix()->List(stStrength)->FraListBar1->BtEdit, Qt::LeftButton);
    EXPECT_EQ(ListNames(stStrength), (QStringList{"S1 2", "S2 1"}));
    EXPECT_EQ(GetCouplingRating(Project(), 4, 1), 3);
}

TEST_F(Workspace, CouplingTreeListsEveryCouplingByKindAboveTheThreshold) {
    ShowCouplingView();
    EXPECT_EQ(Tree()->findChild<QLabel*>("LbMark")->text(), "Mini. rating : 4/9");
    EXPECT_EQ(TreeText(), "Pieces of luck: 6 : S1 / O1, 4 : S1 / O2, 9 : S2 / O1, 6 : S2 / O2"
                          " | Challenges: 9 : W1 / O1, 6 : W1 / O2 | Conflicts:  | Dangers: ");
    const QModelIndex group = Tree()->Model->index(0, 0);
    EXPECT_EQ(group.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_TRUE(group.data(Qt::FontRole).value<QFont>().bold());

    Tree()->TrackBar1->setValue(5);
    EXPECT_EQ(Tree()->findChild<QLabel*>("LbMark")->text(), "Mini. rating : 6/9");
    EXPECT_EQ(TreeText(), "Pieces of luck: 6 : S1 / O1, 9 : S2 / O1, 6 : S2 / O2"
                          " | Challenges: 9 : W1 / O1, 6 : W1 / O2 | Conflicts:  | Dangers: ");

    Tree()->TrackBar1->setValue(1);
    auto* filter = Tree()->CbFilter;
    EXPECT_EQ(filter->itemText(3), "Conflicts");
    filter->setCurrentIndex(3);
    emit filter->activated(3);
    EXPECT_EQ(TreeText(), "Conflicts: 2 : S1 / T1, 3 : S2 / T1");
}

TEST_F(Workspace, ChoosingATreeEntrySelectsItsCoupling) {
    ShowCouplingView();
    QTreeView* tree = Tree()->TOWSTree;
    const QModelIndex luck = Tree()->Model->index(0, 0);
    tree->setCurrentIndex(Tree()->Model->index(1, 0, luck));
    EXPECT_EQ(Panel(), "Rating 4/9 Piece of luck\nS1\nO2");
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
    tree->setCurrentIndex(Tree()->Model->index(0, 0, luck));
    EXPECT_EQ(Checks(), (QList<bool>{true, true, false}));
    tree->setCurrentIndex(luck);
    EXPECT_EQ(Panel(), "No coupling is selected");
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
}

TEST_F(Workspace, FilterAndThresholdLastForTheRun) {
    ShowCouplingView();
    Tree()->TrackBar1->setValue(6);
    Tree()->CbFilter->setCurrentIndex(2);
    emit Tree()->CbFilter->activated(2);
    ClickRadio("RGVisuMatrix");
    ASSERT_NE(Matrix(), nullptr);
    ShowCouplingView();
    EXPECT_EQ(Tree()->TrackBar1->value(), 6);
    EXPECT_EQ(Tree()->CbFilter->currentIndex(), 2);
    EXPECT_EQ(TreeText(), "Challenges: 9 : W1 / O1");

    // Another project, another workspace: the same settings.
    host.CurrentProject = SmallProject();
    Open();
    ShowCouplingView();
    EXPECT_EQ(TreeText(), "Challenges: 9 : W1 / O1");
}

TEST_F(Workspace, SwitchingViewsClearsTheSelectedCoupling) {
    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ShowCouplingView();
    EXPECT_FALSE(workspace->SelectedCouple);
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
}

TEST_F(Workspace, ConclusionsMoveAndDelete) {
    const auto names = [this] {
        QStringList list;
        for (const auto& guideline : Project().Guidelines)
            list << guideline->Name;
        return list;
    };
    QTest::mouseClick(workspace->FraListBar1->BtDown, Qt::LeftButton);
    EXPECT_EQ(names(), (QStringList{"A", "B", "C"})) << "nothing current: nothing moves";

    workspace->LstGuidelines->setCurrentRow(0);
    QTest::mouseClick(workspace->FraListBar1->BtDown, Qt::LeftButton);
    EXPECT_EQ(names(), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(workspace->LstGuidelines->currentRow(), 1);
    EXPECT_TRUE(Project().Modified) << "a move is a change to save";
    QTest::mouseClick(workspace->FraListBar1->BtUp, Qt::LeftButton);
    QTest::mouseClick(workspace->FraListBar1->BtUp, Qt::LeftButton);
    EXPECT_EQ(names(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(workspace->LstGuidelines->currentRow(), 0);

    workspace->LstGuidelines->setCurrentRow(2);
    QTest::mouseClick(workspace->FraListBar1->BtDown, Qt::LeftButton);
    EXPECT_EQ(names(), (QStringList{"A", "B", "C"}));

    workspace->LstGuidelines->setCurrentRow(1);
    QTest::mouseClick(workspace->FraListBar1->BtDel, Qt::LeftButton);
    EXPECT_EQ(names(), (QStringList{"A", "C"}));
    EXPECT_EQ(workspace->LstGuidelines->currentRow(), 0);
    workspace->LstGuidelines->setCurrentRow(0);
    QTest::mouseClick(workspace->FraListBar1->BtDel, Qt::LeftButton);
    EXPECT_EQ(workspace->LstGuidelines->currentRow(), 0) << "the new first item";
    QTest::mouseClick(workspace->FraListBar1->BtDel, Qt::LeftButton);
    EXPECT_TRUE(Project().Guidelines.empty());
    EXPECT_EQ(workspace->LstGuidelines->currentRow(), -1);
}

TEST_F(Workspace, EditingAConclusionRenamesItsItem) {
    workspace->LstGuidelines->setCurrentRow(1);
    host.GuidelineAnswer = [](TGuideline& guideline) {
        guideline.Name = "Renamed";
        return true;
    };
    QTest::mouseClick(workspace->FraListBar1->BtEdit, Qt::LeftButton);
    EXPECT_EQ(workspace->LstGuidelines->item(1)->text(), "Renamed");
    EXPECT_TRUE(Project().Modified);
}

TEST_F(Workspace, SplitterKeepsItsRatioWhenTheWindowGrows) {
    const QSplitter* splitter = workspace->Splitter;
    const auto ratio = [splitter] {
        return static_cast<double>(splitter->sizes().front()) / splitter->width();
    };
    EXPECT_NEAR(ratio(), 0.66, 0.01);
    workspace->resize(1200, 600);
    QCoreApplication::processEvents();
    EXPECT_NEAR(ratio(), 0.66, 0.01);
    workspace->resize(700, 500);
    QCoreApplication::processEvents();
    EXPECT_NEAR(ratio(), 0.66, 0.01);
}

TEST_F(Workspace, MatrixHalvesTheFrame) {
    TFraTOWSMat* matrix = Matrix();
    QCoreApplication::processEvents();
    EXPECT_EQ(matrix->GroupBox1->height(), matrix->height() / 2);
    EXPECT_EQ(matrix->List(stStrength)->width(), matrix->width() / 2);
}
