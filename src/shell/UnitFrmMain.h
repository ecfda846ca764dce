#pragma once

#include "UntClassProject.h"
#include "UntDocument.h"
#include "UntMainHost.h"
#include "UntPictures.h"
#include "UntReportExport.h"
#include "UntStringIds.h"

#include <QMainWindow>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <optional>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QTimer;
class QUndoGroup;
class TDlgAbout;
class TDlgWaitReport;
class TDlgProperties;
class TDlgSelectExample;
class TFrmGuideline;
class TFrmTOWSItem;
class TFrmHelp;
class TFrmStart;
class TModalSeam;
class TFraTOWS;
class TModelFrame;
class TRecoveryCopy;
class TReportJob;

// The application shell: holds the project slots, hosts the workspace, carries
// the menus, the tool bar and the status bar, and runs the document commands.
class TFrmMain : public QMainWindow, public TMainHost {
    Q_OBJECT

public:
    explicit TFrmMain(QWidget* parent = nullptr);
    ~TFrmMain() override;

    // The start-up sequence, run once just before the window first shows.
    // False when the user chose to quit from the start dialog.
    bool StartUp(const QStringList& arguments);

    // The file of the current document; none for a new document, which has
    // never been saved. The caption and the status bar show it, or the
    // translated "New document".
    const std::optional<QString>& DocumentPath() const { return FDocumentPath; }
    void SetDocumentPath(const std::optional<QString>& path);

    // Save and Save as; true when the project was written.
    bool SaveProject();
    bool SaveProjectAs();

    void SetSeam(std::unique_ptr<TModalSeam> seam);

    // Brings the recovery copy in line with the user's project: written when
    // it has changes the copy lacks, removed when it has none. A timer calls
    // it a moment after each change.
    void KeepRecoveryCopy();
    const TRecoveryCopy& RecoveryCopy() const { return *FRecoveryCopy; }

    TProject* Project() override { return FCurrent ? &FCurrent->Project() : nullptr; }
    TModalSeam& Seam() override { return *FSeam; }
    void ShowHelpTopic(int context) override;
    QAction* PropertiesAction() override { return AcnFileProperties; }
    TCouplingViewSettings& CouplingViewSettings() override { return FCouplingViewSettings; }
    double& SplitRatio() override { return FSplitRatio; }
    bool EditFactor(TTOWSItem& factor, bool isNew) override;
    bool EditGuideline(TGuideline& guideline, const TGuideline* original) override;
    void Apply(std::unique_ptr<QUndoCommand> change) override;
    void ProjectChanged(const TChange& change) override;

    bool ExampleDisplayed() const { return FStashed != nullptr; }
    // The example, while it waits to be displayed.
    const TProject* ExampleProject() const { return FExample ? &FExample->Project() : nullptr; }
    // The user's project while the example is displayed.
    const TProject* StashedProject() const { return FStashed ? &FStashed->Project() : nullptr; }

    // Settings kept between runs.
    const QString& ExampleFile() const { return FExampleFile; }
    int ReportFormat() const { return FReportFormat; }
    const QString& Recent1() const { return FRecent1; }
    // The projects last opened or saved, the latest first.
    const QStringList& RecentProjects() const { return FRecentProjects; }
    static constexpr int MaxRecentProjects = 8;

    // Shows the window as it was left at the end of the last run; maximized
    // the first time.
    void ShowWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(const char* name, const QString& caption, int shortcutId = 0);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void UpdateCommands();

    // Reads the project file into the slot, with a history of its own; shows
    // why when it cannot, and leaves the slot as it was.
    bool ReadProject(std::unique_ptr<TDocument>& slot, const QString& path);
    // Makes the project the document shown, modified until it is saved: no
    // file holds it as it is. The recovery copy keeps it meanwhile, with the
    // file it came from, if any.
    void ShowUnsavedProject(std::unique_ptr<TProject> project,
                            const std::optional<QString>& origin);
    // Makes the project file read into the current slot the document shown.
    void ShowOpenedProject(const QString& path);
    // The folder file dialogs start in: the document's, or the last one used.
    QString StartFolder() const;
    // Remembers the folder of a file chosen or a project used, and the
    // project among the recent ones.
    void RememberFolder(const QString& path);
    void RememberProject(const QString& path);
    void UpdateRecentMenu();
    void OpenRecentProject(const QString& path);
    // Whether a file may be written at the path; says why not, after the
    // context, when it is write-protected.
    bool Replaceable(const QString& path, const QString& context);
    // Writes the current project to the path; says why when it cannot.
    bool WriteDocument(const QString& path);

    // Offers, one by one, the unsaved work of programs that are gone; true
    // when one became the current project.
    bool OfferRecoveryCopies();

    void ReadSettings();
    void WriteSettings() const;

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
    void AcnProjExampDispExecute();
    void AcnProjExampleSelectExecute();
    void AcnFilePropertiesExecute();
    // A JSON or CSV file as a new, unsaved project; the project as either.
    void AcnFileImportExecute();
    void AcnFileExportExecute();
    // The text and table report commands: the report is made by a job while
    // the window stays responsive.
    void RunReport(TReportKind kind);
    // Asks for a file and saves the picture of the project there, as SVG or PNG.
    void SavePictureAs(TPictureKind kind);
    // A file to write one of the kinds offered, each a filter of the save
    // dialog and its extension; the dialog selects the kind chosen last, and
    // a name without any of the extensions gets the selected kind's. None
    // when the user cancels or keeps the file there.
    std::optional<QString> ChooseOutput(const QStringList& filters, const QStringList& extensions,
                                        int& filter, int question = StrReplaceReport);
    // Whether a report, picture or export may go to the path: a file there
    // is replaceable, and the user agrees to replace it when asked.
    bool MayWriteOutput(const QString& path, int question = StrReplaceReport);
    // Shows in the status bar where a file was written.
    void TellWritten(const QString& path);

    // The project shown and edited, the example waiting to be shown, and the
    // user's project while the example is shown; each with its history.
    std::unique_ptr<TDocument> FCurrent;
    std::unique_ptr<TDocument> FExample;
    std::unique_ptr<TDocument> FStashed;
    // Undo and redo act on the history of the project shown.
    QUndoGroup* History;
    std::optional<QString> FDocumentPath;
    // The hosted workspace frame; none before the first document.
    QPointer<TFraTOWS> FWorkspace;
    QString FExampleFile;
    int FReportFormat = 1;
    // The report under way, a child of the window; none when no report runs.
    TReportJob* FReportJob = nullptr;
    // The file type last chosen for a picture: 1 SVG, 2 PNG.
    int FPictureFilter = 1;
    // The file type last chosen for an export: 1 JSON, 2 CSV.
    int FExportFilter = 1;
    QString FRecent1;
    QStringList FRecentProjects;
    QString FLastFolder;
    QByteArray FGeometry;
    double FSplitRatio = 0.66;
    QMenu* MnuRecent;
    std::unique_ptr<TModalSeam> FSeam;
    std::unique_ptr<TRecoveryCopy> FRecoveryCopy;
    // The revision the recovery copy holds; 0 when there is no copy.
    std::uint64_t FRecoveryRevision = 0;
    QTimer* RecoveryTimer;
    TCouplingViewSettings FCouplingViewSettings;
    TFrmStart* FrmStart;
    TFrmTOWSItem* FrmTOWSItem;
    TDlgAbout* DlgAbout;
    TDlgSelectExample* DlgSelectExample;
    TDlgWaitReport* DlgWaitReport;
    TFrmGuideline* FrmGuideline;
    TDlgProperties* DlgProperties;
    TFrmHelp* FrmHelp;
    QFrame* MainPanel;
    QLabel* StatusPath;
    QLabel* StatusSpare;

    QAction* AcnFileNew;
    QAction* AcnFileOpen;
    QAction* AcnFileSave;
    QAction* AcnFileSaveAs;
    QAction* AcnFileProperties;
    QAction* AcnFileImport;
    QAction* AcnFileExport;
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
};
