#include "MainWindowTest.h"
#include "shell/UntDlgAbout.h"
#include "shell/UntFrmHelp.h"
#include "shell/UntWebLinks.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntMPDialog.h"
#include "workspace/UntModalSeam.h"
#include "workspace/UntModelFrame.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>

namespace {

// The help window: a window of its own, not a child of the main window.
TFrmHelp* HelpWindow() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* help = qobject_cast<TFrmHelp*>(window))
            return help;
    return nullptr;
}

} // namespace

class Help : public MainWindowTest {
protected:
    QString ShownPage() const {
        auto* browser = HelpWindow()->findChild<QTextBrowser*>("HelpBrowser");
        return browser ? browser->source().fileName() : QString();
    }
    QString ShownTitle() const {
        return HelpWindow()->findChild<QTextBrowser*>("HelpBrowser")->documentTitle();
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
        EXPECT_TRUE(HelpWindow()->isVisible());
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

// The about box tells the release this build is, as "merovan --version" does.
TEST_F(Help, AboutBoxShowsTheRelease) {
    Seam->AnswerDialog(QDialog::Accepted);
    Action("AcnHelpAbout")->trigger();
    EXPECT_EQ(Seam->Dialogs, QStringList{"DlgAbout"});
    auto* about = Window->findChild<TDlgAbout*>("DlgAbout");
    ASSERT_NE(about, nullptr);
    QProcess program;
    program.start(QStringLiteral(MEROVAN_PROGRAM), {QStringLiteral("--version")});
    ASSERT_TRUE(program.waitForFinished(30000));
    const QString printed =
        QString::fromUtf8(program.readAllStandardOutput()).section('\n', 0, 0).trimmed();
    ASSERT_TRUE(printed.startsWith("Merovan ")) << printed.toStdString();
    EXPECT_EQ(about->findChild<QLabel*>("Label2")->text(), "Release " + printed.section(' ', 1));
}

// The licence opens in the program's own viewer, the maker's pages outside
// the program, through the seam.
TEST_F(Help, LicenceAndWebPagesOpenWhereTheyBelong) {
    Action("AcnDispLicence")->trigger();
    EXPECT_EQ(ShownPage(), "licence.htm");
    EXPECT_TRUE(Seam->Opened.isEmpty());

    struct Case {
        const char* action;
        QString document;
        QString page;
    };
    const Case cases[] = {
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
    auto* browser = HelpWindow()->findChild<QTextBrowser*>("HelpBrowser");
    emit browser->anchorClicked(QUrl("factor.htm"));
    EXPECT_EQ(ShownPage(), "factor.htm");
    EXPECT_TRUE(Seam->WebPages.isEmpty());

    emit browser->anchorClicked(QUrl("https://www.example.org/merovan"));
    EXPECT_EQ(ShownPage(), "factor.htm");
    EXPECT_EQ(Seam->WebPages, QStringList{"https://www.example.org/merovan"});
}

// Help asked for from a dialog opens beside it, and takes the mouse and the
// keys while the dialog stays open: real input events, which the toolkit
// drops for the windows a modal dialog blocks.
TEST_F(Help, HelpOpensBesideADialogAndTakesInputWhileItIsOpen) {
    Window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
    TMPDialog dialog(*Window, 22, Window.get());
    bool checked = false;
    QTimer::singleShot(0, &dialog, [&] {
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        EXPECT_EQ(QApplication::activeModalWidget(), &dialog);
        dialog.move(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
        QPushButton* help = dialog.findChild<QPushButton*>("BtHelp");
        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                          help->mapTo(&dialog, help->rect().center()));
        TFrmHelp* window = HelpWindow();
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        EXPECT_EQ(ShownPage(), "factor.htm");
        EXPECT_FALSE(window->frameGeometry().intersects(dialog.frameGeometry()))
            << "beside the dialog, not over it";

        // A link of the page, then Escape, as the user gives them.
        QTextBrowser* browser = window->findChild<QTextBrowser*>("HelpBrowser");
        browser->setFocus();
        QTest::keyClick(window->windowHandle(), Qt::Key_Tab);
        QTest::keyClick(window->windowHandle(), Qt::Key_Return);
        EXPECT_EQ(ShownPage(), "index.htm") << "the first link leads to the contents";
        QTest::keyClick(window->windowHandle(), Qt::Key_Escape);
        EXPECT_FALSE(window->isVisible());

        QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                          help->mapTo(&dialog, help->rect().center()));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QWidget* close = window->findChild<QToolBar*>()->widgetForAction(
            window->findChild<QAction*>("AcnHelpClose"));
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {},
                          close->mapTo(window, close->rect().center()));
        EXPECT_FALSE(window->isVisible()) << "the dialog does not block the help window";
        EXPECT_TRUE(dialog.isVisible());
        checked = true;
        dialog.reject();
    });
    TModalSeam().ExecDialog(dialog);
    EXPECT_TRUE(checked);
}

// Opened for the first time beside a dialog, wherever the dialog stands, the
// help window's frame keeps off the dialog's frame and stays on the screen.
TEST_F(Help, HelpBesideADialogKeepsOffItsFrameAndOnTheScreen) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const auto text = [](const QRect& rect) {
        return QStringLiteral("%1,%2 %3x%4")
            .arg(rect.x())
            .arg(rect.y())
            .arg(rect.width())
            .arg(rect.height())
            .toStdString();
    };
    for (const Qt::Corner corner : {Qt::TopLeftCorner, Qt::TopRightCorner, Qt::BottomRightCorner}) {
        SCOPED_TRACE(corner);
        NewWindow();
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Window.get()));
        TMPDialog dialog(*Window, 22, Window.get());
        QTimer::singleShot(0, &dialog, [&] {
            // Whatever fails, the dialog closes and the test goes on.
            const auto close = qScopeGuard([&dialog] { dialog.reject(); });
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            QRect frame = dialog.frameGeometry();
            if (corner == Qt::TopLeftCorner)
                frame.moveTopLeft(screen.topLeft());
            else if (corner == Qt::TopRightCorner)
                frame.moveTopRight(screen.topRight());
            else
                frame.moveBottomRight(screen.bottomRight());
            dialog.move(frame.topLeft());
            QTest::keyClick(dialog.windowHandle(), Qt::Key_F1);
            TFrmHelp* help = HelpWindow();
            ASSERT_NE(help, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(help));
            EXPECT_FALSE(help->frameGeometry().intersects(dialog.frameGeometry()))
                << "help " << text(help->frameGeometry()) << ", dialog "
                << text(dialog.frameGeometry());
            EXPECT_TRUE(screen.contains(help->frameGeometry())) << text(help->frameGeometry());
        });
        TModalSeam().ExecDialog(dialog);
    }
}

// Where no program takes a web address or a file, the user is shown it, to
// copy; where one does, nothing is said.
TEST(WebPages, AnAddressNothingOpensIsShown) {
    struct TRecordingSeam : TModalSeam {
        QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString& text,
                                            QMessageBox::StandardButtons,
                                            QMessageBox::StandardButton,
                                            const TButtonCaptions&) override {
            Messages << text;
            return QMessageBox::Ok;
        }
        QStringList Messages;
    };
    QTemporaryDir bin;
    const QByteArray path = qgetenv("PATH");
    const struct {
        const char* name;
        // The desktop's opener; none for a desktop without xdg-open.
        const char* opener;
        bool told;
    } cases[] = {
        {"xdg-open finds no program", "#!/bin/sh\nexit 3\n", true},
        {"xdg-open opens it", "#!/bin/sh\nexit 0\n", false},
        {"no xdg-open, and the offscreen platform has no browser", nullptr, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(bin.filePath("xdg-open"));
        if (c.opener) {
            QFile opener(bin.filePath("xdg-open"));
            ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
            opener.write(c.opener);
            opener.close();
            opener.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        }
        qputenv("PATH", bin.path().toLocal8Bit());
        TRecordingSeam seam;
        seam.OpenWebPage(QStringLiteral("https://merovan.example/help"));
        seam.OpenDocument(QStringLiteral("/tmp/report.pdf"));
        // The answers come when the openers have ended.
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                return qApp->findChildren<QProcess*>().isEmpty() &&
                       (!c.told || seam.Messages.size() == 2);
            },
            30000));
        qputenv("PATH", path);
        // The two openers run side by side: either may answer first.
        seam.Messages.sort();
        EXPECT_EQ(seam.Messages,
                  (c.told ? QStringList{"No program opened the file. It was written to:\n\n"
                                        "/tmp/report.pdf",
                                        "No web browser opened the page. Its address is:\n\n"
                                        "https://merovan.example/help"}
                          : QStringList()));
    }
}

// The help window speaks the interface's language.
TEST(HelpWindow, TakesItsWordsFromTheStringTable) {
    const struct {
        QLocale locale;
        const char* title;
        QStringList actions;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedKingdom),
         "Merovan Help",
         {"Back", "Forward", "Contents", "Close"}},
        {QLocale(QLocale::French, QLocale::France),
         "Aide de Merovan",
         {"Précédent", "Suivant", "Sommaire", "Fermer"}},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        TFrmHelp help(nullptr);
        QStringList actions;
        for (const QAction* action : help.findChild<QToolBar*>()->actions())
            actions << action->text();
        EXPECT_EQ(help.windowTitle(), c.title);
        EXPECT_EQ(actions, c.actions);
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

// The window of a French interface: its help, licence, examples and new
// projects come from the "fr" folders beside the English files.
class FrenchHelp : public Help {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        Help::SetUp();
    }
    void TearDown() override {
        Help::TearDown();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    }
    QString ShownPath() const {
        return HelpWindow()->findChild<QTextBrowser*>("HelpBrowser")->source().toLocalFile();
    }
};

TEST_F(FrenchHelp, PagesLinksAndLicenceAreFrench) {
    const struct {
        int context;
        const char* page;
        const char* title;
    } cases[] = {
        {1, "main.htm", "Prise en main"},        {13, "workspace.htm", "L’espace de travail"},
        {22, "factor.htm", "Saisir un facteur"}, {241, "conclusion.htm", "Rédiger une conclusion"},
        {0, "index.htm", "Aide de Merovan"},
    };
    for (const auto& c : cases) {
        Window->ShowHelpTopic(c.context);
        EXPECT_EQ(ShownPath(), ProgramFolder() + "help/fr/" + c.page) << c.context;
        EXPECT_EQ(ShownTitle(), c.title) << c.context;
    }
    auto* help = HelpWindow();
    EXPECT_EQ(help->windowTitle(), "Aide de Merovan");

    emit HelpWindow()->findChild<QTextBrowser*>("HelpBrowser")->anchorClicked(QUrl("factor.htm"));
    EXPECT_EQ(ShownPath(), ProgramFolder() + "help/fr/factor.htm") << "links stay in French";
    const QList<QAction*> actions = help->findChild<QToolBar*>()->actions();
    const auto contents = std::find_if(actions.begin(), actions.end(), [](QAction* action) {
        return action->text() == "Sommaire";
    });
    ASSERT_NE(contents, actions.end());
    (*contents)->trigger();
    EXPECT_EQ(ShownPath(), ProgramFolder() + "help/fr/index.htm");

    Action("AcnDispLicence")->trigger();
    EXPECT_EQ(ShownPath(), ProgramFolder() + "fr/licence.htm");
    EXPECT_EQ(ShownTitle(), "Licence utilisateur de Merovan");
}

TEST_F(FrenchHelp, NewProjectsAndExamplesAreFrench) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    EXPECT_EQ(Window->Project()->Labels.Value(4), "Nos forces");
    EXPECT_EQ(Window->Project()->Labels.Value(12), "Coups de chance");
    EXPECT_EQ(Window->Settings().ExampleFile, ProgramFolder() + "templates/fr/reference.swot");

    QStringList listed;
    Seam->ActInDialog([&](QDialog& select) {
        auto* examples = select.findChild<QListWidget*>("LstExamples");
        for (int i = 0; i < examples->count(); ++i)
            listed << examples->item(i)->text();
        examples->setCurrentItem(
            examples->findItems("Boulangerie familiale - vente en ligne.swot", Qt::MatchExactly)
                .value(0));
        QTest::mouseClick(select.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
    });
    Action("AcnProjExampleSelect")->trigger();
    listed.sort();
    EXPECT_EQ(listed,
              (QStringList{"Bibliothèque municipale - rénovation.swot",
                           "Boulangerie familiale - vente en ligne.swot", "reference.swot"}));
    EXPECT_EQ(Window->Settings().ExampleFile,
              ProgramFolder() + "templates/fr/Boulangerie familiale - vente en ligne.swot");
    ASSERT_NE(ExampleProject(), nullptr);
    EXPECT_EQ(ExampleProject()->Title, "Maison Fournier – vente en ligne");
}

// A file not translated yet is served in English; English never looks in "fr".
TEST(LocalizedFile, FrenchWhereItExistsEnglishOtherwise) {
    QTemporaryDir data;
    for (const char* folder : {"help/fr", "fr", "templates/fr", "exports"})
        ASSERT_TRUE(QDir(data.path()).mkpath(folder));
    for (const char* name : {"help/main.htm", "help/fr/main.htm", "help/factor.htm", "licence.htm",
                             "fr/licence.htm"}) {
        QFile file(data.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name;
    }
    qputenv("MEROVAN_DATA_DIR", data.path().toLocal8Bit());
    const struct {
        const char* relative;
        const char* french;
    } cases[] = {
        {"help/main.htm", "help/fr/main.htm"},
        {"help/factor.htm", "help/factor.htm"},
        {"licence.htm", "fr/licence.htm"},
        {"templates/", "templates/fr/"},
        {"exports/", "exports/"},
        {"help/missing.htm", "help/missing.htm"},
    };
    const QString folder = data.path() + '/';
    for (const auto& c : cases) {
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        EXPECT_EQ(LocalizedFile(c.relative), folder + c.french) << c.relative;
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        EXPECT_EQ(LocalizedFile(c.relative), folder + c.relative) << c.relative;
    }
    qunsetenv("MEROVAN_DATA_DIR");
}
