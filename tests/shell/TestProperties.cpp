#include "MainWindowTest.h"
#include "model/UntClassProject.h"
#include "storage/UntUtils.h"
#include "workspace/UntFraTabTop.h"
#include "workspace/UntModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

class Properties : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Window->StartUp({"-n"}));
    }

    // Opens the dialog and lets the script act in it before it answers.
    void Run(const std::function<void(QDialog&)>& script) {
        Seam->ActInDialog(script);
        Action("AcnFileProperties")->trigger();
    }

    static void Ok(QDialog& dialog) {
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    }

    static QTabWidget* Pages(const QDialog& dialog) {
        return dialog.findChild<QTabWidget*>("PageControl1");
    }
    static QLineEdit* EdTitle(const QDialog& dialog) {
        return dialog.findChild<QLineEdit*>("EdTitle");
    }
    static QListWidget* Captions(const QDialog& dialog) {
        return dialog.findChild<QListWidget*>("LstCaptions");
    }
    static void Trigger(const QDialog& dialog, const char* action) {
        dialog.findChild<QAction*>(action)->trigger();
    }

    static void SelectHeading(const QDialog& dialog, int line) {
        Pages(dialog)->setCurrentIndex(1);
        Captions(dialog)->setCurrentRow(line);
    }

    const TProject& Project() { return *Window->Project(); }
};

TEST_F(Properties, ShowTheProjectAndApplyOnOk) {
    Run([](QDialog& dialog) {
        EXPECT_EQ(dialog.objectName(), "DlgProperties");
        EXPECT_EQ(Pages(dialog)->currentIndex(), 0);
        EXPECT_EQ(EdTitle(dialog)->text(), "Analyse Swot");
        EXPECT_EQ(Captions(dialog)->count(), 19);
        EXPECT_EQ(Captions(dialog)->item(11)->text(), "Pieces of luck");
        EXPECT_EQ(dialog.findChild<QPushButton*>("BtHelp"), nullptr);
        EdTitle(dialog)->setText("Plan 2027");
        QTest::keyClicks(dialog.findChild<QTextEdit*>("MmMemo"), "Why we plan");
        Ok(dialog);
    });
    EXPECT_EQ(Project().Title, "Plan 2027");
    EXPECT_EQ(RtfToPlainText(Project().Comments), "Why we plan");
    EXPECT_TRUE(Project().Modified()) << "an accepted change is a change to save";
    EXPECT_EQ(Window->findChild<TFraTabTop*>("FraTabTop1")->Title(), "Plan 2027");
}

TEST_F(Properties, OkWithoutAChangeChangesNothing) {
    Run(&Properties::Ok);
    EXPECT_FALSE(Project().Modified());
}

TEST_F(Properties, HeadingsAreModifiedAndReset) {
    Seam->AnswerInput("Lucky strikes");
    Seam->CancelInput();
    Seam->AnswerInput(QString());
    Run([this](QDialog& dialog) {
        SelectHeading(dialog, 11);
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtChangeCaption"), Qt::LeftButton);
        EXPECT_EQ(Seam->Inputs, QStringList{"Enter the new wording"});
        EXPECT_EQ(Captions(dialog)->item(11)->text(), "Lucky strikes");
        Trigger(dialog, "AcnChangeCaption");
        EXPECT_EQ(Captions(dialog)->item(11)->text(), "Lucky strikes") << "Cancel keeps the line";
        SelectHeading(dialog, 3);
        Trigger(dialog, "AcnChangeCaption");
        EXPECT_EQ(Captions(dialog)->item(3)->text(), "") << "an empty wording is accepted";
        Ok(dialog);
    });
    EXPECT_EQ(Project().Labels.Value(12), "Lucky strikes");
    EXPECT_EQ(Project().Labels.Value(4), "");
    EXPECT_TRUE(Project().Modified());

    Run([](QDialog& dialog) {
        EXPECT_EQ(Captions(dialog)->item(11)->text(), "Lucky strikes");
        SelectHeading(dialog, 11);
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtResetCaption"), Qt::LeftButton);
        EXPECT_EQ(Captions(dialog)->item(11)->text(), "Pieces of luck");
    });
    EXPECT_EQ(Project().Labels.Value(12), "Lucky strikes") << "the project changes only on OK";
}

TEST_F(Properties, RefusalsKeepTheDialogOpen) {
    Run([this](QDialog& dialog) {
        Pages(dialog)->setCurrentIndex(1);
        Captions(dialog)->clearSelection();
        Captions(dialog)->setCurrentRow(-1);
        Trigger(dialog, "AcnChangeCaption");
        Trigger(dialog, "AcnResetCaption");
        EdTitle(dialog)->clear();
        Ok(dialog);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(Seam->Messages,
                  (QStringList{"Select an item from the list", "Select an item from the list",
                               "A description must be input"}));
        EdTitle(dialog)->setText(" ");
        Ok(dialog);
        EXPECT_FALSE(dialog.isVisible()) << "a title of blanks is accepted";
    });
    EXPECT_EQ(Project().Title, " ");
}

TEST_F(Properties, CancelLeavesTheProject) {
    Run([](QDialog& dialog) {
        EdTitle(dialog)->setText("Never");
        dialog.reject();
    });
    EXPECT_EQ(Project().Title, "Analyse Swot");
    EXPECT_FALSE(Project().Modified());
}

// The box that asks for a heading's new wording shows the longest default
// heading whole.
TEST(HeadingInput, FitsTheLongestDefaultHeading) {
    struct TLookingSeam : TModalSeam {
        int ExecDialog(QDialog& dialog) override {
            dialog.show();
            auto* field = dialog.findChild<QLineEdit*>();
            Room = field->width() - 8;
            dialog.hide();
            return QDialog::Rejected;
        }
        int Room = 0;
    } seam;
    QString longest;
    for (int number = 1; number <= TLabels::Count; ++number)
        if (QFontMetrics(QApplication::font()).horizontalAdvance(TLabels::DefaultValue(number)) >
            QFontMetrics(QApplication::font()).horizontalAdvance(longest))
            longest = TLabels::DefaultValue(number);
    EXPECT_EQ(seam.InputText(nullptr, "Modification", "New wording", longest), std::nullopt);
    EXPECT_GE(seam.Room, QFontMetrics(QApplication::font()).horizontalAdvance(longest))
        << longest.toStdString();
}
