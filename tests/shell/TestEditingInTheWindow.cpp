#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "WidgetDriving.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"
#include "workspace/UntFraList.h"
#include "workspace/UntFraListBar.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>

// Factors and conclusions written through the real dialogs of the real main
// window: the glue between the workspace, the window and the dialogs.
class EditingInTheWindow : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Window->StartUp({"-n"}));
        Window->resize(1000, 700);
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    }

    const TProject& Project() { return *Window->Project(); }

    TFraTOWSList* List(std::int32_t type) {
        return Workspace()->findChild<TFraTOWSList*>(QStringLiteral("FraList%1").arg(type));
    }
    QTreeWidget* Factors(std::int32_t type) {
        return List(type)->findChild<QTreeWidget*>("LstTOWS");
    }
    void ClickListButton(std::int32_t type, const char* name) {
        QTest::mouseClick(List(type)->findChild<QToolButton*>(name), Qt::LeftButton);
    }
    QListWidget* Guidelines() { return Workspace()->findChild<QListWidget*>("LstGuidelines"); }
    void ClickGuidelineButton(const char* name) {
        QTest::mouseClick(Workspace()
                              ->findChild<QWidget*>("Panel4")
                              ->findChild<TFraListBar*>("FraListBar1")
                              ->findChild<QToolButton*>(name),
                          Qt::LeftButton);
    }

    void ClickFactor(std::int32_t type, const QString& name) { ClickItem(Factors(type), name); }

    QStringList ListNames(std::int32_t type) { return RowTexts(Factors(type)); }

    // Answers the next dialog by writing a wording, a mark choice (0 is
    // high, -1 leaves it) and a comment, then pressing OK.
    void Write(const QString& wording, int mark = -1, const QString& comment = {}) {
        Seam->ActInDialog([=](QDialog& dialog) {
            dialog.findChild<QLineEdit*>("EdName")->setText(wording);
            if (mark >= 0)
                dialog.findChild<QRadioButton*>(QStringLiteral("ChMark%1").arg(mark))->click();
            if (!comment.isEmpty())
                QTest::keyClicks(dialog.findChild<QTextEdit*>("MmMemo"), comment);
            QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
        });
    }
};

TEST_F(EditingInTheWindow, FactorsAreAddedAndEditedThroughTheirDialog) {
    Write("Local flour", 0, "Milled nearby");
    ClickListButton(stStrength, "BtAdd");
    EXPECT_EQ(Seam->Dialogs, QStringList{"FrmTOWSItem"});
    ASSERT_EQ(Project().Items.size(), 1u);
    const TTOWSItem& flour = *Project().Items[0];
    EXPECT_EQ(flour.Name, "Local flour");
    EXPECT_EQ(flour.SwotType, stStrength);
    EXPECT_EQ(flour.Mark, 3);
    EXPECT_EQ(RtfToPlainText(flour.Comments), "Milled nearby");
    EXPECT_EQ(ListNames(stStrength), QStringList{"Local flour 3"});
    EXPECT_TRUE(Project().Modified());

    // A second factor of the same wording is refused while it is new.
    Seam->ActInDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>("LbTitle")->text(), "Threat");
        dialog.findChild<QLineEdit*>("EdName")->setText("Local flour");
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
    });
    ClickListButton(stThreat, "BtAdd");
    EXPECT_EQ(Seam->Messages, QStringList{"Another matrix element already has this phrase"});
    EXPECT_EQ(Project().Items.size(), 1u);

    // Editing shows the factor, and its own wording is no clash.
    ClickFactor(stStrength, "Local flour");
    Seam->ActInDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>("LbTitle")->text(), "Strength");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("EdName")->text(), "Local flour");
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("ChMark0")->isChecked());
        dialog.findChild<QRadioButton*>("ChMark2")->click();
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    });
    ClickListButton(stStrength, "BtEdit");
    EXPECT_EQ(Project().Items[0]->Name, "Local flour");
    EXPECT_EQ(Project().Items[0]->Mark, 1);
    EXPECT_EQ(ListNames(stStrength), QStringList{"Local flour 1"});

    // Cancel leaves the factor.
    Seam->ActInDialog(
        [](QDialog& dialog) { dialog.findChild<QLineEdit*>("EdName")->setText("Never"); });
    ClickFactor(stStrength, "Local flour");
    ClickListButton(stStrength, "BtEdit");
    EXPECT_EQ(Project().Items[0]->Name, "Local flour");
    EXPECT_EQ(Seam->Dialogs.size(), 4);
}

TEST_F(EditingInTheWindow, ConclusionsAreWrittenForTheSelectedCoupling) {
    Write("Local flour", 0);
    ClickListButton(stStrength, "BtAdd");
    Write("Tourists", 1);
    ClickListButton(stOpportunity, "BtAdd");
    ClickFactor(stStrength, "Local flour");
    ClickFactor(stOpportunity, "Tourists");

    Write("Sell to visitors", -1, "At the market");
    ClickGuidelineButton("BtAdd");
    EXPECT_EQ(Seam->Dialogs.last(), "FrmGuideline");
    ASSERT_EQ(Project().Guidelines.size(), 1u);
    const TGuideline& guideline = *Project().Guidelines[0];
    EXPECT_EQ(guideline.Name, "Sell to visitors");
    EXPECT_EQ(RtfToPlainText(guideline.Comments), "At the market");
    EXPECT_EQ(guideline.Couples, (std::vector<TTOWSCouple>{{0, 1}}));
    EXPECT_EQ(GetGuidelineWeight(Project(), guideline), 6);
    ASSERT_EQ(Guidelines()->count(), 1);
    EXPECT_EQ(Guidelines()->item(0)->checkState(), Qt::Checked);

    // Another conclusion of the same wording is refused.
    Seam->ActInDialog([](QDialog& dialog) {
        dialog.findChild<QLineEdit*>("EdName")->setText("Sell to visitors");
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    });
    ClickGuidelineButton("BtAdd");
    EXPECT_EQ(Seam->Messages, QStringList{"Description already used"});
    EXPECT_EQ(Project().Guidelines.size(), 1u);

    Guidelines()->setCurrentRow(0);
    Seam->ActInDialog([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLineEdit*>("EdName")->text(), "Sell to visitors");
        dialog.findChild<QLineEdit*>("EdName")->setText("Open a stall");
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    });
    ClickGuidelineButton("BtEdit");
    EXPECT_EQ(Project().Guidelines[0]->Name, "Open a stall");
    EXPECT_EQ(Guidelines()->item(0)->text(), "Open a stall");
    EXPECT_EQ(Project().Guidelines[0]->Couples, (std::vector<TTOWSCouple>{{0, 1}}));
}

// Each kind of change, made through the screens, undone and redone from the
// Edit menu: undo gives back the saved file to the byte, redo the changed
// one, and the project is modified exactly when it differs from the
// state it was opened in.
TEST_F(EditingInTheWindow, EveryChangeIsUndoneAndRedoneToTheByte) {
    // Positions: 0 S1, 1 O1, 2 W1, 3 T1, 4 S2, 5 O2; records held twice.
    auto project =
        MixedProject({{"A", {{0, 1}, {0, 1}, {4, 5}, {2, 1}}}, {"B", {{4, 1}, {0, 1}}}, {"C", {}}});
    project->Items[1]->Comments = {"{\\rtf1\\ansi \\b Grain\\b0  prices\\par }"};
    const QString path = Path("mixed.swot");
    WriteProject(*project, path);
    Seam->AnswerFile(path);
    Action("AcnFileOpen")->trigger();
    ASSERT_EQ(Window->DocumentPath(), path);

    const auto selectCoupling = [this](const char* internal, std::int32_t internalType,
                                       const char* external, std::int32_t externalType) {
        ClickFactor(internalType, internal);
        ClickFactor(externalType, external);
    };
    const auto check = [this](int row, Qt::CheckState state) {
        Guidelines()->item(row)->setCheckState(state);
    };
    struct Step {
        const char* Undo;
        std::function<void()> Change;
    };
    const Step steps[] = {
        {"&Undo add “New threat”",
         [&] {
             Write("New threat", 0);
             ClickListButton(stThreat, "BtAdd");
         }},
        {"&Undo change “S1”",
         [&] {
             ClickFactor(stStrength, "S1");
             Write("S1 renamed", 2);
             ClickListButton(stStrength, "BtEdit");
         }},
        {"&Undo delete “O1”",
         [&] {
             ClickFactor(stOpportunity, "O1");
             ClickListButton(stOpportunity, "BtDel");
         }},
        {"&Undo delete “S1”",
         [&] {
             ClickFactor(stStrength, "S1");
             ClickListButton(stStrength, "BtDel");
         }},
        {"&Undo add “D”",
         [&] {
             selectCoupling("S2", stStrength, "T1", stThreat);
             Write("D");
             ClickGuidelineButton("BtAdd");
         }},
        {"&Undo change “B”",
         [&] {
             // The wording kept is its own, not another conclusion's.
             Guidelines()->setCurrentRow(1);
             Write("B", -1, "Why");
             ClickGuidelineButton("BtEdit");
         }},
        {"&Undo delete “A”",
         [&] {
             Guidelines()->setCurrentRow(0);
             ClickGuidelineButton("BtDel");
         }},
        {"&Undo move “A”",
         [&] {
             Guidelines()->setCurrentRow(0);
             ClickGuidelineButton("BtDown");
         }},
        {"&Undo link “S1 / O1” to “C”",
         [&] {
             selectCoupling("S1", stStrength, "O1", stOpportunity);
             check(2, Qt::Checked);
         }},
        {"&Undo unlink “S1 / O1” from “A”",
         [&] {
             selectCoupling("S1", stStrength, "O1", stOpportunity);
             check(0, Qt::Unchecked);
         }},
        {"&Undo change the properties",
         [&] {
             Seam->ActInDialog([](QDialog& dialog) {
                 dialog.findChild<QLineEdit*>("EdTitle")->setText("Renamed");
                 QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
             });
             Action("AcnFileProperties")->trigger();
         }},
    };
    // The project as Save writes it.
    const auto saved = [this] {
        const QString copy = Path("saved.swot");
        WriteProject(Project(), copy);
        QFile file(copy);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QFile opened(path);
    ASSERT_TRUE(opened.open(QIODevice::ReadOnly));
    const QByteArray original = opened.readAll();
    ASSERT_EQ(saved(), original);
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Undo);
        step.Change();
        const QByteArray changed = saved();
        EXPECT_NE(changed, original);
        EXPECT_TRUE(Project().Modified());
        EXPECT_EQ(Action("AcnEditUndo")->text(), step.Undo);

        Action("AcnEditUndo")->trigger();
        EXPECT_EQ(saved(), original);
        EXPECT_FALSE(Project().Modified()) << "back to the state opened";
        Action("AcnEditRedo")->trigger();
        EXPECT_EQ(saved(), changed);
        EXPECT_TRUE(Project().Modified());
        Action("AcnEditUndo")->trigger();
    }
    EXPECT_EQ(saved(), original);

    // A save makes its state the one to come back to.
    steps[2].Change();
    ASSERT_TRUE(Window->SaveProject());
    EXPECT_FALSE(Project().Modified());
    Action("AcnEditUndo")->trigger();
    EXPECT_TRUE(Project().Modified()) << "the saved state is left";
    EXPECT_EQ(saved(), original);
}

TEST_F(EditingInTheWindow, TheProjectAndTheExampleKeepHistoriesOfTheirOwn) {
    Write("Flour", 0);
    ClickListButton(stStrength, "BtAdd");
    EXPECT_EQ(Action("AcnEditUndo")->text(), "&Undo add “Flour”");

    Action("AcnProjExampDisp")->trigger();
    ASSERT_TRUE(Window->ExampleDisplayed());
    EXPECT_FALSE(Action("AcnEditUndo")->isEnabled());
    Write("Rain", 0);
    ClickListButton(stThreat, "BtAdd");
    EXPECT_EQ(Action("AcnEditUndo")->text(), "&Undo add “Rain”");

    Action("AcnProjExampDisp")->trigger();
    ASSERT_FALSE(Window->ExampleDisplayed());
    EXPECT_EQ(Action("AcnEditUndo")->text(), "&Undo add “Flour”");
    Action("AcnEditUndo")->trigger();
    EXPECT_TRUE(Project().Items.empty());
    EXPECT_FALSE(Project().Modified()) << "nothing left to save in a new document";
    EXPECT_EQ(Action("AcnEditRedo")->text(), "&Redo add “Flour”");

    Action("AcnEditRedo")->trigger();
    Seam->Answer({QMessageBox::No});
    Action("AcnFileNew")->trigger();
    EXPECT_EQ(Seam->Messages.last(), "Save changes?");
    EXPECT_FALSE(Action("AcnEditUndo")->isEnabled()) << "a new document starts a new history";
    EXPECT_FALSE(Action("AcnEditRedo")->isEnabled());
}

TEST_F(EditingInTheWindow, StepsAreNamedShortAndAsTyped) {
    Write("R&D " + QString("x").repeated(60), 0);
    ClickListButton(stStrength, "BtAdd");
    EXPECT_EQ(Action("AcnEditUndo")->text(),
              "&Undo add “R&&D " + QString("x").repeated(45) + QChar(0x2026) + "”");
}
