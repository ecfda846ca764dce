#include "DocumentEditing.h"
#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "model/UntStrings.h"
#include "storage/UntIO.h"
#include "storage/UntLockFile.h"

#include <QLabel>
#include <QStatusBar>
#include <QTest>
#include <cstdio>

// Two programs, other people and sync clients on the file of the project
// open in the window.
class SharedFiles : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Plan = Path(QStringLiteral("plan.swot"));
        WriteTitled(Plan, QStringLiteral("First"));
    }

    // A project file holding one factor, under the title.
    static void WriteTitled(const QString& path, const QString& title) {
        auto project = MakeProject({{"Brand", stStrength, 3}});
        project->Title = title;
        WriteProject(*project, path);
    }

    static QString TitleOnDisk(const QString& path) { return ReadProject(path)->Title; }

    QString LockPath() const { return TLockFile::PathFor(Plan); }

    // Another program beside the window: a window of its own, answering
    // through a seam of its own.
    struct TOther {
        TOther() {
            Window.Documents().Recovery().SetDelay(std::chrono::milliseconds(0));
            auto seam = std::make_unique<TScriptedSeam>();
            Seam = seam.get();
            Window.SetSeam(std::move(seam));
        }
        TFrmMain Window;
        TScriptedSeam* Seam;
    };

    void Edit(TFrmMain& window, const QString& title) {
        Retitle(*window.Documents().UserDocument(), title);
    }

    // What the status bar tells of the file; empty when it tells nothing.
    QString DiskNotice() const {
        const auto* notice = Window->findChild<QLabel*>(QStringLiteral("StatusDisk"));
        return notice && notice->isVisibleTo(Window.get()) ? notice->text() : QString();
    }

    // Waits for the status bar to tell what happened to the file, beside the
    // file's path, which stays in view.
    bool StatusTells(const QString& text) {
        const auto* path = Window->findChild<QLabel*>(QStringLiteral("StatusPath"));
        return QTest::qWaitFor([&] { return DiskNotice() == text; }, 10000) &&
               path->isVisibleTo(Window.get()) && path->text() == Plan;
    }

    QString Plan;
};

TEST_F(SharedFiles, SecondProgramIsToldAndItsSaveAfterTheFirstsIsStopped) {
    ASSERT_TRUE(Window->StartUp({Plan}));
    EXPECT_TRUE(Seam->Messages.isEmpty());
    ASSERT_TRUE(QFile::exists(LockPath())) << "locked when opened";

    TOther other;
    other.Seam->Answer({QMessageBox::No});
    ASSERT_TRUE(other.Window.StartUp({Plan}));
    ASSERT_EQ(other.Seam->Messages.size(), 1);
    const QString& told = other.Seam->Messages[0];
    const TLockOwner me = TLockOwner::Own();
    EXPECT_TRUE(told.startsWith("“" + Plan + "” is open in another program: "))
        << told.toStdString();
    EXPECT_TRUE(told.contains(me.Who())) << told.toStdString();
    EXPECT_TRUE(told.contains("on the computer “" + me.Host + "”, since ")) << told.toStdString();
    EXPECT_EQ(other.Window.DocumentPath(), Plan) << "No opens the file itself";

    Edit(*Window, QStringLiteral("Saved by A"));
    ASSERT_TRUE(Window->SaveProject());
    EXPECT_TRUE(Seam->Messages.isEmpty()) << "the first program's own save asks nothing";

    Edit(other.Window, QStringLiteral("Saved by B"));
    other.Seam->Answer({QMessageBox::Cancel});
    EXPECT_FALSE(other.Window.SaveProject());
    ASSERT_EQ(other.Seam->Messages.size(), 2);
    EXPECT_EQ(other.Seam->Messages[1],
              "“" + Plan +
                  "” was changed on disk by another program since it was opened or last saved "
                  "here.\n\nReplace it with this version? No saves this version under another "
                  "name; Cancel writes nothing.");
    EXPECT_EQ(TitleOnDisk(Plan), "Saved by A") << "nothing written before the user chose";
    EXPECT_TRUE(other.Window.Documents().UserDocument()->Modified());

    // Under another name: the first program's work stays.
    const QString mine = Path(QStringLiteral("plan-b.swot"));
    other.Seam->Answer({QMessageBox::No});
    other.Seam->AnswerFile(mine);
    EXPECT_TRUE(other.Window.SaveProject());
    EXPECT_EQ(TitleOnDisk(Plan), "Saved by A");
    EXPECT_EQ(TitleOnDisk(mine), "Saved by B");
    EXPECT_EQ(other.Window.DocumentPath(), mine);
    EXPECT_TRUE(QFile::exists(TLockFile::PathFor(mine))) << "the lock follows the save as";
    EXPECT_TRUE(QFile::exists(LockPath())) << "the first program's lock stays";
}

TEST_F(SharedFiles, ReadOnlyCopyLeavesTheFileToItsHolder) {
    ASSERT_TRUE(Window->StartUp({Plan}));
    const QByteArray lock = [&] {
        QFile file(LockPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();

    {
        TOther other;
        other.Seam->Answer({QMessageBox::Yes});
        ASSERT_TRUE(other.Window.StartUp({Plan}));
        EXPECT_EQ(other.Window.DocumentPath(), std::nullopt) << "no file holds the copy";
        EXPECT_EQ(other.Window.windowTitle(), "Merovan - plan.swot (read-only copy)");
        ASSERT_NE(other.Window.Project(), nullptr);
        EXPECT_EQ(other.Window.Project()->Title, "First");
        EXPECT_FALSE(other.Window.Project()->Modified()) << "closing the copy asks nothing";

        // Save asks for a name: the file itself is never written.
        Edit(other.Window, QStringLiteral("Copy"));
        other.Seam->CancelFile();
        EXPECT_FALSE(other.Window.SaveProject());
        EXPECT_EQ(TitleOnDisk(Plan), "First");
        other.Seam->Answer({QMessageBox::No});
        EXPECT_TRUE(other.Window.close());
    }
    QFile file(LockPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the copy's window takes the lock nowhere";
    EXPECT_EQ(file.readAll(), lock);

    // Cancel opens nothing.
    TOther other;
    other.Seam->Answer({QMessageBox::Cancel});
    ASSERT_TRUE(other.Window.StartUp({Plan}));
    EXPECT_EQ(other.Window.Project(), nullptr);
}

// Save As onto a file another program has open says who has it, and writes
// nothing unless the user replaces it all the same.
TEST_F(SharedFiles, SaveAsOntoAFileInUseSaysWhoHasIt) {
    ASSERT_TRUE(Window->StartUp({Plan}));
    TOther other;
    const QString mine = Path(QStringLiteral("mine.swot"));
    WriteTitled(mine, QStringLiteral("Mine"));
    ASSERT_TRUE(other.Window.StartUp({mine}));

    other.Seam->AnswerFile(Plan);
    other.Seam->Answer({QMessageBox::Cancel});
    EXPECT_FALSE(other.Window.SaveProjectAs());
    ASSERT_EQ(other.Seam->Messages.size(), 1);
    const QString& asked = other.Seam->Messages[0];
    EXPECT_TRUE(
        asked.startsWith("“" + Plan + "” is open in another program: " + TLockOwner::Own().Who()))
        << asked.toStdString();
    EXPECT_TRUE(asked.endsWith("Replace it all the same? Cancel writes nothing."));
    EXPECT_EQ(TitleOnDisk(Plan), "First");

    other.Seam->AnswerFile(Plan);
    other.Seam->Answer({QMessageBox::Yes});
    EXPECT_TRUE(other.Window.SaveProjectAs());
    EXPECT_EQ(TitleOnDisk(Plan), "Mine");

    // The window's own file asks only whether to replace it.
    Seam->AnswerFile(Plan);
    Seam->Answer({QMessageBox::Cancel});
    EXPECT_FALSE(Window->SaveProjectAs());
    EXPECT_EQ(Seam->Messages.back(), LoadStr(StrReplaceProject));
}

TEST_F(SharedFiles, FileRenamedOverTheOpenOneIsToldAndSaveAsks) {
    ASSERT_TRUE(Window->StartUp({Plan}));
    Edit(*Window, QStringLiteral("Mine"));

    // A sync client writes the new version beside, then renames it over.
    const QString fresh = Path(QStringLiteral(".plan.swot.sync"));
    WriteTitled(fresh, QStringLiteral("Synced"));
    ASSERT_EQ(std::rename(QFile::encodeName(fresh), QFile::encodeName(Plan)), 0);
    EXPECT_TRUE(StatusTells("“plan.swot” was changed on disk by another program."))
        << DiskNotice().toStdString();

    Seam->Answer({QMessageBox::Cancel});
    EXPECT_FALSE(Window->SaveProject());
    EXPECT_EQ(TitleOnDisk(Plan), "Synced");
    // Enter alone never writes over the other program's work.
    EXPECT_EQ(Seam->MessageDefaults.back(), QMessageBox::Cancel);

    Seam->Answer({QMessageBox::Yes});
    EXPECT_TRUE(Window->SaveProject());
    EXPECT_EQ(TitleOnDisk(Plan), "Mine");
    EXPECT_EQ(Seam->Messages.size(), 2);

    // The file written is the one known now: the next save asks nothing,
    // and the watch goes on over the file that replaced the first.
    Edit(*Window, QStringLiteral("Mine again"));
    EXPECT_TRUE(Window->SaveProject());
    EXPECT_EQ(Seam->Messages.size(), 2);
    WriteTitled(fresh, QStringLiteral("Synced again"));
    ASSERT_EQ(std::rename(QFile::encodeName(fresh), QFile::encodeName(Plan)), 0);
    EXPECT_TRUE(StatusTells("“plan.swot” was changed on disk by another program."));
}

TEST_F(SharedFiles, FileDeletedOrMovedIsToldAndSaveAsks) {
    const struct {
        const char* What;
        std::function<void(const QString&)> Remove;
    } cases[] = {
        {"deleted",
         [](const QString& path) {
             QFile::remove(path);
         }},
        {"moved",
         [](const QString& path) {
             QFile::rename(path, path + QStringLiteral(".moved"));
         }},
    };
    for (const auto& test : cases) {
        NewWindow();
        QFile::remove(Plan + QStringLiteral(".moved"));
        WriteTitled(Plan, QStringLiteral("First"));
        ASSERT_TRUE(Window->StartUp({Plan}));
        Edit(*Window, QStringLiteral("Mine"));
        test.Remove(Plan);
        EXPECT_TRUE(StatusTells("“plan.swot” is no longer on disk: it was deleted or moved."))
            << test.What;

        Seam->Answer({QMessageBox::Cancel});
        EXPECT_FALSE(Window->SaveProject()) << test.What;
        EXPECT_FALSE(QFile::exists(Plan)) << test.What << ": not made again unasked";
        EXPECT_EQ(Seam->Messages,
                  QStringList{"“" + Plan +
                              "” is no longer on disk: it was deleted or moved since it was "
                              "opened or last saved here.\n\nSave it there again? No saves it "
                              "under another name; Cancel writes nothing."})
            << test.What;

        Seam->Answer({QMessageBox::Yes});
        EXPECT_TRUE(Window->SaveProject()) << test.What;
        EXPECT_EQ(TitleOnDisk(Plan), "Mine") << test.What;
        EXPECT_TRUE(DiskNotice().isEmpty()) << test.What << ": the change told is past";
    }
}

TEST_F(SharedFiles, LockLeftByAProgramThatIsGoneIsNoObstacle) {
    {
        QFile lock(LockPath());
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly));
        TLockOwner gone = TLockOwner::Own();
        gone.Time = QStringLiteral("01.02.2026 09:30");
        lock.write(gone.Entry());
    }
    ASSERT_TRUE(Window->StartUp({Plan}));
    EXPECT_TRUE(Seam->Messages.isEmpty()) << "no question about a program that is gone";
    EXPECT_EQ(Window->DocumentPath(), Plan);
    const auto holder = TLockFile::Holder(Plan);
    ASSERT_TRUE(holder) << "the window holds the file now";
    EXPECT_NE(holder->Time, "01.02.2026 09:30");
}

TEST_F(SharedFiles, LockIsMadeAtOpenOrFirstSaveAndGoesWithTheProject) {
    const QString other = Path(QStringLiteral("other.swot"));
    WriteTitled(other, QStringLiteral("Other"));
    const struct {
        const char* What;
        std::function<void()> Leave;
    } cases[] = {
        {"close",
         [this] {
             EXPECT_TRUE(Window->close());
         }},
        {"new",
         [this] {
             Action("AcnFileNew")->trigger();
         }},
        {"open another",
         [this, &other] {
             Seam->AnswerFile(other);
             Action("AcnFileOpen")->trigger();
             EXPECT_TRUE(QFile::exists(TLockFile::PathFor(other)));
         }},
        {"quit",
         [this] {
             EndRun();
         }},
    };
    for (const auto& test : cases) {
        NewWindow();
        ASSERT_TRUE(Window->StartUp({Plan}));
        ASSERT_TRUE(QFile::exists(LockPath())) << test.What;
        test.Leave();
        EXPECT_FALSE(QFile::exists(LockPath())) << test.What;
    }

    // A new project is locked where it is first saved.
    NewWindow();
    ASSERT_TRUE(Window->StartUp({QStringLiteral("-n")}));
    const QString fresh = Path(QStringLiteral("fresh.swot"));
    Seam->AnswerFile(fresh);
    ASSERT_TRUE(Window->SaveProject());
    EXPECT_TRUE(QFile::exists(TLockFile::PathFor(fresh)));
    EndRun();
    EXPECT_FALSE(QFile::exists(TLockFile::PathFor(fresh)));
}
