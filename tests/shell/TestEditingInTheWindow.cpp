#include "MainWindowTest.h"
#include "UntFraList.h"
#include "UntFraListBar.h"
#include "UntUtils.h"
#include "WidgetDriving.h"

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

    TProject& Project() { return *Window->Project(); }

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
    EXPECT_TRUE(Project().Modified);

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
