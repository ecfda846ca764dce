#pragma once

#include "reports/UntPictures.h"
#include "reports/UntReportExport.h"
#include "shell/UntDocumentController.h"
#include "shell/UntFileChooser.h"
#include "shell/UntSettings.h"
#include "workspace/UntMainHost.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QUndoGroup;
class TDlgAbout;
class TDlgCompare;
class TDlgWaitReport;
class TDlgProperties;
class TDlgSelectExample;
class TFrmGuideline;
class TFrmTOWSItem;
class TFrmHelp;
class TFrmStart;
class TModalSeam;
class TFraTOWS;

// The application shell: the menus, the tool bar, the status bar and the
// dialogs, hosting the workspace of the document shown. Its commands ask the
// user what they need and hand the work to the document controller, which
// holds the documents.
class TFrmMain : public QMainWindow, public TMainHost {
    Q_OBJECT

public:
    explicit TFrmMain(QWidget* parent = nullptr);
    ~TFrmMain() override;

    // The start-up sequence, run once just before the window first shows.
    // False when the user chose to quit from the start dialog.
    bool StartUp(const QStringList& arguments);
    // Shows the window as it was left at the end of the last run; maximized
    // the first time.
    void ShowWindow();

    TDocumentController& Documents() { return FDocuments; }
    const TSettings& Settings() const { return FSettings; }

    // The file of the user's document; none for a new document, which has
    // never been saved.
    std::optional<QString> DocumentPath() const { return FDocuments.DocumentPath(); }
    // Names the user's document after the file: the caption and the status
    // bar show it, or the translated "New document".
    void SetDocumentPath(const std::optional<QString>& path);
    bool ExampleDisplayed() const { return FDocuments.ExampleShown(); }

    // Save and Save as; true when the project was written.
    bool SaveProject();
    bool SaveProjectAs();

    void SetSeam(std::unique_ptr<TModalSeam> seam);

    TDocument* Document() override { return FDocuments.Current(); }
    TModalSeam& Seam() override { return *FSeam; }
    void ShowHelpTopic(int context) override;
    QAction* PropertiesAction() override { return AcnFileProperties; }
    TCouplingViewSettings CouplingViewSettings() const override { return FCouplingViewSettings; }
    void SetCouplingViewSettings(const TCouplingViewSettings& settings) override {
        FCouplingViewSettings = settings;
    }
    double SplitRatio() const override { return FSettings.SplitRatio; }
    void SetSplitRatio(double ratio) override { FSettings.SplitRatio = ratio; }
    bool EditFactor(TTOWSItem& factor, bool isNew) override;
    bool EditGuideline(TGuideline& guideline, const TGuideline* original) override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(const char* name, const QString& caption, int shortcutId = 0);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateCommands();
    void UpdateRecentMenu();
    // The caption and the status bar name the user's document.
    void ShowDocumentName();

    // Runs a document operation; false after showing why it failed, with the
    // context first, if any.
    bool Try(const std::function<void()>& operation, const QString& context = {});
    // Shows in the status bar where a file was written.
    void TellWritten(const QString& path);

    // Tells which copies of unsaved work of programs that are gone cannot be
    // read, and offers, one by one, the others; true when one became the
    // user's project.
    bool OfferRecoveryCopies();
    // The command-line argument once a project was recovered: its own file
    // shows it as it is; another file, or "-n", takes its place once its
    // recovered changes are saved or left to the next start.
    void FollowAfterRecovery(const QString& argument);
    // Asks whether to save the recovered changes of the user's project before
    // what the question names: Yes saves them, No leaves them to the next
    // start; false when the user cancelled or the save failed.
    bool SetRecoveredAside(int questionId, const QString& next = {});
    void ShowRecoveryProblem(const QString& problem);

    void RebuildWorkspace();
    bool CloseQuery();
    // Switches back to the user's project when the example is displayed;
    // false when the workspace refused to commit.
    bool ReturnFromExample();
    // "Save changes?" for a modified project; false when the command must stop.
    bool AskToKeepChanges();
    void HelpKey();

    void AcnFileNewExecute();
    // True when a project file was read.
    bool AcnFileOpenExecute();
    void OpenRecentProject(const QString& path);
    // Reads the project file as the user's document and shows it; false
    // after showing why it could not.
    bool OpenProject(const QString& path);
    // Says who has the project file open and since when, and opens a
    // read-only copy, or the file all the same, as the user chooses; false
    // when nothing was opened.
    bool OpenProjectInUse(const QString& path, const TLockOwner& holder);
    // Before a save over the user's file: Yes writes, No asks for another
    // name, Cancel writes nothing. Asks only when another program changed,
    // replaced, moved or deleted the file since it was read or saved here.
    QMessageBox::StandardButton AskAboutFileChange(const QString& path);
    // Says in the status bar, beside the file's path, what another program
    // did to the user's file; None takes the notice away.
    void TellChangedOnDisk(TDiskChange change);
    // The project leads the recent ones.
    void RememberProject(const QString& path);
    // Back to the user's project, its edits committed: what a save needs.
    bool ReadyToSave();
    // Writes the user's project to the path; false after saying why not.
    bool SaveTo(const QString& path);
    void AcnFileSaveExecute() { SaveProject(); }
    void AcnFileSaveAsExecute() { SaveProjectAs(); }
    void AcnFilePropertiesExecute();
    // A JSON or CSV file as a new, unsaved project; the project as either.
    void AcnFileImportExecute();
    void AcnFileExportExecute();
    // The project shown against another version of it, chosen as a file.
    void AcnFileCompareExecute();
    void AcnProjExampDispExecute();
    void AcnProjExampleSelectExecute();
    void AcnProjTextReportExecute() { RunReport(TReportKind::Text); }
    void AcnProjTableReportExecute() { RunReport(TReportKind::Table); }
    void RunReport(TReportKind kind);
    // Runs the job with the wait dialog, which starts at the stage beingMade
    // and cancels it; tells the status interrupted when it was cancelled.
    void RunJob(TReportJob* job, int beingMade, int interrupted);
    // Asks for a file and has a job draw the picture of the project there, as
    // SVG or PNG.
    void SavePictureAs(const TReportJob::TPictureDrawing& draw);

    TSettings FSettings;
    TDocumentController FDocuments;
    std::unique_ptr<TModalSeam> FSeam;
    TFileChooser FFiles;
    // Undo and redo act on the history of the project shown.
    QUndoGroup* History;
    // The hosted workspace frame; none before the first document.
    QPointer<TFraTOWS> FWorkspace;
    // The file type last chosen for a picture: 1 SVG, 2 PNG.
    int FPictureFilter = 1;
    // The file type last chosen for an export: 1 JSON, 2 CSV.
    int FExportFilter = 1;
    TCouplingViewSettings FCouplingViewSettings;
    QMenu* MnuRecent;
    TFrmStart* FrmStart;
    TFrmTOWSItem* FrmTOWSItem;
    TDlgAbout* DlgAbout;
    TDlgCompare* DlgCompare;
    TDlgSelectExample* DlgSelectExample;
    TDlgWaitReport* DlgWaitReport;
    TFrmGuideline* FrmGuideline;
    TDlgProperties* DlgProperties;
    TFrmHelp* FrmHelp;
    QFrame* MainPanel;
    QLabel* StatusPath;
    QLabel* StatusSpare;
    QLabel* StatusRecovery;
    QLabel* StatusDisk;

    QAction* AcnFileNew;
    QAction* AcnFileOpen;
    QAction* AcnFileSave;
    QAction* AcnFileSaveAs;
    QAction* AcnFileProperties;
    QAction* AcnFileImport;
    QAction* AcnFileExport;
    QAction* AcnFileCompare;
    QAction* AcnFileQuit;
    QAction* AcnEditUndo;
    QAction* AcnEditRedo;
    QAction* AcnEditCut;
    QAction* AcnEditCopy;
    QAction* AcnEditPaste;
    QAction* AcnHelpIndex;
    QAction* AcnDispLicence;
    QAction* AcnHelpWebPage;
    QAction* AcnHelpCustPage;
    QAction* AcnHelpAbout;
    QAction* AcnProjExampDisp;
    QAction* AcnProjExampleSelect;
    QAction* AcnProjTextReport;
    QAction* AcnProjTableReport;
    QAction* AcnProjSwotPicture;
    QAction* AcnProjTowsPicture;
    QAction* AcnProjStrategyPicture;
};
