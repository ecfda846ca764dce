#include "MainWindowTest.h"
#include "UntFrmStart.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <gtest/gtest.h>

namespace {

QStringList Texts(const QList<QAction*>& actions) {
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QStringLiteral("|") : action->text());
    return texts;
}

} // namespace

TEST_F(MainWindowTest, CommandsCarryTheirCaptionsAndShortcuts) {
    EXPECT_TRUE(Window->windowTitle().isEmpty());

    struct Case {
        const char* name;
        const char* caption;
        const char* shortcut;
    };
    const Case cases[] = {
        {"AcnFileNew", "&New", "Ctrl+N"},
        {"AcnFileOpen", "&Open", "Ctrl+O"},
        {"AcnFileSave", "&Save", "Ctrl+S"},
        {"AcnFileSaveAs", "&Save as", ""},
        {"AcnFileProperties", "&Properties", ""},
        {"AcnFileQuit", "&Quit", "Ctrl+Q"},
        {"AcnEditCut", "&Cut", "Ctrl+X"},
        {"AcnEditCopy", "Co&py", "Ctrl+C"},
        {"AcnEditPaste", "&Paste", "Ctrl+V"},
        {"AcnHelpIndex", "&Guide", ""},
        {"AcnDispLicence", "User &licence", ""},
        {"AcnHelpWebPage", "Merovan &web page", ""},
        {"AcnHelpCustPage", "My Korvell User Account", ""},
        {"AcnHelpAbout", "About Merovan", ""},
        {"AcnProjExampDisp", "Display the example", ""},
        {"AcnProjExampleSelect", "Select the example", ""},
        {"AcnProjTextReport", "Text report", ""},
        {"AcnProjTableReport", "Spreadsheet report", ""},
    };
    for (const Case& c : cases) {
        QAction* action = Action(c.name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), c.caption) << c.name;
        EXPECT_EQ(action->shortcut().toString(), c.shortcut) << c.name;
    }
}

TEST_F(MainWindowTest, MenusAndToolBarListTheirCommands) {
    const QList<QAction*> menus = Window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(Texts(menus), (QStringList{"&File", "&Edit", "&Project", "&Help"}));
    EXPECT_EQ(Texts(menus[0]->menu()->actions()),
              (QStringList{"&New", "&Open", "Open &recent", "&Save", "&Save as", "|", "&Import…",
                           "&Export…", "|", "&Properties", "|", "&Quit"}));
    EXPECT_EQ(Texts(menus[1]->menu()->actions()),
              (QStringList{"Undo", "Redo", "|", "&Cut", "Co&py", "&Paste"}));
    // Every command of the tool bar is in a menu, for the keyboard.
    EXPECT_EQ(Texts(menus[2]->menu()->actions()),
              (QStringList{"Display the example", "Select the example", "|", "Text report",
                           "Spreadsheet report", "|", "SWOT picture…", "TOWS picture…"}));
    EXPECT_EQ(Texts(menus[3]->menu()->actions()),
              (QStringList{"&Guide", "User &licence", "|", "Merovan &web page",
                           "My Korvell User Account", "|", "About Merovan"}));

    auto* bar = Window->findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    QStringList commands;
    for (const QAction* action : bar->actions())
        if (action->isSeparator() || !action->objectName().isEmpty())
            commands << (action->isSeparator() ? QStringLiteral("|") : action->objectName());
    EXPECT_EQ(commands, (QStringList{"AcnFileNew", "AcnFileOpen", "AcnFileSave", "|", "AcnEditCut",
                                     "AcnEditCopy", "AcnEditPaste", "|", "AcnProjExampDisp",
                                     "AcnProjExampleSelect", "|", "AcnProjTextReport",
                                     "AcnProjTableReport"}));
    EXPECT_EQ(Action("AcnEditCut")->toolTip(), "Couper");
    EXPECT_EQ(Action("AcnEditCopy")->toolTip(), "Copier");
    EXPECT_EQ(Action("AcnEditPaste")->toolTip(), "Coller");
    EXPECT_EQ(Action("AcnProjExampleSelect")->toolTip(),
              QString::fromUtf8("Afficher la liste des exemples pour en sélectionner un"));
}

TEST_F(MainWindowTest, CommandsThatNeedAProjectWaitForOne) {
    const char* needy[] = {"AcnFileSave",      "AcnFileSaveAs",     "AcnFileProperties",
                           "AcnProjExampDisp", "AcnProjTextReport", "AcnProjTableReport"};
    for (const char* name : needy)
        EXPECT_FALSE(Action(name)->isEnabled()) << name;
    for (const char* name : {"AcnFileNew", "AcnFileOpen", "AcnFileQuit", "AcnHelpAbout"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;

    ASSERT_TRUE(Window->StartUp({"-n"}));
    for (const char* name :
         {"AcnFileSave", "AcnFileSaveAs", "AcnFileProperties", "AcnProjExampDisp"})
        EXPECT_TRUE(Action(name)->isEnabled()) << name;
}

TEST_F(MainWindowTest, DocumentPathSetsCaptionAndStatusBar) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    auto* status = Window->findChild<QLabel*>("StatusPath");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->width(), 300);

    EXPECT_EQ(Window->DocumentPath(), std::nullopt);
    EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
    EXPECT_EQ(status->text(), "New document");

    Window->SetDocumentPath("/home/ana/Plan.swot");
    EXPECT_EQ(Window->windowTitle(), "Merovan - Plan.swot");
    EXPECT_EQ(status->text(), "/home/ana/Plan.swot");
    EXPECT_EQ(Window->Project()->FileName, "/home/ana/Plan.swot");

    const QString deep =
        "/home/ana/" + QString("very long folder name/").repeated(12) + "Plan.swot";
    Window->SetDocumentPath(deep);
    EXPECT_EQ(Window->windowTitle(), "Merovan - Plan.swot");
    EXPECT_TRUE(status->text().startsWith("/.../")) << status->text().toStdString();
    EXPECT_TRUE(status->text().endsWith("/Plan.swot"));
    EXPECT_LE(status->fontMetrics().horizontalAdvance(status->text()), 300);
    EXPECT_EQ(Window->DocumentPath(), deep);

    Window->SetDocumentPath(std::nullopt);
    EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
    EXPECT_EQ(Window->Project()->FileName, "");
}

TEST_F(MainWindowTest, StartDialogButtonsGiveTheirChoices) {
    auto* start = Window->findChild<TFrmStart*>("FrmStart");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->windowTitle(), "Korvell Merovan");
    EXPECT_EQ(start->size(), QSize(505, 169));
    EXPECT_EQ(start->findChild<QLabel*>("LbQuestion")->text(), "What do you wish to do?");

    struct Case {
        const char* button;
        const char* text;
        int result;
    };
    const Case cases[] = {
        {"BtNew", "Start a new project", TFrmStart::chNew},
        {"BtOpen", "Open an existing project", TFrmStart::chOpen},
        {"Button3", "Quit", TFrmStart::chQuit},
    };
    for (const Case& c : cases) {
        start->show();
        auto* button = start->findChild<QPushButton*>(c.button);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), c.text);
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_FALSE(start->isVisible());
        EXPECT_EQ(start->result(), c.result) << c.button;
    }

    start->show();
    QTest::keyClick(start, Qt::Key_Escape);
    EXPECT_EQ(start->result(), TFrmStart::chQuit) << "closing otherwise counts as Quit";

    // Enter presses the focused button.
    for (const Case& c : cases) {
        start->show();
        start->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(start));
        start->findChild<QPushButton*>(c.button)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(start->result(), c.result) << c.button;
    }
}

TEST_F(MainWindowTest, QuitClosesTheWindow) {
    Window->show();
    Action("AcnFileQuit")->trigger();
    EXPECT_FALSE(Window->isVisible());
}
