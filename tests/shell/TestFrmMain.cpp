#include "MainWindowTest.h"
#include "shell/UntFrmStart.h"

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

// The keys of the file commands reach them in the window: New on an unchanged
// project asks nothing; Open, and Save of a new document, ask for a file.
TEST_F(MainWindowTest, ShortcutsReachTheirCommands) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    Window->show();
    Window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    Seam->CancelFile();
    Seam->CancelFile();
    const struct {
        const char* name;
        QKeyCombination key;
    } cases[] = {
        {"AcnFileNew", Qt::CTRL | Qt::Key_N},
        {"AcnFileOpen", Qt::CTRL | Qt::Key_O},
        {"AcnFileSave", Qt::CTRL | Qt::Key_S},
        {"AcnFileQuit", Qt::CTRL | Qt::Key_Q},
    };
    for (const auto& c : cases) {
        QSignalSpy triggered(Action(c.name), &QAction::triggered);
        QTest::keyClick(Window.get(), c.key.key(), c.key.keyboardModifiers());
        EXPECT_EQ(triggered.count(), 1) << c.name;
    }
    ASSERT_EQ(Seam->FileRequests.size(), 2);
    EXPECT_EQ(Seam->FileRequests[0].Caption, "Select the Merovan file to be opened");
    EXPECT_FALSE(Window->isVisible()) << "Ctrl+Q quits";
}

TEST_F(MainWindowTest, MenusAndToolBarListTheirCommands) {
    const QList<QAction*> menus = Window->menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(Texts(menus), (QStringList{"&File", "&Edit", "&Project", "&Help"}));
    EXPECT_EQ(Texts(menus[0]->menu()->actions()),
              (QStringList{"&New", "&Open", "Open &recent", "&Save", "&Save as", "|", "&Import…",
                           "&Export…", "|", "Co&mpare with…", "|", "&Properties", "|", "&Quit"}));
    EXPECT_EQ(Texts(menus[1]->menu()->actions()),
              (QStringList{"&Undo", "&Redo", "|", "&Cut", "Co&py", "&Paste"}));
    // Every command of the tool bar is in a menu, for the keyboard.
    EXPECT_EQ(Texts(menus[2]->menu()->actions()),
              (QStringList{"Display the example", "Select the example", "|", "Text report",
                           "Spreadsheet report", "|", "&SWOT picture…", "&TOWS picture…",
                           "Strate&gy picture…"}));
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
    EXPECT_LE(status->fontMetrics().horizontalAdvance(status->text()), status->width());
    EXPECT_EQ(Window->DocumentPath(), deep);

    Window->SetDocumentPath(std::nullopt);
    EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
    EXPECT_EQ(Window->Project()->FileName, "");
}

TEST_F(MainWindowTest, StartDialogButtonsGiveTheirChoices) {
    auto* start = Window->findChild<TFrmStart*>("FrmStart");
    ASSERT_NE(start, nullptr);

    struct Case {
        const char* button;
        int result;
    };
    const Case cases[] = {
        {"BtNew", TFrmStart::chNew},
        {"BtOpen", TFrmStart::chOpen},
        {"Button3", TFrmStart::chQuit},
    };
    for (const Case& c : cases) {
        start->show();
        auto* button = start->findChild<QPushButton*>(c.button);
        ASSERT_NE(button, nullptr);
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
