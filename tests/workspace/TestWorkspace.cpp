#include "ProjectBuilder.h"
#include "TestHost.h"
#include "WidgetDriving.h"
#include "history/UntProjectChanges.h"
#include "workspace/UntCouplingTreeModel.h"
#include "workspace/UntElidedLabel.h"
#include "workspace/UntFraList.h"
#include "workspace/UntFraListBar.h"
#include "workspace/UntFraTOWS.h"
#include "workspace/UntFraTOWS2.h"
#include "workspace/UntFraTOWSCouple.h"
#include "workspace/UntFraTOWSMat.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>
#include <QSplitter>
#include <QTest>
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
        host.Open(SmallProject());
        Open();
    }

    void Open() {
        workspace = std::make_unique<TFraTOWS>(host, nullptr);
        workspace->resize(900, 600);
        workspace->show();
        workspace->UpdateView();
        // Laid out: the headings have their room.
        QApplication::processEvents();
    }

    const TProject& Project() { return *host.Project(); }
    TFraTOWSMat* Matrix() { return workspace->findChild<TFraTOWSMat*>("FraTOWSMat"); }
    TFraTOWSGroup* Tree() { return workspace->findChild<TFraTOWSGroup*>("FraTOWSGroup"); }
    QString Panel() { return workspace->findChild<TElidedLabel*>("LbCouple")->FullText(); }
    QListWidget* Guidelines() { return workspace->findChild<QListWidget*>("LstGuidelines"); }

    // The factor list of a type, and a button of its bar.
    TFraTOWSList* List(std::int32_t type) {
        return Matrix()->findChild<TFraTOWSList*>(QStringLiteral("FraList%1").arg(type));
    }
    QTreeWidget* Factors(std::int32_t type) {
        return List(type)->findChild<QTreeWidget*>("LstTOWS");
    }
    QToolButton* ListButton(std::int32_t type, const char* name) {
        return List(type)->findChild<QToolButton*>(name);
    }
    // The bar above the conclusions; the factor lists have bars of that name too.
    TFraListBar* GuidelineBar() {
        return workspace->findChild<QWidget*>("Panel4")->findChild<TFraListBar*>("FraListBar1");
    }
    void ClickGuidelineButton(const char* name) {
        QTest::mouseClick(GuidelineBar()->findChild<QToolButton*>(name), Qt::LeftButton);
    }

    // The coupling view's controls.
    QAbstractItemView* TreeView() { return Tree()->findChild<QAbstractItemView*>("TOWSTree"); }
    const TCouplingTreeModel* Model() {
        return qobject_cast<const TCouplingTreeModel*>(TreeView()->model());
    }
    QSlider* TrackBar() { return Tree()->findChild<QSlider*>("TrackBar1"); }
    QComboBox* Filter() { return Tree()->findChild<QComboBox*>("CbFilter"); }
    void ChooseFilter(int index) {
        Filter()->setCurrentIndex(index);
        emit Filter()->activated(index);
    }

    void ClickFactor(std::int32_t type, const QString& name) { ClickItem(Factors(type), name); }

    QStringList ListNames(std::int32_t type) { return RowTexts(Factors(type)); }

    QList<bool> Checks() {
        QList<bool> checks;
        for (int i = 0; i < Guidelines()->count(); ++i)
            checks << (Guidelines()->item(i)->checkState() == Qt::Checked);
        return checks;
    }

    // Toggles the check mark of conclusion i as the space bar does.
    void ToggleCheck(int i) {
        Guidelines()->setFocus();
        Guidelines()->setCurrentRow(i);
        QTest::keyClick(Guidelines(), Qt::Key_Space);
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
        const TCouplingTreeModel* model = Model();
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
    EXPECT_FALSE(Project().Modified());
    EXPECT_EQ(Matrix()->findChild<QGroupBox*>("GroupBox1")->title(),
              "Key factors linked to our position");
    EXPECT_EQ(Matrix()->findChild<QGroupBox*>("GroupBox2")->title(),
              "Key factors linked to our surroundings");
    EXPECT_EQ(List(stThreat)->findChild<QLabel*>("ListTitle")->text(), "External Threats");
    EXPECT_EQ(ListNames(stStrength), (QStringList{"S2 3", "S1 2"})) << "most important first";
    EXPECT_EQ(ListNames(stOpportunity), (QStringList{"O1 3", "O2 2"}));
    EXPECT_EQ(workspace->findChild<QLabel*>("LbConclusions")->text(), "Synthesis of conclusions");
    EXPECT_EQ(GuidelineBar()->findChildren<QToolButton*>().size(), 5);
}

TEST_F(Workspace, SelectingOneFactorOfEachSideSelectsTheirCoupling) {
    ClickFactor(stStrength, "S1");
    EXPECT_EQ(Panel(), "No coupling is selected");
    ClickFactor(stOpportunity, "O1");
    EXPECT_EQ(Panel(), "Rating 6/9 Piece of luck\nS1\nO1");
    EXPECT_EQ(workspace->SelectedCouple(), (TTOWSCouple{0, 1}));
    EXPECT_EQ(Checks(), (QList<bool>{true, true, false}));

    // A weakness replaces the strength: partners never share a selection.
    ClickFactor(stWeakness, "W1");
    EXPECT_EQ(List(stStrength)->SelectedFactor(), nullptr);
    EXPECT_EQ(Panel(), "Rating 9/9 Challenge\nW1\nO1");
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));

    ClickFactor(stThreat, "T1");
    EXPECT_EQ(List(stOpportunity)->SelectedFactor(), nullptr);
    EXPECT_EQ(Panel(), "Rating 3/9 Danger\nW1\nT1");
    EXPECT_FALSE(Project().Modified()) << "selecting changes nothing";
}

TEST_F(Workspace, CheckMarksLinkAndUnlinkOnlyTheirConclusion) {
    ToggleCheck(2);
    EXPECT_EQ(host.ScriptedSeam.Messages, QStringList{"No coupling is selected"});
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
    EXPECT_TRUE(Project().Guidelines[2]->Couples.empty());
    EXPECT_FALSE(Project().Modified());

    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ToggleCheck(1);
    EXPECT_EQ(Project().Guidelines[1]->Couples, (std::vector<TTOWSCouple>{{4, 5}}));
    EXPECT_EQ(Project().Guidelines[0]->Couples, (std::vector<TTOWSCouple>{{0, 1}}));
    EXPECT_TRUE(Project().Modified());

    ToggleCheck(2);
    EXPECT_EQ(Project().Guidelines[2]->Couples, (std::vector<TTOWSCouple>{{0, 1}}));
    EXPECT_EQ(Checks(), (QList<bool>{true, false, true}));
}

// Filling a view sets its controls by program: check marks, selections, the
// filter. None of that is the user's edit: it neither changes the project nor
// asks anything. A frame is live once filled: the user's clicks then count.
TEST_F(Workspace, FillingTheViewsTakesNoEditFromThem) {
    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ASSERT_EQ(Checks(), (QList<bool>{true, true, false}));
    workspace->ShowChange({TChangeScope::Properties});
    ShowCouplingView();
    TreeView()->setCurrentIndex(Model()->index(0, 0, Model()->index(0, 0)));
    ASSERT_EQ(Checks(), (QList<bool>{true, true, false}));
    workspace->ShowChange({TChangeScope::Factors});
    ClickRadio("RGVisuMatrix");
    Open();
    EXPECT_FALSE(Project().Modified());
    EXPECT_EQ(host.Document()->count(), 0) << "no step to undo";
    EXPECT_TRUE(host.ScriptedSeam.Messages.isEmpty())
        << host.ScriptedSeam.Messages.join('\n').toStdString();

    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ToggleCheck(2);
    EXPECT_EQ(Project().Guidelines[2]->Couples, (std::vector<TTOWSCouple>{{0, 1}}));
    EXPECT_EQ(host.Document()->count(), 1);
}

TEST_F(Workspace, AddingAConclusionNeedsASelectedCoupling) {
    ClickGuidelineButton("BtAdd");
    EXPECT_EQ(host.ScriptedSeam.Messages,
              QStringList{"Select a coupling before creating a corresponding conclusion"});
    EXPECT_EQ(host.GuidelineEdits, 0);

    ClickFactor(stWeakness, "W1");
    ClickFactor(stOpportunity, "O2");
    host.GuidelineAnswer = [](TGuideline&) {
        return false;
    };
    ClickGuidelineButton("BtAdd");
    EXPECT_EQ(Project().Guidelines.size(), 3u) << "cancelled: nothing added";
    EXPECT_FALSE(Project().Modified());

    host.GuidelineAnswer = [](TGuideline& guideline) {
        guideline.Name = "New one";
        return true;
    };
    ClickGuidelineButton("BtAdd");
    ASSERT_EQ(Project().Guidelines.size(), 4u);
    EXPECT_EQ(Project().Guidelines[3]->Name, "New one");
    EXPECT_EQ(Project().Guidelines[3]->Couples, (std::vector<TTOWSCouple>{{2, 5}}));
    EXPECT_EQ(GetGuidelineWeight(Project(), *Project().Guidelines[3]), 6);
    EXPECT_EQ(Guidelines()->currentRow(), 3);
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false, true}));
    EXPECT_TRUE(Project().Modified());
}

TEST_F(Workspace, DeletingAFactorDropsAndRenumbersItsLinks) {
    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ClickFactor(stOpportunity, "O1");
    QTest::mouseClick(ListButton(stOpportunity, "BtDel"), Qt::LeftButton);
    ASSERT_EQ(Project().Items.size(), 5u);
    EXPECT_TRUE(Project().Guidelines[0]->Couples.empty());
    EXPECT_EQ(Project().Guidelines[1]->Couples, (std::vector<TTOWSCouple>{{3, 4}}));
    EXPECT_EQ(Project().Guidelines.size(), 3u) << "conclusions stay";
    EXPECT_FALSE(workspace->SelectedCouple());
    EXPECT_EQ(Panel(), "No coupling is selected");
    EXPECT_EQ(ListNames(stOpportunity), QStringList{"O2 2"});
    EXPECT_TRUE(Project().Modified());
}

TEST_F(Workspace, FactorsAreAddedAndEditedThroughTheirDialog) {
    host.FactorAnswer = [](TTOWSItem&, bool) {
        return false;
    };
    QTest::mouseClick(ListButton(stThreat, "BtAdd"), Qt::LeftButton);
    EXPECT_EQ(Project().Items.size(), 6u) << "cancelled: nothing added";
    EXPECT_FALSE(Project().Modified()) << "a cancelled addition changes nothing";

    host.FactorAnswer = [](TTOWSItem& factor, bool isNew) {
        EXPECT_TRUE(isNew);
        EXPECT_EQ(factor.SwotType, stThreat);
        factor.Name = "T2";
        factor.Mark = 3;
        return true;
    };
    QTest::mouseClick(ListButton(stThreat, "BtAdd"), Qt::LeftButton);
    EXPECT_EQ(ListNames(stThreat), (QStringList{"T2 3", "T1 1"}));

    host.FactorAnswer = [](TTOWSItem& factor, bool isNew) {
        EXPECT_FALSE(isNew);
        factor.Mark = 1;
        return true;
    };
    ClickFactor(stStrength, "S2");
    QTest::mouseClick(ListButton(stStrength, "BtEdit"), Qt::LeftButton);
    EXPECT_EQ(ListNames(stStrength), (QStringList{"S1 2", "S2 1"}));
    EXPECT_EQ(GetCouplingRating(Project(), 4, 1), 3);
}

TEST_F(Workspace, CouplingTreeListsEveryCouplingByKindAboveTheThreshold) {
    ShowCouplingView();
    EXPECT_EQ(Tree()->findChild<QLabel*>("LbMark")->text(), "Mini. rating : 4/9");
    EXPECT_EQ(TreeText(), "Pieces of luck: 6 : S1 / O1, 4 : S1 / O2, 9 : S2 / O1, 6 : S2 / O2"
                          " | Challenges: 9 : W1 / O1, 6 : W1 / O2 | Conflicts:  | Dangers: ");
    const QModelIndex group = Model()->index(0, 0);
    EXPECT_EQ(group.data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_TRUE(group.data(Qt::FontRole).value<QFont>().bold());

    TrackBar()->setValue(5);
    EXPECT_EQ(Tree()->findChild<QLabel*>("LbMark")->text(), "Mini. rating : 6/9");
    EXPECT_EQ(TreeText(), "Pieces of luck: 6 : S1 / O1, 9 : S2 / O1, 6 : S2 / O2"
                          " | Challenges: 9 : W1 / O1, 6 : W1 / O2 | Conflicts:  | Dangers: ");

    TrackBar()->setValue(1);
    EXPECT_EQ(Filter()->itemText(3), "Conflicts");
    ChooseFilter(3);
    EXPECT_EQ(TreeText(), "Conflicts: 2 : S1 / T1, 3 : S2 / T1");
}

TEST_F(Workspace, ChoosingATreeEntrySelectsItsCoupling) {
    ShowCouplingView();
    QAbstractItemView* tree = TreeView();
    const QModelIndex luck = Model()->index(0, 0);
    tree->setCurrentIndex(Model()->index(1, 0, luck));
    EXPECT_EQ(Panel(), "Rating 4/9 Piece of luck\nS1\nO2");
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
    tree->setCurrentIndex(Model()->index(0, 0, luck));
    EXPECT_EQ(Checks(), (QList<bool>{true, true, false}));
    tree->setCurrentIndex(luck);
    EXPECT_EQ(Panel(), "No coupling is selected");
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
}

TEST_F(Workspace, FilterAndThresholdLastForTheRun) {
    ShowCouplingView();
    TrackBar()->setValue(6);
    ChooseFilter(2);
    ClickRadio("RGVisuMatrix");
    ASSERT_NE(Matrix(), nullptr);
    ShowCouplingView();
    EXPECT_EQ(TrackBar()->value(), 6);
    EXPECT_EQ(Filter()->currentIndex(), 2);
    EXPECT_EQ(TreeText(), "Challenges: 9 : W1 / O1");

    // Another project, another workspace: the same settings.
    host.Open(SmallProject());
    Open();
    ShowCouplingView();
    EXPECT_EQ(TreeText(), "Challenges: 9 : W1 / O1");
}

TEST_F(Workspace, SwitchingViewsClearsTheSelectedCoupling) {
    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    ShowCouplingView();
    EXPECT_FALSE(workspace->SelectedCouple());
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
}

TEST_F(Workspace, ConclusionsMoveAndDelete) {
    const auto names = [this] {
        QStringList list;
        for (const auto& guideline : Project().Guidelines)
            list << guideline->Name;
        return list;
    };
    ClickGuidelineButton("BtDown");
    EXPECT_EQ(names(), (QStringList{"A", "B", "C"})) << "nothing current: nothing moves";

    Guidelines()->setCurrentRow(0);
    ClickGuidelineButton("BtDown");
    EXPECT_EQ(names(), (QStringList{"B", "A", "C"}));
    EXPECT_EQ(Guidelines()->currentRow(), 1);
    EXPECT_TRUE(Project().Modified()) << "a move is a change to save";
    ClickGuidelineButton("BtUp");
    ClickGuidelineButton("BtUp");
    EXPECT_EQ(names(), (QStringList{"A", "B", "C"}));
    EXPECT_EQ(Guidelines()->currentRow(), 0);

    Guidelines()->setCurrentRow(2);
    ClickGuidelineButton("BtDown");
    EXPECT_EQ(names(), (QStringList{"A", "B", "C"}));

    Guidelines()->setCurrentRow(1);
    ClickGuidelineButton("BtDel");
    EXPECT_EQ(names(), (QStringList{"A", "C"}));
    EXPECT_EQ(Guidelines()->currentRow(), 0);
    Guidelines()->setCurrentRow(0);
    ClickGuidelineButton("BtDel");
    EXPECT_EQ(Guidelines()->currentRow(), 0) << "the new first item";
    ClickGuidelineButton("BtDel");
    EXPECT_TRUE(Project().Guidelines.empty());
    EXPECT_EQ(Guidelines()->currentRow(), -1);
}

TEST_F(Workspace, EditingAConclusionRenamesItsItem) {
    Guidelines()->setCurrentRow(1);
    host.GuidelineAnswer = [](TGuideline& guideline) {
        guideline.Name = "Renamed";
        return true;
    };
    ClickGuidelineButton("BtEdit");
    EXPECT_EQ(Guidelines()->item(1)->text(), "Renamed");
    EXPECT_TRUE(Project().Modified());
}

TEST_F(Workspace, SplitterKeepsItsRatioWhenTheWindowGrows) {
    const QSplitter* splitter = workspace->findChild<QSplitter*>("PnlSplit");
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
    EXPECT_EQ(matrix->findChild<QGroupBox*>("GroupBox1")->height(), matrix->height() / 2);
    EXPECT_EQ(List(stStrength)->width(), matrix->width() / 2);
}

// Long texts are cut, never widening the window, and marked-up texts show
// as typed; the coupling panel keeps one height.
TEST_F(Workspace, UserTextsShowAsTypedWithinTheWindow) {
    const QString title = "<b>Bold?</b> title & co " + QString("x").repeated(300);
    const QString longName = QString("Very long factor name ").repeated(12);
    auto project = SmallProject();
    project->Title = title;
    project->Items[0]->Name = longName;
    project->Labels.SetValue(hdInternalFactors, QString("Heading ").repeated(40));
    project->Labels.SetValue(hdConclusions, QString("Conclusions ").repeated(40));
    host.Open(std::move(project));
    Open();

    EXPECT_LT(workspace->minimumSizeHint().width(), 900);
    auto* band = workspace->findChild<TElidedLabel*>("LbTitle");
    EXPECT_TRUE(band->text().startsWith("<b>Bold?</b> title & co x")) << band->text().toStdString();
    EXPECT_TRUE(band->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(band->textFormat(), Qt::PlainText);
    EXPECT_EQ(band->toolTip(), title);
    EXPECT_EQ(Matrix()->findChild<QGroupBox*>("GroupBox1")->toolTip(),
              Project().Labels.Value(hdInternalFactors));

    auto* panel = workspace->findChild<TElidedLabel*>("LbCouple");
    const int height = panel->height();
    ClickFactor(stStrength, longName);
    ClickFactor(stOpportunity, "O1");
    EXPECT_TRUE(panel->text().startsWith("Rating 6/9 Piece of luck\nVery long factor name"));
    EXPECT_EQ(panel->toolTip(), "Rating 6/9 Piece of luck\n" + longName + "\nO1");
    EXPECT_EQ(panel->height(), height);
}

// Commands act on what is highlighted, and nothing acts on what is not shown.
TEST_F(Workspace, CommandsActOnlyOnWhatIsHighlighted) {
    // A click in the empty part of the conclusions takes the highlight away;
    // the row that stays current is no longer acted on.
    QListWidget* list = Guidelines();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    ASSERT_EQ(list->selectedItems().size(), 1);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      QPoint(10, list->viewport()->height() - 5));
    EXPECT_TRUE(list->selectedItems().isEmpty());
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Delete);
    ClickGuidelineButton("BtDel");
    ClickGuidelineButton("BtDown");
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(Project().Guidelines.size(), 3u);
    EXPECT_EQ(host.GuidelineEdits, 0);
    EXPECT_FALSE(Project().Modified());

    // After a factor command no coupling is selected: the lists show none,
    // and a check mark cannot link a coupling nobody sees.
    ClickFactor(stStrength, "S1");
    ClickFactor(stOpportunity, "O1");
    host.FactorAnswer = [](TTOWSItem& factor, bool) {
        factor.Mark = 1;
        return true;
    };
    QTest::mouseClick(ListButton(stOpportunity, "BtEdit"), Qt::LeftButton);
    EXPECT_EQ(Panel(), "No coupling is selected");
    EXPECT_FALSE(workspace->SelectedCouple());
    EXPECT_EQ(Checks(), (QList<bool>{false, false, false}));
    ToggleCheck(2);
    EXPECT_TRUE(Project().Guidelines[2]->Couples.empty());

    // Ctrl+click on the highlighted entry of the coupling view clears the
    // coupling; the view choice already checked changes nothing.
    ShowCouplingView();
    QAbstractItemView* tree = TreeView();
    const QModelIndex entry = Model()->index(0, 0, Model()->index(0, 0));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(entry).center());
    ASSERT_TRUE(workspace->SelectedCouple());
    ClickRadio("RGVisuCouplings");
    EXPECT_TRUE(workspace->SelectedCouple()) << "the view stays, with its selection";
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      tree->visualRect(entry).center());
    EXPECT_FALSE(workspace->SelectedCouple());
    EXPECT_EQ(Panel(), "No coupling is selected");
}

TEST_F(Workspace, FactorListsTakeInsertDeleteAndEnter) {
    QTreeWidget* threats = Factors(stThreat);
    threats->setFocus();
    host.FactorAnswer = [](TTOWSItem& factor, bool isNew) {
        if (isNew)
            factor.Name = "T2";
        else
            factor.Name += " edited";
        return true;
    };
    QTest::keyClick(threats, Qt::Key_Insert);
    EXPECT_EQ(ListNames(stThreat), (QStringList{"T2 2", "T1 1"}));

    ClickFactor(stThreat, "T1");
    QTest::keyClick(threats, Qt::Key_Return);
    EXPECT_EQ(ListNames(stThreat), (QStringList{"T2 2", "T1 edited 1"}));
    EXPECT_EQ(host.FactorEdits, 2) << "Enter edits once";

    ClickFactor(stThreat, "T2");
    QTest::keyClick(threats, Qt::Key_Delete);
    EXPECT_EQ(ListNames(stThreat), (QStringList{"T1 edited 1"}));
}

// A screen reader tells the buttons of the five lists apart.
TEST_F(Workspace, ListButtonsNameWhatTheyActOn) {
    EXPECT_EQ(ListButton(stStrength, "BtAdd")->accessibleName(), "Add a strength");
    EXPECT_EQ(ListButton(stOpportunity, "BtEdit")->accessibleName(),
              "Edit the selected opportunity");
    EXPECT_EQ(ListButton(stThreat, "BtDel")->accessibleName(), "Delete the selected threat");
    EXPECT_EQ(GuidelineBar()->findChild<QToolButton*>("BtUp")->accessibleName(),
              "Move the selected conclusion up");
    QStringList names;
    for (const TFraListBar* bar : workspace->findChildren<TFraListBar*>())
        for (const QToolButton* button : bar->findChildren<QToolButton*>())
            names << button->accessibleName();
    EXPECT_EQ(names.size(), 4 * 3 + 5);
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 4 * 3 + 5) << "every name its own";
}
