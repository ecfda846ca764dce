#include "MainWindowTest.h"
#include "workspace/UntFraMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

// The Edit menu of the main window acts on whichever text field of the
// program has the focus; the fields here stand in a window of their own.
class EditCommands : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        auto* layout = new QVBoxLayout(&Fields);
        for (QWidget* field : {static_cast<QWidget*>(Line), static_cast<QWidget*>(Memo),
                               static_cast<QWidget*>(Plain), static_cast<QWidget*>(Button)})
            layout->addWidget(field);
        Fields.show();
        Fields.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&Fields));
    }

    void Focus(QWidget* field) {
        field->setFocus();
        QCoreApplication::processEvents();
        ASSERT_EQ(QApplication::focusWidget(), field);
    }

    // Cut, copy and paste as "XCV", a dash for each command disabled.
    QString Enabled() const {
        return QString(Action("AcnEditCut")->isEnabled() ? "X" : "-") +
               (Action("AcnEditCopy")->isEnabled() ? "C" : "-") +
               (Action("AcnEditPaste")->isEnabled() ? "V" : "-");
    }

    static QString Clipboard() { return QApplication::clipboard()->text(); }
    // Text on the clipboard; none clears it.
    static void SetClipboard(const char* text) {
        if (text)
            QApplication::clipboard()->setText(text);
        else
            QApplication::clipboard()->clear();
    }

    QWidget Fields;
    QLineEdit* Line = new QLineEdit(&Fields);
    TMemoEdit* Memo = new TMemoEdit(&Fields);
    QPlainTextEdit* Plain = new QPlainTextEdit(&Fields);
    QPushButton* Button = new QPushButton(&Fields);
};

TEST_F(EditCommands, ActOnTheFocusedFieldOnly) {
    Plain->setPlainText("elsewhere");
    Plain->selectAll();
    Line->setText("alpha beta");
    Focus(Line);
    Line->setSelection(6, 4);

    Action("AcnEditCopy")->trigger();
    EXPECT_EQ(Clipboard(), "beta") << "the focused field's selection, not another's";
    EXPECT_EQ(Line->text(), "alpha beta");
    Action("AcnEditCut")->trigger();
    EXPECT_EQ(Line->text(), "alpha ");
    SetClipboard("gamma");
    Action("AcnEditPaste")->trigger();
    EXPECT_EQ(Line->text(), "alpha gamma");
    EXPECT_EQ(Plain->toPlainText(), "elsewhere");

    // The focus moves: the commands follow it.
    Focus(Plain);
    Plain->selectAll();
    Action("AcnEditCut")->trigger();
    EXPECT_EQ(Clipboard(), "elsewhere");
    EXPECT_TRUE(Plain->toPlainText().isEmpty());
    EXPECT_EQ(Line->text(), "alpha gamma");
}

TEST_F(EditCommands, CutAndPasteGoThroughEveryKindOfField) {
    struct Case {
        const char* kind;
        QWidget* field;
        std::function<void(const QString&)> set;
        std::function<QString()> text;
        std::function<void()> selectAll;
    };
    const Case cases[] = {
        {"line", Line, [this](const QString& t) { Line->setText(t); },
         [this] { return Line->text(); },
         [this] {
             Line->selectAll();
         }},
        {"comment", Memo, [this](const QString& t) { Memo->setPlainText(t); },
         [this] { return Memo->toPlainText(); },
         [this] {
             Memo->selectAll();
         }},
        {"plain", Plain, [this](const QString& t) { Plain->setPlainText(t); },
         [this] { return Plain->toPlainText(); },
         [this] {
             Plain->selectAll();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        SetClipboard("before");
        c.set("one two");
        Focus(c.field);
        c.selectAll();
        EXPECT_EQ(Enabled(), "XCV");
        Action("AcnEditCut")->trigger();
        EXPECT_EQ(Clipboard(), "one two");
        EXPECT_TRUE(c.text().isEmpty());
        EXPECT_EQ(Enabled(), "--V") << "nothing left to cut or copy";
        Action("AcnEditPaste")->trigger();
        Action("AcnEditPaste")->trigger();
        EXPECT_EQ(c.text(), "one twoone two");
    }
}

TEST_F(EditCommands, AreEnabledOnlyWhereTheyCanAct) {
    struct Case {
        const char* what;
        std::function<void()> prepare;
        const char* clipboard;
        const char* enabled;
    };
    const Case cases[] = {
        {"a selection", [this] { Line->setSelection(0, 3); }, "clip", "XCV"},
        {"no selection", [this] { Line->deselect(); }, "clip", "--V"},
        {"an empty clipboard", [this] { Line->setSelection(0, 3); }, nullptr, "XC-"},
        {"a read-only field",
         [this] {
             Line->setReadOnly(true);
             Line->setSelection(0, 3);
         },
         "clip", "-C-"},
        {"a password",
         [this] {
             Line->setEchoMode(QLineEdit::Password);
             Line->setSelection(0, 3);
         },
         "clip", "--V"},
        {"no text field", [this] { Focus(Button); }, "clip", "---"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Line->setReadOnly(false);
        Line->setEchoMode(QLineEdit::Normal);
        Line->setText("some text");
        SetClipboard(c.clipboard);
        Focus(Line);
        c.prepare();
        EXPECT_EQ(Enabled(), c.enabled);
    }
}
