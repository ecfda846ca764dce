#include "ProjectBuilder.h"
#include "RtfDescribe.h"
#include "TestHost.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"
#include "workspace/UntCouplingTreeModel.h"
#include "workspace/UntFraFormatBar.h"
#include "workspace/UntFraMemo.h"
#include "workspace/UntFrmGuideline.h"
#include "workspace/UntFrmTOWSItem.h"

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
#include <algorithm>
#include <cmath>
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

TMemoEdit* Editor(const QWidget& holder) {
    return holder.findChild<TMemoEdit*>("MmMemo");
}

QToolButton* Style(const QWidget& holder, const char* name) {
    return holder.findChild<QToolButton*>(name);
}

QLineEdit* EdName(const QWidget& dialog) {
    return dialog.findChild<QLineEdit*>("EdName");
}

// The importance choices: 0 is "3 - High", 2 is "1 - Low".
QRadioButton* Mark(const QWidget& dialog, int choice) {
    return dialog.findChild<QRadioButton*>(QStringLiteral("ChMark%1").arg(choice));
}

int CheckedMark(const QWidget& dialog) {
    for (int choice = 0; choice < 3; ++choice)
        if (Mark(dialog, choice)->isChecked())
            return choice;
    return -1;
}

void Ok(QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
}

// Types a comment as a person does: words, style buttons, Enter.
void TypeStyledComment(const QWidget& holder) {
    QTextEdit* editor = Editor(holder);
    editor->setFocus();
    QTest::keyClicks(editor, "Plain ");
    QTest::mouseClick(Style(holder, "SetBold"), Qt::LeftButton);
    QTest::keyClicks(editor, "bold");
    QTest::mouseClick(Style(holder, "SetBold"), Qt::LeftButton);
    QTest::keyClicks(editor, " ");
    QTest::mouseClick(Style(holder, "SetItalic"), Qt::LeftButton);
    QTest::mouseClick(Style(holder, "SetUnderline"), Qt::LeftButton);
    QTest::keyClicks(editor, "both");
    QTest::mouseClick(Style(holder, "SetItalic"), Qt::LeftButton);
    QTest::mouseClick(Style(holder, "SetUnderline"), Qt::LeftButton);
    QTest::keyClick(editor, Qt::Key_Return);
    TypeText(editor, QString::fromUtf8("Zürich – 東京 ✓\tcafé"));
}

const char* const StyledComment = "[(Plain )(bold B)( )(both I U)][(Zürich – 東京 ✓\tcafé)]";

// Puts the cursor after `count` characters of the first line.
void CursorAt(const QWidget& holder, int count) {
    QTextEdit* editor = Editor(holder);
    QTest::keyClick(editor, Qt::Key_Home, Qt::ControlModifier);
    for (int i = 0; i < count; ++i)
        QTest::keyClick(editor, Qt::Key_Right);
}

QString Buttons(const QWidget& holder) {
    return QString(Style(holder, "SetBold")->isChecked() ? "G" : "-") +
           (Style(holder, "SetItalic")->isChecked() ? "I" : "-") +
           (Style(holder, "SetUnderline")->isChecked() ? "S" : "-");
}

} // namespace

TEST(CommentsEditor, StyleButtonsActAndFollowTheCursor) {
    TFraMemo memo(nullptr);
    memo.resize(400, 250);
    memo.show();
    memo.Load({});
    TMemoEdit* editor = Editor(memo);
    EXPECT_TRUE(editor->toPlainText().isEmpty());

    TypeStyledComment(memo);
    EXPECT_EQ(Describe(editor->Document()), StyledComment);

    CursorAt(memo, 8);
    EXPECT_EQ(Buttons(memo), "G--");
    CursorAt(memo, 13);
    EXPECT_EQ(Buttons(memo), "-IS");
    CursorAt(memo, 3);
    EXPECT_EQ(Buttons(memo), "---");

    // A selected word changes alone; its other styles stay.
    CursorAt(memo, 6);
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(editor, Qt::Key_Right, Qt::ShiftModifier);
    QTest::mouseClick(Style(memo, "SetItalic"), Qt::LeftButton);
    EXPECT_EQ(Describe(editor->Document()),
              "[(Plain )(bold B I)( )(both I U)][(Zürich – 東京 ✓\tcafé)]");
    QTest::mouseClick(Style(memo, "SetItalic"), Qt::LeftButton);
    EXPECT_EQ(Describe(editor->Document()), StyledComment);
}

TEST(CommentsEditor, UndoTakesBackTypingNotTheLoadedComment) {
    TFraMemo memo(nullptr);
    memo.show();
    memo.Load({"{\\rtf1\\ansi Loaded\\par }"});
    TMemoEdit* editor = Editor(memo);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), "Loaded");
    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, "!");
    EXPECT_EQ(editor->toPlainText(), "Loaded!");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->toPlainText(), "Loaded");
}

TEST(CommentsEditor, StylesAreAtTheKeyboardsReach) {
    TFraMemo memo(nullptr);
    memo.show();
    memo.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&memo));
    memo.Load({});
    TMemoEdit* editor = Editor(memo);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClicks(editor, "bold");
    QTest::keyClick(editor, Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_U, Qt::ControlModifier);
    QTest::keyClicks(editor, "both");
    EXPECT_EQ(Describe(editor->Document()), "[(bold B)(both I U)]");

    const struct {
        const char* Button;
        const char* Tip;
    } buttons[] = {{"SetBold", "Bold (Ctrl+B)"},
                   {"SetItalic", "Italic (Ctrl+I)"},
                   {"SetUnderline", "Underline (Ctrl+U)"}};
    for (const auto& button : buttons) {
        EXPECT_EQ(Style(memo, button.Button)->toolTip(), button.Tip);
        EXPECT_TRUE(Style(memo, button.Button)->focusPolicy() & Qt::TabFocus) << button.Button;
    }
}

namespace {

// The contrast ratio of two colours, as WCAG defines it: 1 to 21.
double Contrast(const QColor& a, const QColor& b) {
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](int value) {
            const double v = value / 255.0;
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green()) +
               0.0722 * channel(colour.blue());
    };
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

// Fusion's dark scheme, as desktops set it.
QPalette DarkPalette() {
    QPalette palette;
    palette.setColor(QPalette::Window, QColor(53, 53, 53));
    palette.setColor(QPalette::WindowText, Qt::white);
    palette.setColor(QPalette::Base, QColor(42, 42, 42));
    palette.setColor(QPalette::Text, Qt::white);
    palette.setColor(QPalette::Button, QColor(53, 53, 53));
    palette.setColor(QPalette::ButtonText, Qt::white);
    return palette;
}

} // namespace

TEST(Palettes, CommentsAndCouplingGroupsStayReadableInLightAndDark) {
    const QPalette light = QApplication::palette();
    const auto project = MixedProject();
    TCouplingTreeModel model;
    model.Rebuild(project.get(), 0, 0);
    for (const QPalette& palette : {light, DarkPalette()}) {
        QApplication::setPalette(palette);
        TFraMemo memo(nullptr);
        const QPalette paper = Editor(memo)->palette();
        EXPECT_GE(Contrast(paper.color(QPalette::Base), paper.color(QPalette::Text)), 4.5);
        const auto heading = model.data(model.index(0, 0), Qt::ForegroundRole).value<QColor>();
        EXPECT_GE(Contrast(heading, palette.color(QPalette::Base)), 4.5)
            << heading.name().toStdString();
    }
    QApplication::setPalette(light);
    TFraMemo memo(nullptr);
    EXPECT_EQ(Editor(memo)->palette().color(QPalette::Base), QColor(255, 255, 188))
        << "pale yellow paper in a light palette";
}

TEST(CommentsEditor, PastedTextKeepsOnlyTheStylesOfAComment) {
    TFraMemo memo(nullptr);
    memo.show();
    memo.Load({});
    auto* data = new QMimeData;
    data->setHtml("<p><span style='color:red; font-size:30pt'>big</span> <b>strong</b> "
                  "<a href='https://x'>link</a></p><p><i>next</i><img src='x.png'></p>");
    QApplication::clipboard()->setMimeData(data);
    TMemoEdit* editor = Editor(memo);
    editor->setFocus();
    editor->paste();
    EXPECT_EQ(Describe(editor->Document()), "[(big )(strong B)( )(link U)][(next I)]");
    const QTextCharFormat format = editor->document()->begin().begin().fragment().charFormat();
    EXPECT_FALSE(format.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(format.hasProperty(QTextFormat::FontPointSize));
}

class Editors : public ::testing::Test {
protected:
    void SetUp() override {
        host.Open(MakeProject({{"Growth", stStrength, 3}, {"Debt", stWeakness, 1}},
                              {{"Expand", {}}, {"Save", {}}}));
    }
    TScriptedSeam& Seam() { return host.ScriptedSeam; }
    TTestHost host;
};

TEST_F(Editors, FactorDialogShowsTheFactor) {
    TFrmTOWSItem dialog(host, nullptr);
    TTOWSItem threat;
    threat.SwotType = stThreat;
    Seam().ActInDialog([](QDialog& shown) {
        EXPECT_EQ(shown.findChild<QLabel*>("LbTitle")->text(), "Threat");
        EXPECT_TRUE(EdName(shown)->text().isEmpty());
        EXPECT_EQ(CheckedMark(shown), 1);
        EXPECT_NE(shown.findChild<QPushButton*>("BtHelp"), nullptr) << "help topic 22";
    });
    EXPECT_FALSE(dialog.Edit(threat, true));
    EXPECT_EQ(Seam().Dialogs, QStringList{"FrmTOWSItem"});
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
        Seam().Messages.clear();
        Seam().ActInDialog([&c](QDialog& shown) {
            EdName(shown)->setText(c.wording);
            Ok(shown);
            EXPECT_EQ(shown.isVisible(), c.message != nullptr) << "a refusal keeps it open";
        });
        const bool accepted = dialog.Edit(factor, c.isNew);
        if (c.message) {
            EXPECT_EQ(Seam().Messages, QStringList{c.message}) << c.wording;
            EXPECT_FALSE(accepted);
            EXPECT_EQ(factor.Name, "Before");
        } else {
            EXPECT_TRUE(Seam().Messages.isEmpty()) << c.wording;
            EXPECT_TRUE(accepted);
            EXPECT_EQ(factor.Name, c.wording);
        }
    }
}

TEST_F(Editors, FactorDialogStoresOnlyOnOk) {
    TFrmTOWSItem dialog(host, nullptr);
    TTOWSItem factor = *host.Project()->Items[1];
    const QStringList comments = WriteRtf({{{"kept"}}});
    factor.Comments = comments;

    Seam().ActInDialog([](QDialog& shown) {
        EXPECT_EQ(CheckedMark(shown), 2);
        EdName(shown)->setText("Changed");
        Mark(shown, 0)->click();
        QTest::keyClicks(Editor(shown), "more");
        QTest::keyClick(&shown, Qt::Key_Escape);
    });
    EXPECT_FALSE(dialog.Edit(factor, false));
    EXPECT_EQ(factor.Name, "Debt");
    EXPECT_EQ(factor.Mark, 1);
    EXPECT_EQ(factor.Comments, comments);

    Seam().ActInDialog([](QDialog& shown) {
        EXPECT_EQ(EdName(shown)->text(), "Debt") << "what was typed is gone";
        EXPECT_EQ(CheckedMark(shown), 2);
        Mark(shown, 0)->click();
        Ok(shown);
    });
    EXPECT_TRUE(dialog.Edit(factor, false));
    EXPECT_EQ(factor.Mark, 3);
    EXPECT_EQ(factor.SwotType, stWeakness) << "the type never changes";
}

// A styled comment typed in the dialog survives the project file.
TEST_F(Editors, StyledCommentsSurviveSavingAndReopening) {
    TFrmTOWSItem dialog(host, nullptr);
    TTOWSItem factor;
    factor.SwotType = stOpportunity;
    Seam().ActInDialog([](QDialog& shown) {
        TypeText(EdName(shown), QString::fromUtf8("Marché 東京"));
        TypeStyledComment(shown);
        Ok(shown);
    });
    ASSERT_TRUE(dialog.Edit(factor, true));
    const auto project = CopyProject(*host.Project());
    project->Items.push_back(std::make_unique<TTOWSItem>(factor));

    QTemporaryDir folder;
    WriteProject(*project, folder.filePath("styled.swot"));
    host.Open(ReadProject(folder.filePath("styled.swot")));
    TTOWSItem read = *host.Project()->Items.back();
    EXPECT_EQ(read.Name, QString::fromUtf8("Marché 東京"));

    Seam().ActInDialog([](QDialog& shown) {
        EXPECT_EQ(Describe(Editor(shown)->Document()), StyledComment);
        CursorAt(shown, 9);
        EXPECT_EQ(Buttons(shown), "G--");
        CursorAt(shown, 14);
        EXPECT_EQ(Buttons(shown), "-IS");
    });
    dialog.Edit(read, false);
    EXPECT_EQ(RtfToPlainText(read.Comments),
              QString::fromUtf8("Plain bold both\r\nZürich – 東京 ✓\tcafé"));
}

TEST_F(Editors, ConclusionDialogChecksTheWording) {
    TFrmGuideline dialog(host, nullptr);
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
        const TGuideline* first = host.Project()->Guidelines[0].get();
        TGuideline fresh;
        TGuideline existing = *first;
        TGuideline& edited = c.isNew ? fresh : existing;
        const QString before = edited.Name;
        Seam().Messages.clear();
        Seam().ActInDialog([&c](QDialog& shown) {
            if (c.isNew) {
                EXPECT_TRUE(EdName(shown)->text().isEmpty());
            }
            EdName(shown)->setText(c.wording);
            Ok(shown);
            EXPECT_EQ(shown.isVisible(), c.message != nullptr) << "a refusal keeps it open";
        });
        const bool accepted = dialog.Edit(edited, c.isNew ? nullptr : first);
        if (c.message) {
            EXPECT_EQ(Seam().Messages, QStringList{c.message}) << c.wording;
            EXPECT_FALSE(accepted);
            EXPECT_EQ(edited.Name, before);
        } else {
            EXPECT_TRUE(accepted) << c.wording;
            EXPECT_EQ(edited.Name, c.wording);
            edited.Name = before;
        }
    }
}

TEST_F(Editors, ConclusionDialogCancelLeavesTheConclusion) {
    TFrmGuideline dialog(host, nullptr);
    const TGuideline* original = host.Project()->Guidelines[1].get();
    TGuideline guideline = *original;
    guideline.Couples = {{0, 1}};
    Seam().ActInDialog([](QDialog& shown) {
        EdName(shown)->setText("Other");
        QTest::keyClicks(Editor(shown), "notes");
        QTest::mouseClick(shown.findChild<QPushButton*>("BtCancel"), Qt::LeftButton);
    });
    EXPECT_FALSE(dialog.Edit(guideline, original));
    EXPECT_EQ(guideline.Name, "Save");
    EXPECT_TRUE(guideline.Comments.isEmpty());

    Seam().ActInDialog([](QDialog& shown) {
        EXPECT_EQ(EdName(shown)->text(), "Save");
        QTest::keyClicks(Editor(shown), "notes");
        Ok(shown);
    });
    EXPECT_TRUE(dialog.Edit(guideline, original));
    EXPECT_EQ(RtfToPlainText(guideline.Comments), "notes");
    EXPECT_EQ(guideline.Couples, (std::vector<TTOWSCouple>{{0, 1}}))
        << "links are not the dialog's";
}

// However small the user makes the dialog, its prompt shows whole.
TEST_F(Editors, ConclusionDialogShowsItsWholePromptAtItsSmallest) {
    TFrmGuideline dialog(host, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.resize(1, 1);
    QApplication::processEvents();
    QApplication::processEvents();
    auto* prompt = dialog.findChild<QLabel*>("LbCaption");
    EXPECT_GE(prompt->height(), prompt->heightForWidth(prompt->width()))
        << dialog.width() << "x" << dialog.height();
}
