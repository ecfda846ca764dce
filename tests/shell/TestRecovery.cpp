#include "DocumentEditing.h"
#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "model/UntStrings.h"
#include "shell/UntFrmStart.h"
#include "storage/UntIO.h"
#include "storage/UntRecovery.h"
#include "storage/UntUtils.h"

#include <QDir>
#include <QProcess>
#include <QStatusBar>
#include <QTest>
#include <csignal>

class Recovery : public MainWindowTest {
protected:
    void SetUp() override {
        qputenv("XDG_STATE_HOME", State.path().toLocal8Bit());
        MainWindowTest::SetUp();
        Plan = Path(QStringLiteral("plan.swot"));
        auto project = MakeProject({{"Brand", stStrength, 3}});
        project->Title = QStringLiteral("Saved title");
        WriteProject(*project, Plan);
    }

    void TearDown() override {
        MainWindowTest::TearDown();
        qputenv("XDG_STATE_HOME", SharedState);
    }

    QStringList Copies() const {
        return QDir(RecoveryFolder()).entryList({QStringLiteral("*.swot")}, QDir::Files);
    }

    // A program that changed the project (or a new one for "-n") to the title
    // and was then killed; false when it never kept its change.
    bool KilledWithChanges(const QString& project, const QString& title) {
        QProcess program;
        program.start(QStringLiteral(MEROVAN_RECOVERY_HELPER), {project, title});
        if (!program.waitForReadyRead(30000) || !program.readAll().startsWith("kept"))
            return false;
        // A program that runs is never offered its copy.
        NewWindow();
        EXPECT_TRUE(Window->StartUp({QStringLiteral("-n")}));
        EXPECT_TRUE(Seam->Messages.isEmpty()) << Seam->Messages.join('\n').toStdString();
        NewWindow();
        ::kill(static_cast<pid_t>(program.processId()), SIGKILL);
        program.waitForFinished();
        return program.exitStatus() == QProcess::CrashExit;
    }

    QString Question(const QString& title, const QString& file) const {
        return FillTemplate(LoadStr(StrRecoverChanges), title, file);
    }

    const QByteArray SharedState = qgetenv("XDG_STATE_HOME");
    QTemporaryDir State;
    QString Plan;
};

TEST_F(Recovery, KilledProgramsWorkIsOfferedRestoredAndSaved) {
    ASSERT_TRUE(KilledWithChanges(Plan, QStringLiteral("Changed title")));
    Seam->Answer({QMessageBox::Yes});
    ASSERT_TRUE(Window->StartUp({}));

    EXPECT_EQ(Seam->Messages, QStringList{Question("Changed title", Plan)});
    EXPECT_TRUE(Seam->Dialogs.isEmpty()) << "the recovered work replaces the start dialog";
    ASSERT_NE(Window->Project(), nullptr);
    EXPECT_EQ(Window->Project()->Title, "Changed title");
    EXPECT_EQ(Window->Project()->Items.at(0)->Name, "Brand");
    EXPECT_TRUE(Window->Project()->Modified());
    EXPECT_EQ(Window->DocumentPath(), Plan);
    EXPECT_EQ(Window->windowTitle(), "Merovan - plan.swot");
    EXPECT_NE(Workspace(), nullptr);
    EXPECT_EQ(ReadProject(Plan)->Title, "Saved title") << "only the user saves the project";

    ASSERT_TRUE(Window->SaveProject());
    EXPECT_EQ(ReadProject(Plan)->Title, "Changed title");
    EXPECT_TRUE(Copies().isEmpty()) << "neither the old copy nor this run's";
}

TEST_F(Recovery, EachAnswerDecidesTheCopysFate) {
    struct Case {
        const char* Name;
        bool NewDocument;
        QMessageBox::StandardButton Answer;
        bool Recovered;
        bool CopyKept;
    };
    const Case cases[] = {
        {"yes, a new document", true, QMessageBox::Yes, true, false},
        {"no deletes the copy", false, QMessageBox::No, false, false},
        {"cancel keeps it for the next start", false, QMessageBox::Cancel, false, true},
    };
    for (const Case& example : cases) {
        SCOPED_TRACE(example.Name);
        QDir(RecoveryFolder()).removeRecursively();
        ASSERT_TRUE(KilledWithChanges(example.NewDocument ? QStringLiteral("-n") : Plan,
                                      QStringLiteral("Changed")));
        Seam->Answer({example.Answer});
        // The start dialog follows unless the work was recovered.
        if (!example.Recovered)
            Seam->AnswerDialog(TFrmStart::chQuit);
        EXPECT_EQ(Window->StartUp({}), example.Recovered);
        EXPECT_EQ(Seam->Messages.value(0),
                  Question("Changed", example.NewDocument ? LoadStr(StrNewDocument) : Plan));
        EXPECT_EQ(Seam->Dialogs.contains("FrmStart"), !example.Recovered);
        EXPECT_EQ(Copies().size(), example.CopyKept || example.Recovered ? 1 : 0)
            << "a recovered project is this run's copy now";
        if (example.Recovered) {
            EXPECT_EQ(Window->DocumentPath(), std::nullopt);
            EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
            EXPECT_TRUE(Window->Project()->Modified());
        }
        EndRun();
        EXPECT_EQ(Copies().size(), example.CopyKept ? 1 : 0) << "a normal exit";
        NewWindow();
    }
}

TEST_F(Recovery, CopyFollowsTheChangesAndGoesWhenTheyAreSavedOrDropped) {
    ASSERT_TRUE(Window->StartUp({Plan}));
    const auto change = [this](const char* title) {
        Retitle(*Window->Document(), QString::fromLatin1(title));
        return QTest::qWaitFor(
            [&] {
                return Window->Documents().Recovery().Copy().Exists() &&
                       ReadProject(Window->Documents().Recovery().Copy().Path())->Title == title;
            },
            30000);
    };
    EXPECT_TRUE(Copies().isEmpty()) << "nothing unsaved, nothing kept";
    ASSERT_TRUE(change("First"));
    ASSERT_TRUE(change("Second"));

    ASSERT_TRUE(Window->SaveProject());
    EXPECT_TRUE(Copies().isEmpty()) << "saved";

    ASSERT_TRUE(change("Third"));
    Seam->Answer({QMessageBox::No});
    Action("AcnFileNew")->trigger();
    EXPECT_TRUE(Copies().isEmpty()) << "dropped";

    ASSERT_TRUE(change("Fourth"));
    EndRun();
    EXPECT_TRUE(QDir(RecoveryFolder()).entryList(QDir::Files | QDir::Hidden).isEmpty())
        << "a normal exit";
}

TEST_F(Recovery, AFolderThatRefusesTheCopyIsToldWithoutStoppingTheWork) {
    QFile blocker(State.filePath(QStringLiteral("merovan")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ASSERT_TRUE(Window->StartUp({Plan}));
    Retitle(*Window->Document(), QStringLiteral("Changed"));
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
            return Window->statusBar()->currentMessage().startsWith(
                "Unsaved changes cannot be kept for recovery: ");
        },
        30000));
    EXPECT_TRUE(Seam->Messages.isEmpty()) << "no box interrupts the user every second";
    EXPECT_TRUE(Window->SaveProject());
}
