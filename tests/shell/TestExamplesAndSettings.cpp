#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "shell/UntSelectExample.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntModelFrame.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <sys/stat.h>
#include <tuple>

// Examples come from a templates folder of the test's own.
class Examples : public MainWindowTest {
protected:
    void SetUp() override {
        QDir(Data.path()).mkdir("templates");
        for (const char* name : {"reference.swot", "Bakery.swot", "Library.swot"})
            WriteProject(*MakeProject({{name, stStrength, 2}}), Template(name));
        QFile broken(Template("Broken.swot"));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write("no archive");
        broken.close();
        QDir(Data.path()).mkdir("templates/Folder.swot");
        QFile notProject(Template("notes.txt"));
        ASSERT_TRUE(notProject.open(QIODevice::WriteOnly));
        qputenv("MEROVAN_DATA_DIR", Data.path().toLocal8Bit());
        MainWindowTest::SetUp();
    }

    void TearDown() override {
        MainWindowTest::TearDown();
        qunsetenv("MEROVAN_DATA_DIR");
    }

    QString Template(const char* name) const {
        return Data.filePath(QStringLiteral("templates/") + QLatin1String(name));
    }

    // Answers the selection dialog by choosing the entry of that text, or none.
    void Choose(const QString& entry, QStringList* listed = nullptr) {
        Seam->ActInDialog([=](QDialog& select) {
            EXPECT_EQ(select.objectName(), "DlgSelectExample");
            auto* examples = select.findChild<QListWidget*>("LstExamples");
            if (listed)
                for (int i = 0; i < examples->count(); ++i)
                    *listed << examples->item(i)->text();
            const auto found = examples->findItems(entry, Qt::MatchExactly);
            if (!found.isEmpty())
                examples->setCurrentItem(found.front());
            QTest::mouseClick(select.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
        });
    }

    QString ExampleFirstFactor() const {
        return ExampleProject() ? ExampleProject()->Items[0]->Name : QString();
    }

    QTemporaryDir Data;
};

TEST_F(Examples, SelectionListsEveryProjectFileOfTheTemplates) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    EXPECT_EQ(ExampleFirstFactor(), "reference.swot");
    QStringList listed;
    Choose("Library.swot", &listed);
    Action("AcnProjExampleSelect")->trigger();
    listed.sort();
    EXPECT_EQ(listed,
              (QStringList{"Bakery.swot", "Broken.swot", "Library.swot", "reference.swot"}));
    EXPECT_EQ(ExampleFirstFactor(), "Library.swot");
    EXPECT_EQ(Window->Settings().ExampleFile, Template("Library.swot"));
    EXPECT_FALSE(Window->ExampleDisplayed()) << "a new example waits to be displayed";

    Action("AcnProjExampDisp")->trigger();
    EXPECT_EQ(Window->Project()->Items[0]->Name, "Library.swot");
}

TEST_F(Examples, SelectionNeedsAReadableChoice) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    Choose(QString());
    Action("AcnProjExampleSelect")->trigger();
    EXPECT_EQ(Seam->Messages, QStringList{"Select an example from the list"});
    EXPECT_EQ(ExampleFirstFactor(), "reference.swot");

    Seam->Messages.clear();
    Choose("Broken.swot");
    Action("AcnProjExampleSelect")->trigger();
    EXPECT_EQ(Seam->Messages,
              (QStringList{"The file is not a Merovan project: it is not a ZIP archive.",
                           "Error while loading the example"}));
    EXPECT_EQ(ExampleFirstFactor(), "reference.swot") << "the previous example stays";
    EXPECT_EQ(Window->Settings().ExampleFile, Template("reference.swot"));
}

TEST_F(Examples, SelectingWhileTheExampleIsDisplayedReturnsFirst) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    const TProject* user = Window->Project();
    Action("AcnProjExampDisp")->trigger();
    Choose("Bakery.swot");
    Action("AcnProjExampleSelect")->trigger();
    EXPECT_EQ(Window->Project(), user);
    EXPECT_EQ(ExampleFirstFactor(), "Bakery.swot");
}

TEST_F(Examples, AnUnreadableExampleIsReportedAtStartUp) {
    WriteSettingsText("[Configuration]\nExampleFile=" + Template("Broken.swot").toUtf8() + "\n");
    ASSERT_TRUE(Window->StartUp({"-n"}));
    EXPECT_EQ(Seam->Messages,
              (QStringList{"The file is not a Merovan project: it is not a ZIP archive.",
                           "Error while loading the example"}));
    EXPECT_EQ(ExampleProject(), nullptr);
    EXPECT_FALSE(Action("AcnProjExampDisp")->isEnabled());
}

TEST_F(MainWindowTest, SettingsAreWrittenAtExitAndReadBack) {
    Seam->AnswerDialog(QDialog::Rejected);
    EXPECT_FALSE(Window->StartUp({}));
    EndRun();
    const QString first = SettingsText();
    EXPECT_TRUE(first.contains("[Configuration]")) << first.toStdString();
    EXPECT_TRUE(first.contains("ExampleFile=" + ProgramFolder() + "templates/reference.swot"))
        << first.toStdString();
    EXPECT_TRUE(first.contains("DefaultOfficeFormat=1"));
    EXPECT_TRUE(first.contains("[Recent]\nRecent1="));

    WriteSettingsText("[Configuration]\nExampleFile=/nowhere/gone.swot\nDefaultOfficeFormat=3\n"
                      "[Other]\nKept=yes\n[Recent]\nRecent1=/home/ana/Old plan.swot\n");
    for (int run = 0; run < 2; ++run) {
        NewWindow();
        ASSERT_TRUE(Window->StartUp({"-n"}));
        EXPECT_EQ(Window->Settings().ReportFormat, 3);
        EXPECT_EQ(Window->Settings().Recent1, "/home/ana/Old plan.swot");
        EXPECT_EQ(Window->Settings().ExampleFile, ProgramFolder() + "templates/reference.swot");
        EndRun();
    }
    const QString later = SettingsText();
    EXPECT_TRUE(later.contains("Recent1=/home/ana/Old plan.swot")) << later.toStdString();
    EXPECT_TRUE(later.contains("DefaultOfficeFormat=3"));
    EXPECT_TRUE(later.contains("Kept=yes")) << "other keys survive";
    EXPECT_FALSE(later.contains("gone.swot"));
}

TEST_F(MainWindowTest, ADamagedReportFormatCountsAsTheFirst) {
    for (const char* value : {"abc", "0", "6", "-1", ""}) {
        WriteSettingsText(QByteArray("[Configuration]\nDefaultOfficeFormat=") + value + "\n");
        NewWindow();
        ASSERT_TRUE(Window->StartUp({"-n"})) << value;
        EXPECT_EQ(Window->Settings().ReportFormat, 1) << value;
        EXPECT_NE(Window->Project(), nullptr) << "start-up goes on";
        EndRun();
        EXPECT_TRUE(SettingsText().contains("DefaultOfficeFormat=1")) << value;
    }
}

// A folder, a pipe or a device is no example file: the template takes its
// place without a word, as for a file that is gone.
TEST_F(MainWindowTest, AnExamplePathThatIsNoFileCountsAsNone) {
    const QString fifo = Path("pipe.swot");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {Files.path(), fifo, QStringLiteral("/dev/null")}) {
        WriteSettingsText("[Configuration]\nExampleFile=" + path.toUtf8() + "\n");
        NewWindow();
        ASSERT_TRUE(Window->StartUp({"-n"}));
        EXPECT_TRUE(Seam->Messages.isEmpty()) << path.toStdString();
        EXPECT_EQ(Window->Settings().ExampleFile, ProgramFolder() + "templates/reference.swot")
            << path.toStdString();
        EXPECT_NE(ExampleProject(), nullptr) << path.toStdString();
    }
}

// Settings are kept as written: a value comes back byte for byte after any
// number of runs, whatever it holds, and so does the rest of the file.
TEST_F(MainWindowTest, SettingsValuesSurviveRunsByteForByte) {
    // The example file's path holds what an INI layer would like to escape.
    const QString example = Path("a;b, \"c\" \\d é.swot");
    ASSERT_TRUE(QFile::copy(ProgramFolder() + "templates/reference.swot", example));
    const QStringList recent = {
        "C:\\Documents\\Plan.swot",
        "/home/u/a;b.swot",
        "Plan,v2.swot",
        "\"quoted\" and 'single'",
        "  blanks around  ",
        QString::fromUtf8("Zürich – 東京.swot"),
        "",
        "a=b=c #not a comment",
    };
    for (const QString& value : recent) {
        const QByteArray written =
            "; kept comment\r\n[Configuration]\r\nExampleFile=" + example.toUtf8() +
            "\r\nDefaultOfficeFormat=2\r\n\r\n[Recent]\r\nRecent1=" + value.toUtf8() +
            "\r\n[Other]\r\nKept = yes\r\n";
        EndRun();
        WriteSettingsText(written);
        for (int run = 0; run < 2; ++run) {
            NewWindow();
            ASSERT_TRUE(Window->StartUp({"-n"}));
            EXPECT_EQ(Window->Settings().Recent1, value);
            EXPECT_EQ(Window->Settings().ExampleFile, example);
            EXPECT_NE(ExampleProject(), nullptr);
            EndRun();
        }
        // Our own sections follow what was written, which stays as it was.
        const QByteArray text = SettingsText().toUtf8();
        EXPECT_EQ(text.left(written.size()), written) << value.toStdString();
        EXPECT_TRUE(text.mid(written.size()).startsWith("[RecentProjects]"))
            << text.mid(written.size()).toStdString();
    }
}

// A settings file that cannot be a file stops nothing.
TEST_F(MainWindowTest, ASettingsPathThatIsAFolderStopsNothing) {
    ASSERT_TRUE(QDir(Config.path()).mkdir("merovan.ini"));
    ASSERT_TRUE(Window->StartUp({"-n"}));
    EXPECT_TRUE(Seam->Messages.isEmpty());
    EXPECT_EQ(Window->Settings().ReportFormat, 1);
    EndRun();
    EXPECT_TRUE(QFileInfo(Config.filePath("merovan.ini")).isDir());
}

// The projects last opened or saved, the folder last used, the window and its
// splitter outlive the run.
TEST_F(MainWindowTest, RecentProjectsFoldersAndTheWindowAreRemembered) {
    ASSERT_TRUE(QDir(Files.path()).mkpath("odd") && QDir(Files.path()).mkpath("even"));
    QStringList projects;
    for (int i = 1; i <= 9; ++i) {
        projects << Path(QString("%1/p%2 & co.swot").arg(i % 2 ? "odd" : "even").arg(i));
        WriteProject(*MakeProject({}), projects.last());
    }
    ASSERT_TRUE(Window->StartUp({"-n"}));
    Seam->AnswerFile(projects[0]);
    Action("AcnFileOpen")->trigger();
    EXPECT_EQ(Seam->FileRequests.last().Folder, QDir::homePath()) << "nothing used yet";
    for (const QString& project : projects.mid(1)) {
        Seam->AnswerFile(project);
        Action("AcnFileOpen")->trigger();
        EXPECT_EQ(Seam->FileRequests.last().Folder,
                  QFileInfo(projects[projects.indexOf(project) - 1]).absolutePath())
            << "the folder of the project shown";
    }
    QStringList latestFirst(projects.rbegin(), projects.rbegin() + 8);
    EXPECT_EQ(Window->Settings().RecentProjects, latestFirst);
    QMenu* recent = Window->findChild<QMenu*>("MnuRecent");
    ASSERT_EQ(recent->actions().size(), 8);
    EXPECT_EQ(recent->actions()[0]->text(), "&1 p9 && co.swot");
    EXPECT_EQ(recent->actions()[0]->toolTip(), projects[8]);

    // A project gone from the disk says so and leaves the list.
    ASSERT_TRUE(QFile::remove(projects[4]));
    recent->actions()[4]->trigger();
    EXPECT_EQ(Seam->Messages.last(),
              "The project " + projects[4] +
                  " is no longer there; it leaves the list of recent projects.");
    EXPECT_FALSE(Window->Settings().RecentProjects.contains(projects[4]));
    recent->actions()[1]->trigger();
    EXPECT_EQ(Window->DocumentPath(), projects[7]);
    EXPECT_EQ(Window->Settings().RecentProjects.front(), projects[7]);

    Window->SetSplitRatio(0.5);
    Window->setGeometry(40, 50, 700, 500);
    EndRun();
    NewWindow();
    ASSERT_TRUE(Window->StartUp({"-n"}));
    EXPECT_EQ(Window->Settings().RecentProjects.size(), 7);
    EXPECT_EQ(Window->Settings().RecentProjects.front(), projects[7]);
    EXPECT_EQ(Window->SplitRatio(), 0.5);
    Window->ShowWindow();
    EXPECT_EQ(Window->size(), QSize(700, 500));
    Seam->CancelFile();
    Action("AcnFileOpen")->trigger();
    EXPECT_EQ(Seam->FileRequests.last().Folder, QFileInfo(projects[7]).absolutePath())
        << "a new document starts where the last file was chosen";
}

// The example stored by a run in one language, shown by a run in the other:
// a project of the program's own templates gives its twin in the interface's
// language; any other file stays itself.
TEST(ExampleLanguage, OwnTemplatesGiveTheirTwinInTheInterfacesLanguage) {
    const QString english = ProgramFolder() + "templates/";
    const QString french = english + "fr/";
    const QString own = QDir::temp().filePath("own.swot");
    struct Case {
        QLocale::Language language;
        QString stored;
        QString shown;
    };
    const Case cases[] = {
        {QLocale::English, french + "reference.swot", english + "reference.swot"},
        {QLocale::English, french + "Boulangerie familiale - vente en ligne.swot",
         english + "Family bakery - online sales.swot"},
        {QLocale::French, english + "Town library - renewal.swot",
         french + "Bibliothèque municipale - rénovation.swot"},
        {QLocale::French, french + "reference.swot", french + "reference.swot"},
        {QLocale::English, english + "../templates/fr/reference.swot", english + "reference.swot"},
        {QLocale::English, own, own},
        {QLocale::French, own, own},
    };
    for (const Case& c : cases) {
        QLocale::setDefault(QLocale(c.language));
        EXPECT_EQ(ExampleOfInterfaceLanguage(c.stored), c.shown) << c.stored.toStdString();
    }
    // Every example of each language has its twin in the other.
    for (const auto& [language, from, to] :
         {std::tuple{QLocale::French, english, french}, {QLocale::English, french, english}}) {
        QLocale::setDefault(QLocale(language));
        for (const QString& name : QDir(from).entryList({"*.swot"}, QDir::Files)) {
            const QString twin = ExampleOfInterfaceLanguage(from + name);
            EXPECT_EQ(QFileInfo(twin).absolutePath() + "/", to) << name.toStdString();
            EXPECT_TRUE(QFileInfo(twin).isFile()) << twin.toStdString();
        }
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

// A run in French, then one in English: the English run shows the English
// example, and keeps the stored path as it was.
class ProgramExamples : public MainWindowTest {};

TEST_F(ProgramExamples, AFrenchExampleIsShownInEnglishByAnEnglishRun) {
    const QString stored =
        ProgramFolder() + "templates/fr/Boulangerie familiale - vente en ligne.swot";
    EndRun();
    WriteSettingsText("[Configuration]\nExampleFile=" + stored.toUtf8() + "\n");
    NewWindow();
    ASSERT_TRUE(Window->StartUp({"-n"}));
    ASSERT_NE(ExampleProject(), nullptr);
    EXPECT_EQ(ExampleProject()->Title, QString::fromUtf8("Maison Fournier – online sales"));
    EXPECT_EQ(Window->Settings().ExampleFile, stored);
}
