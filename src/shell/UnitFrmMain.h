#pragma once

#include "UntClassProject.h"

#include <QMainWindow>
#include <QPointer>
#include <memory>

class QAction;
class QFrame;
class QLabel;
class TFrmStart;
class TModalSeam;
class TModelFrame;

// The application shell: holds the project slots, hosts the workspace and
// carries the menus, the tool bar and the status bar.
class TFrmMain : public QMainWindow {
    Q_OBJECT

public:
    explicit TFrmMain(QWidget* parent = nullptr);
    ~TFrmMain() override;

    // The start-up sequence, run once just before the window first shows.
    // False when the user chose to quit from the start dialog.
    bool StartUp(const QStringList& arguments);

    // Names the current document in the project, the caption and the status bar.
    void SetDocumentName(const QString& name);

    // Enables the commands that need a project exactly when there is one.
    void UpdateCommands();

    TModalSeam& Seam() const { return *FSeam; }
    void SetSeam(std::unique_ptr<TModalSeam> seam);

    // The user's project while the example is displayed.
    std::unique_ptr<TProject> StashedProject;
    // The hosted workspace frame; none before the first document.
    QPointer<TModelFrame> Workspace;
    std::unique_ptr<TProject> ExampleProject;
    // The project shown and edited.
    std::unique_ptr<TProject> CurrentProject;
    QString CurrentFileName;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* AddAction(const char* name, const QString& caption, int shortcutId = 0);
    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    bool CloseQuery();

    std::unique_ptr<TModalSeam> FSeam;
    TFrmStart* FrmStart;
    QFrame* MainPanel;
    QLabel* StatusPath;
    QLabel* StatusSpare;

    QAction* AcnFileNew;
    QAction* AcnFileOpen;
    QAction* AcnFileSave;
    QAction* AcnFileSaveAs;
    QAction* AcnFileProperties;
    QAction* AcnFileQuit;
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
};
