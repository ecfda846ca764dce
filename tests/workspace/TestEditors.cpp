#include "ProjectBuilder.h"
#include "RtfDescribe.h"
#include "TestHost.h"
#include "UntFraFormatBar.h"
#include "UntFraMemo.h"
#include "UntFrmGuideline.h"
#include "UntFrmTOWSItem.h"
#include "UntIO.h"
#include "UntUtils.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Types text key by key; characters beyond ASCII come as keys of their own.
void TypeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() < 0x80)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// Types a comment as a person does: words, style buttons, Enter.
void TypeStyledComment(TFraMemo& memo) {
    QTextEdit* editor = memo.MmMemo;
    editor->setFocus();
    QTest::keyClicks(editor, "Plain ");
    QTest::mouseClick(memo.Barre->SetBold, Qt::LeftButton);
    QTest::keyClicks(editor, "bold");
    QTest::mouseClick(memo.Barre->SetBold, Qt::LeftButton);
    QTest::keyClicks(editor, " ");
    QTest::mouseClick(memo.Barre->SetItalic, Qt::LeftButton);
    QTest::mouseClick(memo.Barre->SetUnderline, Qt::LeftButton);
    QTest::keyClicks(editor, "both");
    QTest::mouseClick(memo.Barre->SetItalic, Qt::LeftButton);
    QTest::mouseClick(memo.Barre->SetUnderline, Qt::LeftButton);
    QTest::keyClick(editor, Qt::Key_Return);
    TypeText(editor, QString::fromUtf8("Zürich – 東京 ✓\tcafé"));
}

const char* const StyledComment = "[(Plain )(bold B)( )(both I U)][(Zürich – 東京 ✓\tcafé)]";

// Puts the cursor after `count` characters of the first line.
void CursorAt(TFraMemo& memo, int count) {
    QTextEdit* editor = memo.MmMemo;
    QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < count; ++i)
        QTest::keyClick(editor, Qt::Key_Right);
}

QString Buttons(const TFraMemo& memo) {
    return QString(memo.Barre->SetBold->isChecked() ? "G" : "-") +
           (memo.Barre->SetItalic->isChecked() ? "I" : "-") +
           (memo.Barre->SetUnderline->isChecked() ? "S" : "-");
}

} // namespace

TEST(CommentsEditor, StyleButtonsActAndFollowTheCursor) {
    TFraMemo memo(nullptr);
    memo.resize(400, 250);
    memo.show();
    memo.Load({});
    EXPECT_TRUE(memo.MmMemo->toPlainText().isEmpty());
    EXPECT_EQ(memo.MmMemo->palette().color(QPalette::Base), QColor(255, 255, 188));
    EXPECT_EQ(memo.Barre->SetBold->text(), "G");
    EXPECT_EQ(memo.Barre->SetUnderline->text(), "S");

    TypeStyledComment(memo);
    EXPECT_EQ(Describe(memo.MmMemo->Document()), StyledComment);

    CursorAt(memo, 8);
    EXPECT_EQ(Buttons(memo), "G--");
    CursorAt(memo, 13);
    EXPECT_EQ(Buttons(memo), "-IS");
    CursorAt(memo, 3);
    EXPECT_EQ(Buttons(memo), "---");

    // A selected word changes alone; its other styles stay.
    CursorAt(memo, 6);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(memo.MmMemo, Qt::Key_Right, Qt::ShiftModifier);
    QTest::mouseClick(memo.Barre->SetItalic, Qt::LeftButton);
    EXPECT_EQ(Describe(memo.MmMemo->Document()),
              "[(Plain )(bold B I)( )(both I U)][(Zürich – 東京 ✓\tcafé)]");
    QTest::mouseClick(memo.Barre->SetItalic, Qt::LeftButton);
    EXPECT_EQ(Describe(memo.MmMemo->Document()), StyledComment);
}

TEST(CommentsEditor, PastedTextKeepsOnlyTheStylesOfAComment) {
    TFraMemo memo(nullptr);
    memo.show();
    memo.Load({});
    auto* data = new QMimeData;
    data->setHtml("<p><span style='color:red; font-size:30pt'>big</span> <b>strong</b> "
                  "<a href='https://x'>link</a></p><p><i>next</i><img src='x.png'></p>");
    QApplication::clipboard()->setMimeData(data);
    memo.MmMemo->setFocus();
    memo.MmMemo->paste();
    EXPECT_EQ(Describe(memo.MmMemo->Document()), "[(big )(strong B)( )(link U)][(next I)]");
    const QTextCharFormat format = memo.MmMemo->document()->begin().begin().fragment().charFormat();
    EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(format.hasProperty(QTextFormat::FontPointSize));
}

class Editors : public ::testing::Test {
protected:
    void SetUp() override {
        host.CurrentProject = MakeProject({{"Growth", stStrength, 3}, {"Debt", stWeakness, 1}},
                                          {{"Expand", {}}, {"Save", {}}});
    }
    TScriptedSeam& Seam() { return host.ScriptedSeam; }
    TTestHost host;
};

TEST_F(Editors, FactorDialogShowsTheFactor) {
    TFrmTOWSItem dialog(host, nullptr);
    TTOWSItem threat;
    threat.SwotType = stThreat;
    dialog.EditedItem = &threat;
    dialog.IsNew = true;
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "SWOT matrix element");
    EXPECT_EQ(dialog.findChild<QLabel*>("LbTitle")->text(), "Threat");
    EXPECT_TRUE(dialog.EdName->text().isEmpty());
    EXPECT_EQ(dialog.ChMark->checkedId(), 1);
    EXPECT_EQ(dialog.ChMark->button(0)->text(), "3 - High");
    EXPECT_EQ(dialog.ChMark->button(2)->text(), "1 - Low");
    EXPECT_EQ(dialog.FraMemo1->Titre->text(), "Comments");
    EXPECT_NE(dialog.findChild<QPushButton*>("BtHelp"), nullptr) << "help topic 22";
}

TEST_F(Editors, FactorDialogChecksTheWording) {
    struct Case {
        const char* wording;
        bool isNew;
        const char* message;
    };
    const Case cases[] = {
        {"", true, "A description must be input"},
        {"", false, "A description must be input"},
        {"Growth", true, "Another matrix element already has this phrase"},
        {"Debt", true, "Another matrix element already has this phrase"},
        {"growth", true, nullptr},
        {"Growth ", true, nullptr},
        {"   ", true, nullptr},
        {"Debt", false, nullptr},
    };
    TFrmTOWSItem dialog(host, nullptr);
    for (const Case& c : cases) {
        TTOWSItem factor;
        factor.SwotType = stOpportunity;
        factor.Name = "Before";
        dialog.EditedItem = &factor;
        dialog.IsNew = c.isNew;
        dialog.show();
        dialog.EdName->setText(c.wording);
        Seam().Messages.clear();
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
        if (c.message) {
            EXPECT_EQ(Seam().Messages, QStringList{c.message}) << c.wording;
            EXPECT_TRUE(dialog.isVisible()) << "the dialog stays open";
            EXPECT_EQ(factor.Name, "Before");
            dialog.reject();
        } else {
            EXPECT_TRUE(Seam().Messages.isEmpty()) << c.wording;
            EXPECT_EQ(dialog.result(), QDialog::Accepted);
            EXPECT_EQ(factor.Name, c.wording);
        }
    }
}

TEST_F(Editors, FactorDialogStoresOnlyOnOk) {
    TFrmTOWSItem dialog(host, nullptr);
    TTOWSItem& factor = *host.CurrentProject->Items[1];
    const QStringList comments = WriteRtf({{{"kept"}}});
    factor.Comments = comments;
    dialog.EditedItem = &factor;
    dialog.IsNew = false;

    dialog.show();
    EXPECT_EQ(dialog.ChMark->checkedId(), 2);
    dialog.EdName->setText("Changed");
    dialog.ChMark->button(0)->click();
    QTest::keyClicks(dialog.FraMemo1->MmMemo, "more");
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_EQ(factor.Name, "Debt");
    EXPECT_EQ(factor.Mark, 1);
    EXPECT_EQ(factor.Comments, comments);

    dialog.show();
    EXPECT_EQ(dialog.EdName->text(), "Debt") << "what was typed is gone";
    dialog.ChMark->button(0)->click();
    QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    EXPECT_EQ(factor.Mark, 3);
    EXPECT_EQ(factor.SwotType, stWeakness) << "the type never changes";
}

// A styled comment typed in the dialog survives the project file.
TEST_F(Editors, StyledCommentsSurviveSavingAndReopening) {
    TFrmTOWSItem dialog(host, nullptr);
    TTOWSItem factor;
    factor.SwotType = stOpportunity;
    dialog.EditedItem = &factor;
    dialog.IsNew = true;
    dialog.show();
    TypeText(dialog.EdName, QString::fromUtf8("Marché 東京"));
    TypeStyledComment(*dialog.FraMemo1);
    QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    ASSERT_EQ(dialog.result(), QDialog::Accepted);
    host.CurrentProject->Items.push_back(std::make_unique<TTOWSItem>(factor));

    QTemporaryDir folder;
    WriteProject(*host.CurrentProject, folder.filePath("styled.swot"));
    host.CurrentProject = ReadProject(folder.filePath("styled.swot"));
    TTOWSItem& read = *host.CurrentProject->Items.back();
    EXPECT_EQ(read.Name, QString::fromUtf8("Marché 東京"));

    dialog.EditedItem = &read;
    dialog.IsNew = false;
    dialog.show();
    EXPECT_EQ(Describe(dialog.FraMemo1->MmMemo->Document()), StyledComment);
    CursorAt(*dialog.FraMemo1, 9);
    EXPECT_EQ(Buttons(*dialog.FraMemo1), "G--");
    CursorAt(*dialog.FraMemo1, 14);
    EXPECT_EQ(Buttons(*dialog.FraMemo1), "-IS");
    EXPECT_EQ(RtfToPlainText(read.Comments),
              QString::fromUtf8("Plain bold both\r\nZürich – 東京 ✓\tcafé"));
}

TEST_F(Editors, ConclusionDialogChecksTheWording) {
    TFrmGuideline dialog(host, nullptr);
    EXPECT_EQ(dialog.windowTitle(), "Conclusions");
    EXPECT_EQ(dialog.findChild<QLabel*>("LbCaption")->text(),
              "What conclusion can you draw from these items to reduce problems in the project?");
    struct Case {
        const char* wording;
        bool isNew;
        const char* message;
    };
    const Case cases[] = {
        {"", true, "A description must be input"},
        {"Save", false, "Description already used"},
        {"Save", true, "Description already used"},
        {"Expand", false, nullptr}, // its own wording
        {"save", false, nullptr},
        {"Save ", false, nullptr},
        {"Growth", true, nullptr}, // a factor's wording
        {"  ", true, nullptr},
    };
    for (const Case& c : cases) {
        TGuideline fresh;
        TGuideline& edited = c.isNew ? fresh : *host.CurrentProject->Guidelines[0];
        const QString before = edited.Name;
        dialog.EditedGuideline = &edited;
        dialog.show();
        if (c.isNew) {
            EXPECT_TRUE(dialog.EdName->text().isEmpty());
        }
        dialog.EdName->setText(c.wording);
        Seam().Messages.clear();
        QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
        if (c.message) {
            EXPECT_EQ(Seam().Messages, QStringList{c.message}) << c.wording;
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(edited.Name, before);
            dialog.reject();
        } else {
            EXPECT_EQ(dialog.result(), QDialog::Accepted) << c.wording;
            EXPECT_EQ(edited.Name, c.wording);
            edited.Name = before;
        }
    }
}

TEST_F(Editors, ConclusionDialogCancelLeavesTheConclusion) {
    TFrmGuideline dialog(host, nullptr);
    TGuideline& guideline = *host.CurrentProject->Guidelines[1];
    guideline.Couples = {{0, 1}};
    dialog.EditedGuideline = &guideline;
    dialog.show();
    dialog.EdName->setText("Other");
    QTest::keyClicks(dialog.FraMemo1->MmMemo, "notes");
    QTest::mouseClick(dialog.findChild<QPushButton*>("BtCancel"), Qt::LeftButton);
    EXPECT_EQ(guideline.Name, "Save");
    EXPECT_TRUE(guideline.Comments.isEmpty());

    dialog.show();
    QTest::keyClicks(dialog.FraMemo1->MmMemo, "notes");
    QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    EXPECT_EQ(RtfToPlainText(guideline.Comments), "notes");
    EXPECT_EQ(guideline.Couples, (std::vector<TTOWSCouple>{{0, 1}}))
        << "links are not the dialog's";
}
