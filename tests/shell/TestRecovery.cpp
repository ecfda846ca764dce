#include "DocumentEditing.h"
#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "model/UntStrings.h"
#include "shell/UntFrmStart.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntRecovery.h"
#include "storage/UntUtils.h"

#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QProcess>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <csignal>
#include <cstring>
#include <sys/stat.h>

class Recovery : public MainWindowTest {
protected:
    void SetUp() override {
        qputenv("XDG_STATE_HOME", State.path().toLocal8Bit());
        // Times read "13:40" whatever the machine's language.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        MainWindowTest::SetUp();
        Plan = Path(QStringLiteral("plan.swot"));
        Other = Path(QStringLiteral("other.swot"));
        WriteTitled(Plan, "Saved title");
        WriteTitled(Other, "Other title");
    }

    void TearDown() override {
        MainWindowTest::TearDown();
        QFile::setPermissions(RecoveryFolder(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QLocale::setDefault(QLocale::system());
        qputenv("XDG_STATE_HOME", SharedState);
    }

    static void WriteTitled(const QString& path, const char* title) {
        auto project = MakeProject({{"Brand", stStrength, 3}});
        project->Title = QString::fromUtf8(title);
        WriteProject(*project, path);
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

    // The copy a program that is gone left with the project retitled, made
    // at the time; its path.
    static QString LeftCopy(const QString& origin, const char* title, const QDateTime& made,
                            int factors = 1) {
        auto project = std::make_unique<TProject>();
        for (int i = 0; i < factors; ++i) {
            auto item = std::make_unique<TTOWSItem>();
            item->Name = QStringLiteral("Factor %1").arg(i);
            item->SwotType = stStrength;
            item->Mark = 2;
            project->Items.push_back(std::move(item));
        }
        project->Title = QString::fromUtf8(title);
        TRecoveryCopy copy(RecoveryFolder());
        copy.Write(std::move(project),
                   origin.isEmpty() ? std::nullopt : std::optional<QString>(origin));
        copy.Finish();
        const QString path = copy.Path();
        copy.Leave();
        SetTime(path, made);
        return path;
    }

    static void SetTime(const QString& path, const QDateTime& time) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    }

    static QDateTime At(int hour, int minute) {
        return QDateTime(QDate(2026, 3, 2), QTime(hour, minute));
    }

    QString Recovered(const char* name, const QString& next = {}) const {
        return FillTemplate(LoadStr(StrRecoveredBeforeOpening), QString::fromUtf8(name), next);
    }

    QLabel* RecoveryStatus() const { return Window->findChild<QLabel*>("StatusRecovery"); }

    const QByteArray SharedState = qgetenv("XDG_STATE_HOME");
    QTemporaryDir State;
    QString Plan;
    QString Other;
};

TEST_F(Recovery, KilledProgramsWorkIsOfferedRestoredAndSaved) {
    ASSERT_TRUE(KilledWithChanges(Plan, QStringLiteral("Changed title")));
    Seam->Answer({QMessageBox::Yes});
    ASSERT_TRUE(Window->StartUp({}));

    ASSERT_EQ(Seam->Messages.size(), 1);
    EXPECT_TRUE(Seam->Messages[0].contains("“Changed title” (" + Plan + ")"))
        << Seam->Messages[0].toStdString();
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
        {"no keeps it for the next start", false, QMessageBox::No, false, true},
        {"discard deletes it", false, QMessageBox::Discard, false, false},
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
        EXPECT_TRUE(Seam->Messages.value(0).contains(
            "“Changed” (" + (example.NewDocument ? LoadStr(StrNewDocument) : Plan) + ")"));
        EXPECT_EQ(Seam->Dialogs.contains("FrmStart"), !example.Recovered);
        if (example.Recovered) {
            EXPECT_EQ(Window->DocumentPath(), std::nullopt);
            EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
            EXPECT_TRUE(Window->Project()->Modified());
            EXPECT_TRUE(QTest::qWaitFor([this] { return Copies().size() == 1; }, 30000))
                << "this run's copy takes the old one's place";
        }
        EXPECT_EQ(Copies().size(), example.CopyKept || example.Recovered ? 1 : 0);
        EndRun();
        EXPECT_EQ(Copies().size(), example.CopyKept ? 1 : 0) << "a normal exit";
        NewWindow();
    }
}

TEST_F(Recovery, NoSingleKeyDeletesTheOfferedCopy) {
    LeftCopy(Plan, "Changed", At(13, 40));
    Seam->Answer({QMessageBox::No});
    Seam->AnswerDialog(TFrmStart::chQuit);
    Window->StartUp({});
    ASSERT_EQ(Seam->MessageButtons.size(), 1);
    ASSERT_TRUE(Seam->MessageButtons[0].testFlag(QMessageBox::Discard)) << "deleting is a choice";

    // The button says that it deletes, in the program's words, not the
    // toolkit's "Discard" (in French "Ne pas tenir compte": "ignore").
    const auto shown =
        MakeMessageBox(nullptr, QMessageBox::Question, Seam->Messages[0], Seam->MessageButtons[0],
                       Seam->MessageDefaults[0], Seam->MessageCaptions[0]);
    EXPECT_EQ(shown->button(QMessageBox::Discard)->text(), LoadStr(StrDeleteForGood));

    // The box the user sees, with the buttons offered, given each key alone.
    QList<int> keys = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Space};
    for (int key = Qt::Key_A; key <= Qt::Key_Z; ++key)
        keys << key;
    for (const int key : keys) {
        SCOPED_TRACE(QKeySequence(key).toString().toStdString());
        const auto box = MakeMessageBox(nullptr, QMessageBox::Question, Seam->Messages[0],
                                        Seam->MessageButtons[0], Seam->MessageDefaults[0],
                                        Seam->MessageCaptions[0]);
        box->show();
        box->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(box.get()));
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : box.get(),
                        static_cast<Qt::Key>(key));
        QTest::keyClick(box.get(), static_cast<Qt::Key>(key), Qt::AltModifier);
        EXPECT_NE(box->standardButton(box->clickedButton()), QMessageBox::Discard);
    }
}

TEST_F(Recovery, ACommandLineFileFollowsTheRecoveredProjectShownFirst) {
    struct Case {
        const char* Name;
        QString Argument;
        QList<QMessageBox::StandardButton> Answers;
        // The question about the recovered changes; none when nothing is asked.
        QString Question;
        const char* ShownTitle;
        bool PlanSaved;
        bool CopyLeft;
    };
    const QString beforeOther = Recovered("plan.swot", QStringLiteral("other.swot"));
    const QString beforeNew = FillTemplate(LoadStr(StrRecoveredBeforeNew), "plan.swot");
    const Case cases[] = {
        {"its own file", Plan, {QMessageBox::Yes}, {}, "Changed", false, false},
        {"another file, saved first",
         Other,
         {QMessageBox::Yes, QMessageBox::Yes},
         beforeOther,
         "Other title",
         true,
         false},
        {"another file, changes left",
         Other,
         {QMessageBox::Yes, QMessageBox::No},
         beforeOther,
         "Other title",
         false,
         true},
        {"another file, cancelled",
         Other,
         {QMessageBox::Yes, QMessageBox::Cancel},
         beforeOther,
         "Changed",
         false,
         false},
        {"-n, changes left",
         "-n",
         {QMessageBox::Yes, QMessageBox::No},
         beforeNew,
         "Analyse Swot",
         false,
         true},
    };
    for (const Case& example : cases) {
        SCOPED_TRACE(example.Name);
        QDir(RecoveryFolder()).removeRecursively();
        WriteTitled(Plan, "Saved title");
        SetTime(Plan, QDateTime::currentDateTime().addSecs(-120));
        LeftCopy(Plan, "Changed", QDateTime::currentDateTime().addSecs(-60));
        NewWindow();
        Seam->Answer(example.Answers);
        QStringList shownAtQuestion;
        Seam->WhenAsked = [&](const QString&) {
            shownAtQuestion << (Window->isVisible() && Window->Project() ? Window->Project()->Title
                                                                         : QString());
        };
        ASSERT_TRUE(Window->StartUp({example.Argument}));

        ASSERT_EQ(Seam->Messages.size(), example.Question.isEmpty() ? 1 : 2);
        if (!example.Question.isEmpty()) {
            EXPECT_EQ(Seam->Messages[1], example.Question);
            EXPECT_EQ(shownAtQuestion[1], "Changed") << "the recovered project is in view";
        }
        ASSERT_NE(Window->Project(), nullptr);
        EXPECT_EQ(Window->Project()->Title, example.ShownTitle);
        if (QLatin1String(example.ShownTitle) == "Changed") {
            EXPECT_TRUE(Window->Project()->Modified());
            EXPECT_EQ(Window->DocumentPath(), Plan);
        }
        EXPECT_EQ(ReadProject(Plan)->Title, example.PlanSaved ? "Changed" : "Saved title");

        EndRun();
        NewWindow();
        if (example.CopyLeft)
            Seam->Answer({QMessageBox::No});
        Seam->AnswerDialog(TFrmStart::chQuit);
        Window->StartUp({});
        EXPECT_EQ(Seam->Messages.size(), example.CopyLeft ? 1 : 0);
        if (example.CopyLeft) {
            EXPECT_TRUE(Seam->Messages[0].contains("“Changed” (" + Plan + ")"));
        }
    }
}

TEST_F(Recovery, TwoRecoveredCopiesAreEachDealtWithByName) {
    LeftCopy(Plan, "First", At(9, 15));
    LeftCopy(Other, "Second", At(9, 30));
    // Yes, Yes, then No to saving the first before the second is recovered.
    Seam->Answer({QMessageBox::Yes, QMessageBox::Yes, QMessageBox::No});
    ASSERT_TRUE(Window->StartUp({}));
    ASSERT_EQ(Seam->Messages.size(), 3);
    EXPECT_TRUE(Seam->Messages[0].contains("“First”"));
    EXPECT_TRUE(Seam->Messages[1].contains("“Second”"));
    EXPECT_EQ(Seam->Messages[2],
              FillTemplate(LoadStr(StrRecoveredBeforeRecovering), "plan.swot", "other.swot"));
    EXPECT_EQ(Window->Project()->Title, "Second");
    EXPECT_EQ(Window->DocumentPath(), Other);
    EXPECT_EQ(ReadProject(Plan)->Title, "Saved title");
    EndRun();

    NewWindow();
    Seam->Answer({QMessageBox::Yes});
    ASSERT_TRUE(Window->StartUp({}));
    ASSERT_EQ(Seam->Messages.size(), 1) << "the first is offered again; the second went at exit";
    EXPECT_TRUE(Seam->Messages[0].contains("“First” (" + Plan + ")"));
    EXPECT_EQ(Window->Project()->Title, "First");
}

TEST_F(Recovery, ACopyOlderThanItsFileSaysSoAndReplacesItOnlyWhenAskedTo) {
    SetTime(Plan, At(14, 2));
    LeftCopy(Plan, "Changed", At(13, 40));
    Seam->Answer({QMessageBox::Yes});
    ASSERT_TRUE(Window->StartUp({}));
    ASSERT_EQ(Seam->Messages.size(), 1);
    EXPECT_TRUE(Seam->Messages[0].contains("made at 02/03/2026 13:40"))
        << Seam->Messages[0].toStdString();
    EXPECT_TRUE(Seam->Messages[0].contains("“plan.swot” was saved at 02/03/2026 14:02, after"));

    const QString replace =
        FillTemplate(LoadStr(StrRecoveredOverNewer), "plan.swot", "02/03/2026 14:02");
    Seam->Answer({QMessageBox::Cancel});
    EXPECT_FALSE(Window->SaveProject());
    EXPECT_EQ(Seam->Messages.value(1), replace);
    EXPECT_EQ(ReadProject(Plan)->Title, "Saved title");
    EXPECT_TRUE(Window->Project()->Modified());

    Seam->Answer({QMessageBox::Yes});
    EXPECT_TRUE(Window->SaveProject());
    EXPECT_EQ(ReadProject(Plan)->Title, "Changed");
    EXPECT_TRUE(Window->SaveProject()) << "once saved, the file holds this work";
    EXPECT_EQ(Seam->Messages.size(), 3);
}

TEST_F(Recovery, SeveralCopiesOfOneProjectAreToldApartByTimeAndSize) {
    const QString small = LeftCopy(Plan, "Changed", At(10, 5));
    const QString large = LeftCopy(Plan, "Changed", At(11, 30), 200);
    Seam->Answer({QMessageBox::No, QMessageBox::No});
    Seam->AnswerDialog(TFrmStart::chQuit);
    Window->StartUp({});
    ASSERT_EQ(Seam->Messages.size(), 2);
    const auto size = [](const QString& path) {
        return QLocale().formattedDataSize(QFileInfo(path).size(), 1,
                                           QLocale::DataSizeTraditionalFormat);
    };
    ASSERT_NE(size(small), size(large));
    EXPECT_TRUE(Seam->Messages[0].contains("10:05 (" + size(small) + ")"))
        << Seam->Messages[0].toStdString();
    EXPECT_TRUE(Seam->Messages[1].contains("11:30 (" + size(large) + ")"))
        << Seam->Messages[1].toStdString();
}

TEST_F(Recovery, ACopyWhoseWorkIsSavedIsNeverOfferedAgain) {
    // A folder that takes no copy: this run's copy cannot be written, nor,
    // for most users, the old one removed.
    SetTime(Plan, QDateTime::currentDateTime().addSecs(-120));
    LeftCopy(Plan, "Changed", QDateTime::currentDateTime().addSecs(-60));
    ASSERT_TRUE(QFile::setPermissions(RecoveryFolder(), QFile::ReadOwner | QFile::ExeOwner));
    Seam->Answer({QMessageBox::Yes});
    ASSERT_TRUE(Window->StartUp({}));
    Retitle(*Window->Document(), QStringLiteral("Changed again"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !RecoveryStatus()->isHidden(); }, 30000));
    ASSERT_TRUE(Window->SaveProject());
    EXPECT_EQ(ReadProject(Plan)->Title, "Changed again");
    EndRun();
    ASSERT_TRUE(QFile::setPermissions(RecoveryFolder(),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

    // A program that saved its work and was gone before it removed the copy.
    WriteProject(*ReadProject(LeftCopy(Other, "Other title", QDateTime::currentDateTime())), Other);
    NewWindow();
    Seam->AnswerDialog(TFrmStart::chQuit);
    Window->StartUp({});
    EXPECT_TRUE(Seam->Messages.isEmpty()) << Seam->Messages.join('\n').toStdString();
}

TEST_F(Recovery, UnreadableCopiesAreKeptAsideAndNamed) {
    const QString truncated = LeftCopy(Plan, "Cut", At(9, 0));
    QFile cut(truncated);
    ASSERT_TRUE(cut.resize(cut.size() / 2));
    const QString unknown = LeftCopy(Plan, "Future", At(9, 10));
    QByteArray content = ProjectContent(*MakeProject({{"Brand", stStrength, 3}}));
    content = "<?xml version=\"1.0\" encoding=\"x-unknown-2030\"?>" +
              content.mid(content.indexOf("?>") + 2);
    {
        QFile file(unknown);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(ZipArchive({{QStringLiteral("content.xml"), content, {}}}));
    }
    const QString forbidden = LeftCopy(Plan, "Forbidden", At(9, 20));
    ASSERT_TRUE(QFile::setPermissions(forbidden, QFileDevice::Permissions()));

    Seam->AnswerDialog(TFrmStart::chQuit);
    Window->StartUp({});
    ASSERT_EQ(Seam->Messages.size(), 1) << "told, and nothing offered";
    const QString aside = RecoveryFolder() + QStringLiteral("/unreadable/");
    for (const QString& copy : {truncated, unknown, forbidden}) {
        const QString kept = aside + QFileInfo(copy).fileName();
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
        EXPECT_TRUE(Seam->Messages[0].contains(kept + " (")) << Seam->Messages[0].toStdString();
    }
    EXPECT_TRUE(Seam->Messages[0].contains("x-unknown-2030"));
    EXPECT_TRUE(Seam->Messages[0].contains(QString::fromLocal8Bit(std::strerror(EACCES))));
    EXPECT_TRUE(Copies().isEmpty());

    NewWindow();
    Seam->AnswerDialog(TFrmStart::chQuit);
    Window->StartUp({});
    EXPECT_TRUE(Seam->Messages.isEmpty()) << "told once";
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

TEST_F(Recovery, AFolderThatRefusesTheCopyIsNamedBesideThePathAndKeepsItsModes) {
    struct Case {
        const char* Name;
        // Makes the state folder refuse copies; the recovery folder's mode
        // expected afterwards, 0 when there is none.
        std::function<void()> Refuse;
        mode_t Mode;
    };
    const QString folder = RecoveryFolder();
    const QString target = Files.filePath(QStringLiteral("elsewhere"));
    const Case cases[] = {
        {"a file in the way",
         [&] {
             QDir().mkpath(State.path());
             QFile blocker(State.filePath(QStringLiteral("merovan")));
             ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
         },
         0},
        {"a read-only folder",
         [&] {
             QDir().mkpath(folder);
             ::chmod(QFile::encodeName(folder).constData(), 0555);
         },
         0555},
        {"a link to a read-only folder",
         [&] {
             QDir().mkpath(target);
             ::chmod(QFile::encodeName(target).constData(), 0555);
             QDir().mkpath(State.filePath(QStringLiteral("merovan")));
             ASSERT_TRUE(QFile::link(target, folder));
         },
         0555},
    };
    for (const Case& example : cases) {
        SCOPED_TRACE(example.Name);
        QFile::remove(folder);
        QDir(State.filePath(QStringLiteral("merovan"))).removeRecursively();
        QFile::remove(State.filePath(QStringLiteral("merovan")));
        example.Refuse();
        NewWindow();
        ASSERT_TRUE(Window->StartUp({Plan}));
        Retitle(*Window->Document(), QString::fromUtf8(example.Name));
        ASSERT_TRUE(QTest::qWaitFor([this] { return !RecoveryStatus()->isHidden(); }, 30000));
        EXPECT_TRUE(RecoveryStatus()->text().startsWith(
            "Unsaved changes cannot be kept for recovery in " + folder + ": "))
            << RecoveryStatus()->text().toStdString();
        EXPECT_FALSE(Window->findChild<QLabel*>("StatusPath")->isHidden()) << "not drawn over";
        EXPECT_TRUE(Seam->Messages.isEmpty()) << "no box interrupts the user every second";
        if (example.Mode != 0) {
            struct stat status {};
            ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &status), 0);
            EXPECT_EQ(status.st_mode & 07777, example.Mode) << "the user's mode stays";
        }
        EXPECT_TRUE(Window->SaveProject());
        EXPECT_TRUE(RecoveryStatus()->isHidden()) << "nothing left at risk";
        EndRun();
        ::chmod(QFile::encodeName(target).constData(), 0755);
        ::chmod(QFile::encodeName(folder).constData(), 0755);
    }
}
