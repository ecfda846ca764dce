#include "DocumentEditing.h"
#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "model/UntStrings.h"
#include "shell/UntFrmStart.h"
#include "storage/UntIO.h"
#include "workspace/UntModelFrame.h"

#include <QLabel>
#include <sys/stat.h>

class DocumentCommands : public MainWindowTest {
protected:
    // A project file holding one factor of the given name.
    QString ProjectFile(const char* name, const char* factor) {
        const QString path = Path(QString::fromLatin1(name));
        WriteProject(*MakeProject({{factor, stStrength, 3}}), path);
        return path;
    }

    QString FirstFactor() const {
        const TProject* project = Window->Project();
        return project && !project->Items.empty() ? project->Items[0]->Name : QString();
    }
};

TEST_F(DocumentCommands, CommandLineNewStartsANewDocument) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
    EXPECT_EQ(Window->DocumentPath(), std::nullopt);
    ASSERT_NE(Window->Project(), nullptr);
    EXPECT_EQ(Window->Project()->Title, "Analyse Swot");
    EXPECT_EQ(Window->Project()->FileName, "") << "a new document has no file";
    EXPECT_TRUE(Window->Project()->Items.empty());
    EXPECT_NE(Workspace(), nullptr);
    EXPECT_NE(ExampleProject(), nullptr) << "the reference template is the first example";
    EXPECT_TRUE(Seam->Dialogs.isEmpty()) << "no start dialog";
    EXPECT_TRUE(Seam->Messages.isEmpty());
}

TEST_F(DocumentCommands, CommandLinePathOpensThatProject) {
    const QString path = ProjectFile("plan.swot", "Brand");
    ASSERT_TRUE(Window->StartUp({path, "ignored"}));
    EXPECT_EQ(Window->windowTitle(), "Merovan - plan.swot");
    EXPECT_EQ(Window->findChild<QLabel*>("StatusPath")->text(), path);
    EXPECT_EQ(FirstFactor(), "Brand");
    EXPECT_FALSE(Window->Project()->Modified());
    EXPECT_NE(Workspace(), nullptr);
}

TEST_F(DocumentCommands, CommandLinePathThatDoesNotReadLeavesTheWindowEmpty) {
    ASSERT_TRUE(Window->StartUp({Path("missing.swot")}));
    EXPECT_EQ(Window->Project(), nullptr);
    EXPECT_TRUE(Seam->Messages.isEmpty()) << "a missing file is not read at all";

    QFile broken(Path("broken.swot"));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a project");
    broken.close();
    NewWindow();
    ASSERT_TRUE(Window->StartUp({broken.fileName()}));
    EXPECT_EQ(Window->Project(), nullptr);
    EXPECT_EQ(Seam->Messages,
              QStringList{"The file is not a Merovan project: it is not a ZIP archive."});
    EXPECT_TRUE(Window->windowTitle().isEmpty());
    EXPECT_EQ(Workspace(), nullptr);
    EXPECT_FALSE(Action("AcnFileSave")->isEnabled());
}

TEST_F(DocumentCommands, StartDialogChoices) {
    Seam->AnswerDialog(TFrmStart::chNew);
    ASSERT_TRUE(Window->StartUp({}));
    EXPECT_EQ(Seam->Dialogs, QStringList{"FrmStart"});
    EXPECT_EQ(Window->DocumentPath(), std::nullopt);

    // Open, then cancel the file dialog: a new project all the same.
    NewWindow();
    Seam->AnswerDialog(TFrmStart::chOpen);
    Seam->CancelFile();
    ASSERT_TRUE(Window->StartUp({}));
    ASSERT_EQ(Seam->FileRequests.size(), 1);
    EXPECT_EQ(Seam->FileRequests[0].Caption, "Select the Merovan file to be opened");
    EXPECT_EQ(Seam->FileRequests[0].Filters, QStringList{"Merovan files (*.swot)"});
    EXPECT_EQ(Window->DocumentPath(), std::nullopt);

    NewWindow();
    const QString path = ProjectFile("chosen.swot", "Chosen");
    Seam->AnswerDialog(TFrmStart::chOpen);
    Seam->AnswerFile(path);
    ASSERT_TRUE(Window->StartUp({}));
    EXPECT_EQ(Window->DocumentPath(), path);
    EXPECT_EQ(FirstFactor(), "Chosen");

    NewWindow();
    Seam->AnswerDialog(TFrmStart::chQuit);
    EXPECT_FALSE(Window->StartUp({}));
    EXPECT_EQ(Window->Project(), nullptr);
    EXPECT_TRUE(Seam->Messages.isEmpty());
}

TEST_F(DocumentCommands, NewAndOpenAskToKeepChanges) {
    const QString saved = ProjectFile("saved.swot", "Saved");
    const QString other = ProjectFile("other.swot", "Other");
    const auto startModified = [&] {
        NewWindow();
        ASSERT_TRUE(Window->StartUp({saved}));
        Window->Project()->Items[0]->Name = "Changed";
        Window->Document()->MarkUnsaved();
    };

    startModified();
    Seam->Answer({QMessageBox::Cancel});
    Action("AcnFileNew")->trigger();
    EXPECT_EQ(Seam->Messages, QStringList{"Save changes?"});
    EXPECT_EQ(FirstFactor(), "Changed") << "Cancel keeps everything";
    EXPECT_EQ(Window->DocumentPath(), saved);

    startModified();
    Seam->Answer({QMessageBox::No});
    Action("AcnFileNew")->trigger();
    EXPECT_EQ(Window->DocumentPath(), std::nullopt) << "No discards the changes";
    EXPECT_EQ(FirstFactor(), QString());
    EXPECT_EQ(ReadProject(saved)->Items[0]->Name, "Saved");

    startModified();
    Seam->Answer({QMessageBox::Yes});
    Seam->AnswerFile(other);
    Action("AcnFileOpen")->trigger();
    EXPECT_EQ(ReadProject(saved)->Items[0]->Name, "Changed") << "Yes saves first";
    EXPECT_EQ(Window->DocumentPath(), other);
    EXPECT_EQ(FirstFactor(), "Other");
}

TEST_F(DocumentCommands, SaveOfANewDocumentIsSaveAs) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    Window->Document()->MarkUnsaved();
    const QString existing = ProjectFile("existing.swot", "Old");

    // Cancelling the save dialog leaves the project modified.
    Seam->CancelFile();
    EXPECT_FALSE(Window->SaveProject());
    EXPECT_TRUE(Window->Project()->Modified());
    EXPECT_EQ(Window->DocumentPath(), std::nullopt);

    // An existing file is replaced only after Yes.
    Seam->AnswerFile(existing);
    Seam->Answer({QMessageBox::Cancel});
    EXPECT_FALSE(Window->SaveProject());
    EXPECT_EQ(Seam->Messages.last(), "This file is already there. Do you want to replace it?");
    EXPECT_EQ(ReadProject(existing)->Items[0]->Name, "Old");
    EXPECT_TRUE(Window->Project()->Modified());

    Seam->AnswerFile(existing);
    Seam->Answer({QMessageBox::Yes});
    EXPECT_TRUE(Window->SaveProject());
    EXPECT_TRUE(ReadProject(existing)->Items.empty());
    EXPECT_FALSE(Window->Project()->Modified());
    EXPECT_EQ(Window->windowTitle(), "Merovan - existing.swot");
    EXPECT_EQ(Window->DocumentPath(), existing);

    // Onto a new name nothing is asked.
    const int asked = Seam->Messages.size();
    Seam->AnswerFile(Path("fresh.swot"));
    EXPECT_TRUE(Window->SaveProjectAs());
    EXPECT_EQ(Seam->Messages.size(), asked);
    EXPECT_EQ(Window->DocumentPath(), Path("fresh.swot"));
    EXPECT_TRUE(QFile::exists(Path("fresh.swot")));
}

// Only a document never saved asks where to go, whatever its file is called.
TEST_F(DocumentCommands, AFileCalledNewDocumentIsSavedInPlace) {
    const QString path = ProjectFile("New document", "Plan");
    ASSERT_TRUE(Window->StartUp({path}));
    EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
    Window->Project()->Items[0]->Name = "Kept";
    EXPECT_TRUE(Window->SaveProject());
    EXPECT_TRUE(Seam->FileRequests.isEmpty()) << "no save dialog";
    EXPECT_EQ(ReadProject(path)->Items[0]->Name, "Kept");
    EXPECT_EQ(Window->DocumentPath(), path);
}

TEST_F(DocumentCommands, FailedSavesSayWhyAndKeepTheProjectModified) {
    const QString path = ProjectFile("plan.swot", "Plan");
    ASSERT_TRUE(Window->StartUp({path}));
    Window->Document()->MarkUnsaved();
    Window->SetDocumentPath(Path("gone/plan.swot"));

    EXPECT_FALSE(Window->SaveProject());
    ASSERT_EQ(Seam->Messages.size(), 1);
    EXPECT_TRUE(Seam->Messages[0].startsWith(
        "An error occurred during the saving\n\nThe file cannot be written"))
        << Seam->Messages[0].toStdString();
    EXPECT_TRUE(Window->Project()->Modified());

    Seam->AnswerFile(Path("gone/other.swot"));
    EXPECT_FALSE(Window->SaveProjectAs());
    EXPECT_TRUE(Seam->Messages.last().startsWith("An error occurred during the saving"));
    EXPECT_EQ(Window->DocumentPath(), Path("gone/plan.swot")) << "the name stays";
    EXPECT_TRUE(Window->Project()->Modified());
}

// Save goes through a link to the file it names; a write-protected file is
// refused by Save and by Save as, which asks nothing about replacing it.
TEST_F(DocumentCommands, SavesFollowLinksAndRefuseWriteProtectedFiles) {
    const QString path = ProjectFile("plan.swot", "Plan");
    ASSERT_TRUE(QFile::link(path, Path("link.swot")));
    ASSERT_TRUE(Window->StartUp({Path("link.swot")}));
    Retitle(*Window->Document(), "Changed");
    EXPECT_TRUE(Window->SaveProject());
    EXPECT_TRUE(QFileInfo(Path("link.swot")).isSymLink());
    EXPECT_EQ(ReadProject(path)->Title, "Changed");

    ::chmod(QFile::encodeName(path).constData(), 0444);
    Window->Document()->MarkUnsaved();
    EXPECT_FALSE(Window->SaveProject());
    Seam->AnswerFile(path);
    EXPECT_FALSE(Window->SaveProjectAs());
    ASSERT_EQ(Seam->Messages.size(), 2) << "no question about replacing";
    for (const QString& message : Seam->Messages)
        EXPECT_EQ(message, "An error occurred during the saving\n\nThe file " + path +
                               " is write-protected; it was not replaced.");
    EXPECT_TRUE(Window->Project()->Modified());
    EXPECT_EQ(ReadProject(path)->Title, "Changed");
}

TEST_F(DocumentCommands, ClosingAsksAboutUnsavedChanges) {
    const QString path = ProjectFile("plan.swot", "Plan");
    struct Case {
        const char* what;
        bool modified;
        QList<QMessageBox::StandardButton> answers;
        QString saveTo;
        bool closes;
        const char* onDisk;
    };
    const Case cases[] = {
        {"not modified: nothing asked", false, {}, {}, true, "Plan"},
        {"Cancel keeps the window", true, {QMessageBox::Cancel}, {}, false, "Plan"},
        {"No closes without saving", true, {QMessageBox::No}, {}, true, "Plan"},
        {"Yes saves, then closes", true, {QMessageBox::Yes}, {}, true, "Edited"},
        {"Yes with a failing save keeps the window",
         true,
         {QMessageBox::Yes},
         "gone/x.swot",
         false,
         "Plan"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WriteProject(*MakeProject({{"Plan", stStrength, 3}}), path);
        NewWindow();
        ASSERT_TRUE(Window->StartUp({path}));
        if (c.modified)
            Rename(*Window->Document(), 0, "Edited");
        if (!c.saveTo.isEmpty())
            Window->SetDocumentPath(Path(c.saveTo));
        Seam->Answer(c.answers);
        Window->show();
        EXPECT_EQ(Window->close(), c.closes);
        EXPECT_EQ(Seam->Messages.value(0), c.modified ? "Save changes?" : QString());
        EXPECT_EQ(ReadProject(path)->Items[0]->Name, c.onDisk);
        EXPECT_EQ(Workspace() == nullptr, c.closes) << "the workspace goes with the window";
    }
}

TEST_F(DocumentCommands, ExampleToggleKeepsTheUserProject) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    const TProject* user = Window->Project();
    const TProject* example = ExampleProject();
    ASSERT_NE(example, nullptr);
    Retitle(*Window->Document(), "Unsaved title");
    QAction* toggle = Action("AcnProjExampDisp");

    toggle->trigger();
    EXPECT_EQ(Window->Project(), example);
    EXPECT_EQ(StashedProject(), user);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(toggle->text(), "Back to the project");
    EXPECT_EQ(Window->windowTitle(), "Merovan - New document") << "the caption stays the user's";
    EXPECT_EQ(Window->DocumentPath(), std::nullopt);
    Retitle(*Window->Document(), "Example edited");

    toggle->trigger();
    EXPECT_EQ(Window->Project(), user) << "the very same project";
    EXPECT_EQ(user->Title, "Unsaved title");
    EXPECT_TRUE(user->Modified());
    EXPECT_EQ(ExampleProject(), example);
    EXPECT_EQ(example->Title, "Example edited") << "changes stay with the example";
    EXPECT_FALSE(toggle->isChecked());
    EXPECT_EQ(toggle->text(), "Display the example");

    // Closing while the example is displayed asks about the user's project.
    toggle->trigger();
    Window->Document()->MarkSaved();
    Seam->Answer({QMessageBox::No});
    Window->show();
    EXPECT_TRUE(Window->close());
    EXPECT_EQ(Seam->Messages, QStringList{"Save changes?"});
    EXPECT_EQ(Window->Project(), user);
}

TEST_F(DocumentCommands, SavingFromTheExampleSavesTheUserProject) {
    const QString path = ProjectFile("plan.swot", "Plan");
    ASSERT_TRUE(Window->StartUp({path}));
    Window->Project()->Items[0]->Name = "Mine";
    Action("AcnProjExampDisp")->trigger();
    EXPECT_TRUE(Window->SaveProject());
    EXPECT_FALSE(Window->ExampleDisplayed());
    EXPECT_EQ(ReadProject(path)->Items[0]->Name, "Mine");
}
