#include "MainWindowTest.h"
#include "UntDlgAbout.h"
#include "UntFrmHelp.h"
#include "UntModelFrame.h"
#include "UntProgramFolder.h"
#include "UntWebLinks.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

class Help : public MainWindowTest {
protected:
    QString ShownPage() const {
        auto* browser = Window->findChild<QTextBrowser*>("HelpBrowser");
        return browser ? browser->source().fileName() : QString();
    }
    QString ShownTitle() const {
        return Window->findChild<QTextBrowser*>("HelpBrowser")->documentTitle();
    }
};

TEST_F(Help, TopicsOpenTheirPages) {
    struct Case {
        int context;
        const char* page;
        const char* title;
    };
    const Case cases[] = {
        {1, "main.htm", "Getting started"},      {13, "workspace.htm", "The workspace"},
        {22, "factor.htm", "Entering a factor"}, {241, "conclusion.htm", "Writing a conclusion"},
        {0, "index.htm", "Merovan Help"},        {7, "index.htm", "Merovan Help"},
    };
    for (const Case& c : cases) {
        Window->ShowHelpTopic(c.context);
        EXPECT_EQ(ShownPage(), c.page) << c.context;
        EXPECT_EQ(ShownTitle(), c.title) << c.context;
        EXPECT_TRUE(Window->findChild<TFrmHelp*>("FrmHelp")->isVisible());
    }
}

TEST_F(Help, HelpKeyFollowsTheFocus) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    Workspace()->setFocusPolicy(Qt::StrongFocus);
    Workspace()->setFocus();
    QTest::keyClick(Window.get(), Qt::Key_F1);
    EXPECT_EQ(ShownPage(), "workspace.htm");

    Window->findChild<QWidget*>("MainPanel")->setFocusPolicy(Qt::StrongFocus);
    Window->findChild<QWidget*>("MainPanel")->setFocus();
    QTest::keyClick(Window.get(), Qt::Key_F1);
    EXPECT_EQ(ShownPage(), "main.htm") << "a control without a topic opens the window's";
}

TEST_F(Help, GuideOpensTheMainTopic) {
    Action("AcnHelpIndex")->trigger();
    EXPECT_EQ(ShownPage(), "main.htm");
}

TEST_F(Help, AboutBoxShowsTheRelease) {
    Action("AcnHelpAbout")->trigger();
    EXPECT_EQ(Seam->Dialogs, QStringList{"DlgAbout"});
    auto* about = Window->findChild<TDlgAbout*>("DlgAbout");
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(about->windowTitle(), "About Merovan");
    EXPECT_EQ(about->findChild<QLabel*>("Label2")->text(), "Release 1.1");
    EXPECT_EQ(about->size(), QSize(505, 417));
    EXPECT_EQ(about->findChild<QPushButton*>("BtOk")->text(), "Close");
}

// The licence and the maker's pages open outside the program, through the seam.
TEST_F(Help, LicenceAndWebPagesOpenThroughTheSeam) {
    struct Case {
        const char* action;
        QString document;
        QString page;
    };
    const Case cases[] = {
        {"AcnDispLicence", ProgramFolder() + "licence.htm", {}},
        {"AcnHelpWebPage", {}, ProductPageUrl},
        {"AcnHelpCustPage", {}, CustomerPageUrl},
    };
    for (const Case& c : cases) {
        Seam->Opened.clear();
        Seam->WebPages.clear();
        Action(c.action)->trigger();
        EXPECT_EQ(Seam->Opened, c.document.isEmpty() ? QStringList() : QStringList{c.document})
            << c.action;
        EXPECT_EQ(Seam->WebPages, c.page.isEmpty() ? QStringList() : QStringList{c.page})
            << c.action;
    }

    auto* link = Window->findChild<TDlgAbout*>("DlgAbout")->findChild<QLabel*>("Label1");
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->text().contains(MakerHomeUrl));
    Seam->WebPages.clear();
    emit link->linkActivated(MakerHomeUrl);
    EXPECT_EQ(Seam->WebPages, QStringList{MakerHomeUrl});
}

// Links between help pages stay in the help window; a link out of them goes
// to the desktop through the seam.
TEST_F(Help, HelpLinksStayInsideOrLeaveThroughTheSeam) {
    Window->ShowHelpTopic(0);
    auto* browser = Window->findChild<QTextBrowser*>("HelpBrowser");
    emit browser->anchorClicked(QUrl("factor.htm"));
    EXPECT_EQ(ShownPage(), "factor.htm");
    EXPECT_TRUE(Seam->WebPages.isEmpty());

    emit browser->anchorClicked(QUrl("https://www.example.org/merovan"));
    EXPECT_EQ(ShownPage(), "factor.htm");
    EXPECT_EQ(Seam->WebPages, QStringList{"https://www.example.org/merovan"});
}
