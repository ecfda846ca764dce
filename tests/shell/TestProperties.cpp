#include "MainWindowTest.h"
#include "UntDlgProperties.h"
#include "UntFraMemo.h"
#include "UntFraTOWS.h"
#include "UntFraTabTop.h"
#include "UntUtils.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

class Properties : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Window->StartUp({"-n"}));
    }

    // Opens the dialog and lets the script act in it before it answers.
    void Run(const std::function<void(TDlgProperties&)>& script) {
        Seam->DialogAnswers.push_back([script](QDialog& dialog) {
            auto& properties = static_cast<TDlgProperties&>(dialog);
            properties.show();
            script(properties);
            if (properties.isVisible())
                properties.reject();
            return properties.result();
        });
        Action("AcnFileProperties")->trigger();
    }

    static void Ok(TDlgProperties& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    }

    static void SelectHeading(TDlgProperties& dialog, int line) {
        dialog.PageControl->setCurrentIndex(1);
        dialog.LstCaptions->setCurrentRow(line);
    }

    TProject& Project() { return *Window->CurrentProject; }
};

TEST_F(Properties, ShowTheProjectAndApplyOnOk) {
    Run([](TDlgProperties& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "Properties");
        EXPECT_EQ(dialog.PageControl->currentIndex(), 0);
        EXPECT_EQ(dialog.PageControl->tabText(0), "Information");
        EXPECT_EQ(dialog.PageControl->tabText(1), "Headings and Wording");
        EXPECT_EQ(dialog.EdTitle->text(), "Analyse Swot");
        EXPECT_EQ(dialog.LstCaptions->count(), 19);
        EXPECT_EQ(dialog.LstCaptions->item(11)->text(), "Pieces of luck");
        EXPECT_EQ(dialog.findChild<QPushButton*>("BtHelp"), nullptr);
        dialog.EdTitle->setText("Plan 2027");
        QTest::keyClicks(dialog.FraMemo1->MmMemo, "Why we plan");
        Ok(dialog);
    });
    EXPECT_EQ(Project().Title, "Plan 2027");
    EXPECT_EQ(RtfToPlainText(Project().Comments), "Why we plan");
    EXPECT_TRUE(Project().Modified) << "an accepted change is a change to save";
    EXPECT_EQ(Window->Workspace->findChild<TFraTabTop*>("FraTabTop1")->Title(), "Plan 2027");
}

TEST_F(Properties, OkWithoutAChangeChangesNothing) {
    Run(&Properties::Ok);
    EXPECT_FALSE(Project().Modified);
}

TEST_F(Properties, HeadingsAreModifiedAndReset) {
    Seam->InputAnswers = {QString("Lucky strikes"), std::nullopt, QString()};
    Run([this](TDlgProperties& dialog) {
        SelectHeading(dialog, 11);
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtChangeCaption"), Qt::LeftButton);
        EXPECT_EQ(Seam->Inputs, QStringList{"Enter the new wording"});
        EXPECT_EQ(dialog.LstCaptions->item(11)->text(), "Lucky strikes");
        dialog.AcnChangeCaptionExecute();
        EXPECT_EQ(dialog.LstCaptions->item(11)->text(), "Lucky strikes") << "Cancel keeps the line";
        SelectHeading(dialog, 3);
        dialog.AcnChangeCaptionExecute();
        EXPECT_EQ(dialog.LstCaptions->item(3)->text(), "") << "an empty wording is accepted";
        Ok(dialog);
    });
    EXPECT_EQ(Project().Labels.Value(12), "Lucky strikes");
    EXPECT_EQ(Project().Labels.Value(4), "");
    EXPECT_TRUE(Project().Modified);

    Run([](TDlgProperties& dialog) {
        EXPECT_EQ(dialog.LstCaptions->item(11)->text(), "Lucky strikes");
        SelectHeading(dialog, 11);
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtResetCaption"), Qt::LeftButton);
        EXPECT_EQ(dialog.LstCaptions->item(11)->text(), "Pieces of luck");
    });
    EXPECT_EQ(Project().Labels.Value(12), "Lucky strikes") << "the project changes only on OK";
}

TEST_F(Properties, RefusalsKeepTheDialogOpen) {
    Run([this](TDlgProperties& dialog) {
        dialog.PageControl->setCurrentIndex(1);
        dialog.LstCaptions->clearSelection();
        dialog.LstCaptions->setCurrentRow(-1);
        dialog.AcnChangeCaptionExecute();
        dialog.AcnResetCaptionExecute();
        dialog.EdTitle->clear();
        Ok(dialog);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Seam->Messages,
                  (QStringList{"Select an item from the list", "Select an item from the list",
                               "A description must be input"}));
        dialog.EdTitle->setText(" ");
        Ok(dialog);
        EXPECT_FALSE(dialog.isVisible()) << "a title of blanks is accepted";
    });
    EXPECT_EQ(Project().Title, " ");
}

TEST_F(Properties, CancelLeavesTheProject) {
    Run([](TDlgProperties& dialog) {
        dialog.EdTitle->setText("Never");
        dialog.reject();
    });
    EXPECT_EQ(Project().Title, "Analyse Swot");
    EXPECT_FALSE(Project().Modified);
}
