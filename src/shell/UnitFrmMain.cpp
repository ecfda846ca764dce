#include "shell/UnitFrmMain.h"

#include "model/UntStrings.h"
#include "reports/UntConvert.h"
#include "reports/UntReportJob.h"
#include "reports/UntStrategyPicture.h"
#include "shell/UntApplication.h"
#include "shell/UntBranding.h"
#include "shell/UntDlgAbout.h"
#include "shell/UntDlgCompare.h"
#include "shell/UntDlgProperties.h"
#include "shell/UntDlgWaitReport.h"
#include "shell/UntEditCommands.h"
#include "shell/UntFrmHelp.h"
#include "shell/UntFrmStart.h"
#include "shell/UntRecoveryQuestions.h"
#include "shell/UntSelectExample.h"
#include "shell/UntShortenPath.h"
#include "shell/UntWebLinks.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntInterchange.h"
#include "storage/UntLockFile.h"
#include "storage/UntProgramFolder.h"
#include "storage/UntRecovery.h"
#include "storage/UntUtils.h"
#include "workspace/UntFraTOWS.h"
#include "workspace/UntFrmGuideline.h"
#include "workspace/UntFrmTOWSItem.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntModalSeam.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>
#include <QVBoxLayout>

namespace {

constexpr int StatusPathWidth = 300;
constexpr int StatusSpareWidth = 50;
constexpr int ToolBarHeight = 28;

// Who holds a lock, as the questions about a file in use name them.
QString LockOwnerText(const TLockOwner& holder) {
    const QString who = holder.Who().isEmpty() ? LoadStr(StrUnknownUser) : holder.Who();
    QString owner =
        holder.Host.isEmpty() ? who : FillTemplate(LoadStr(StrLockOwnerHost), who, holder.Host);
    if (const QDateTime since = holder.Since(); since.isValid())
        owner = FillTemplate(LoadStr(StrLockOwnerSince), owner,
                             QLocale().toString(since, QLocale::ShortFormat));
    return owner;
}

// A notice of the status bar, cut to its room, whole in its tooltip; none
// hides it.
void ShowNotice(QLabel* notice, const QString& text) {
    notice->setText(text);
    notice->setToolTip(text);
    notice->setVisible(!text.isEmpty());
}

} // namespace

TFrmMain::TFrmMain(QWidget* parent)
    : QMainWindow(parent), FSeam(std::make_unique<TModalSeam>()),
      FFiles(*this, *this, FSettings, FDocuments) {
    setObjectName(QStringLiteral("FrmMain"));
    SetHelpContext(this, hcMainWindow);
    resize(790, 556);

    MainPanel = new QFrame(this);
    MainPanel->setObjectName(QStringLiteral("MainPanel"));
    MainPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* panelLayout = new QVBoxLayout(MainPanel);
    panelLayout->setContentsMargins(3, 3, 3, 3);
    setCentralWidget(MainPanel);

    History = new QUndoGroup(this);
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    UpdateCommands();
    UpdateRecentMenu();
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &TFrmMain::HelpKey);

    FrmStart = new TFrmStart(this);
    FrmTOWSItem = new TFrmTOWSItem(*this, this);
    DlgAbout = new TDlgAbout(*this, this);
    DlgSelectExample = new TDlgSelectExample(*this, this);
    DlgWaitReport = new TDlgWaitReport(this);
    DlgSelectExample->LoadExample = [this](const QString& path) {
        if (!Try([&] { FDocuments.LoadExample(path); }))
            return false;
        FSettings.ExampleFile = path;
        return true;
    };
    FrmGuideline = new TFrmGuideline(*this, this);
    DlgProperties = new TDlgProperties(*this, this);
    // A window of its own, which the dialogs' modality does not block.
    FrmHelp = new TFrmHelp(nullptr);
    qApp->installEventFilter(new TModalKeyGuard(this));
    qApp->installEventFilter(new TFocusReturn(this));
    DlgCompare = new TDlgCompare(this);
    connect(DlgCompare, &TDlgCompare::FactorChosen, this, [this](std::int32_t position) {
        if (FWorkspace)
            FWorkspace->ShowFactor(position);
    });
    connect(DlgCompare, &TDlgCompare::GuidelineChosen, this, [this](int position) {
        if (FWorkspace)
            FWorkspace->ShowGuideline(position);
    });
    connect(FrmHelp, &TFrmHelp::ExternalLinkClicked, this,
            [this](const QUrl& address) { Seam().OpenWebPage(address.toString()); });

    connect(&FDocuments, &TDocumentController::CurrentChanged, this, [this] {
        if (TDocument* current = FDocuments.Current())
            History->addStack(current);
        UpdateCommands();
    });
    connect(&FDocuments, &TDocumentController::ExampleChanged, this, &TFrmMain::UpdateCommands);
    connect(&FDocuments, &TDocumentController::PathChanged, this, &TFrmMain::ShowDocumentName);
    connect(&FDocuments.Recovery(), &TRecoveryKeeper::ProblemChanged, this,
            &TFrmMain::ShowRecoveryProblem);
    connect(&FDocuments, &TDocumentController::ChangedOnDisk, this, &TFrmMain::TellChangedOnDisk);
    connect(&FDocuments, &TDocumentController::PathChanged, this,
            [this] { TellChangedOnDisk(TDiskChange::None); });
    // An error that reaches the event loop is shown over this window; the
    // project stays as it is.
    if (TApplication* application = TApplication::Instance())
        application->SetErrorHandler([this](const QString& message) {
            QWidget* modal = QApplication::activeModalWidget();
            Seam().Error(modal ? modal : this, message);
        });
}

TFrmMain::~TFrmMain() {
    if (TApplication* application = TApplication::Instance())
        application->SetErrorHandler({});
    delete FWorkspace;
    delete FrmHelp;
    FSettings.Geometry = saveGeometry();
    try {
        FSettings.Write();
    } catch (const EStorageError& error) {
        // The window is going away: there is nobody left to tell but the log.
        qWarning("merovan: the settings were not saved: %s", error.what());
    }
}

QAction* TFrmMain::AddAction(const char* name, const QString& caption, int shortcutId) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (shortcutId != 0)
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + LoadStr(shortcutId).left(1)));
    return action;
}

void TFrmMain::CreateActions() {
    AcnFileNew = AddAction("AcnFileNew", LoadStr(StrFileNew), StrKeyNew);
    AcnFileOpen = AddAction("AcnFileOpen", LoadStr(StrFileOpen), StrKeyOpen);
    AcnFileSave = AddAction("AcnFileSave", LoadStr(StrFileSave), StrKeySave);
    AcnFileSaveAs = AddAction("AcnFileSaveAs", LoadStr(StrFileSaveAs));
    AcnFileProperties = AddAction("AcnFileProperties", LoadStr(StrFileProperties));
    AcnFileImport = AddAction("AcnFileImport", LoadStr(StrMenuImport));
    AcnFileExport = AddAction("AcnFileExport", LoadStr(StrMenuExport));
    AcnFileCompare = AddAction("AcnFileCompare", LoadStr(StrMenuCompare));
    AcnFileQuit = AddAction("AcnFileQuit", LoadStr(StrFileQuit), StrKeyQuit);
    // The steps name what they undo and redo: "Undo delete “Brand”".
    AcnEditUndo = History->createUndoAction(this, LoadStr(StrUndo));
    AcnEditUndo->setObjectName(QStringLiteral("AcnEditUndo"));
    AcnEditUndo->setShortcuts(QKeySequence::Undo);
    AcnEditRedo = History->createRedoAction(this, LoadStr(StrRedo));
    AcnEditRedo->setObjectName(QStringLiteral("AcnEditRedo"));
    AcnEditRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    AcnEditCut = AddAction("AcnEditCut", LoadStr(StrEditCut), StrKeyCut);
    AcnEditCopy = AddAction("AcnEditCopy", LoadStr(StrEditCopy), StrKeyCopy);
    AcnEditPaste = AddAction("AcnEditPaste", LoadStr(StrEditPaste), StrKeyPaste);
    AcnHelpIndex = AddAction("AcnHelpIndex", LoadStr(StrHelpGuide));
    AcnDispLicence = AddAction("AcnDispLicence", LoadStr(StrHelpLicence));
    AcnHelpWebPage = AddAction("AcnHelpWebPage", ProductStr(StrHelpWebPage));
    AcnHelpCustPage = AddAction("AcnHelpCustPage", LoadStr(StrHelpCustomerPage));
    AcnHelpAbout = AddAction("AcnHelpAbout", ProductStr(StrHelpAbout));
    AcnProjExampDisp = AddAction("AcnProjExampDisp", LoadStr(StrExampleDisplay));
    AcnProjExampleSelect = AddAction("AcnProjExampleSelect", LoadStr(StrExampleSelect));
    AcnProjTextReport = AddAction("AcnProjTextReport", LoadStr(StrTextReport));
    AcnProjTableReport = AddAction("AcnProjTableReport", LoadStr(StrTableReport));
    AcnProjSwotPicture = AddAction("AcnProjSwotPicture", LoadStr(StrSwotPicture));
    AcnProjTowsPicture = AddAction("AcnProjTowsPicture", LoadStr(StrTowsPicture));
    AcnProjStrategyPicture = AddAction("AcnProjStrategyPicture", LoadStr(StrStrategyPicture));

    AcnFileNew->setIcon(QIcon(QStringLiteral(":/icons/new.svg")));
    AcnFileOpen->setIcon(QIcon(QStringLiteral(":/icons/open.svg")));
    AcnFileSave->setIcon(QIcon(QStringLiteral(":/icons/save.svg")));
    AcnEditCut->setIcon(QIcon(QStringLiteral(":/icons/cut.svg")));
    AcnEditCopy->setIcon(QIcon(QStringLiteral(":/icons/copy.svg")));
    AcnEditPaste->setIcon(QIcon(QStringLiteral(":/icons/paste.svg")));
    AcnProjExampDisp->setIcon(QIcon(QStringLiteral(":/icons/example.svg")));

    // These tips are fixed texts of the tool bar, not string-table texts.
    AcnEditCut->setToolTip(QStringLiteral("Couper"));
    AcnEditCopy->setToolTip(QStringLiteral("Copier"));
    AcnEditPaste->setToolTip(QStringLiteral("Coller"));
    AcnProjExampleSelect->setToolTip(
        QStringLiteral("Afficher la liste des exemples pour en sélectionner un"));

    AcnProjExampDisp->setCheckable(true);

    connect(AcnFileNew, &QAction::triggered, this, &TFrmMain::AcnFileNewExecute);
    connect(AcnFileOpen, &QAction::triggered, this, &TFrmMain::AcnFileOpenExecute);
    connect(AcnFileSave, &QAction::triggered, this, &TFrmMain::AcnFileSaveExecute);
    connect(AcnFileSaveAs, &QAction::triggered, this, &TFrmMain::AcnFileSaveAsExecute);
    connect(AcnFileProperties, &QAction::triggered, this, &TFrmMain::AcnFilePropertiesExecute);
    connect(AcnFileImport, &QAction::triggered, this, &TFrmMain::AcnFileImportExecute);
    connect(AcnFileExport, &QAction::triggered, this, &TFrmMain::AcnFileExportExecute);
    connect(AcnFileCompare, &QAction::triggered, this, &TFrmMain::AcnFileCompareExecute);
    connect(AcnFileQuit, &QAction::triggered, this, &QWidget::close);
    connect(AcnProjTextReport, &QAction::triggered, this, &TFrmMain::AcnProjTextReportExecute);
    connect(AcnProjTableReport, &QAction::triggered, this, &TFrmMain::AcnProjTableReportExecute);
    for (const auto& [action, kind] : {std::pair(AcnProjSwotPicture, TPictureKind::Swot),
                                       {AcnProjTowsPicture, TPictureKind::Tows}})
        connect(action, &QAction::triggered, this, [this, kind] {
            SavePictureAs([kind](const TProject& project, const QString& target,
                                 const std::function<void()>& checkpoint) {
                SavePicture(kind, project, target, checkpoint);
            });
        });
    connect(AcnProjStrategyPicture, &QAction::triggered, this, [this] {
        SavePictureAs([](const TProject& project, const QString& target,
                         const std::function<void()>& checkpoint) {
            SaveStrategyPicture(project, target, checkpoint);
        });
    });
    connect(AcnProjExampDisp, &QAction::triggered, this, &TFrmMain::AcnProjExampDispExecute);
    connect(AcnProjExampleSelect, &QAction::triggered, this,
            &TFrmMain::AcnProjExampleSelectExecute);
    connect(AcnHelpIndex, &QAction::triggered, this, [this] { ShowHelpTopic(hcMainWindow); });
    connect(AcnDispLicence, &QAction::triggered, this,
            [this] { FrmHelp->ShowPage(LocalizedFile(QStringLiteral("licence.htm"))); });
    connect(AcnHelpWebPage, &QAction::triggered, this,
            [this] { Seam().OpenWebPage(QString::fromLatin1(ProductPageUrl)); });
    connect(AcnHelpCustPage, &QAction::triggered, this,
            [this] { Seam().OpenWebPage(QString::fromLatin1(CustomerPageUrl)); });
    connect(AcnHelpAbout, &QAction::triggered, this, [this] { Seam().ExecDialog(*DlgAbout); });
    new TEditCommands(AcnEditCut, AcnEditCopy, AcnEditPaste, this);
}

void TFrmMain::CreateMenus() {
    QMenu* file = menuBar()->addMenu(LoadStr(StrMenuFile));
    file->setObjectName(QStringLiteral("MnuFile"));
    file->addActions({AcnFileNew, AcnFileOpen});
    MnuRecent = file->addMenu(LoadStr(StrOpenRecent));
    MnuRecent->setObjectName(QStringLiteral("MnuRecent"));
    file->addActions({AcnFileSave, AcnFileSaveAs});
    file->addSeparator();
    file->addActions({AcnFileImport, AcnFileExport});
    file->addSeparator();
    file->addAction(AcnFileCompare);
    file->addSeparator();
    file->addAction(AcnFileProperties);
    file->addSeparator();
    file->addAction(AcnFileQuit);

    QMenu* edit = menuBar()->addMenu(LoadStr(StrMenuEdit));
    edit->setObjectName(QStringLiteral("MnuEdit"));
    edit->addActions({AcnEditUndo, AcnEditRedo});
    edit->addSeparator();
    edit->addActions({AcnEditCut, AcnEditCopy, AcnEditPaste});

    // The commands of the tool bar, for the keyboard.
    QMenu* project = menuBar()->addMenu(LoadStr(StrMenuProject));
    project->setObjectName(QStringLiteral("MnuProject"));
    project->addActions({AcnProjExampDisp, AcnProjExampleSelect});
    project->addSeparator();
    project->addActions({AcnProjTextReport, AcnProjTableReport});
    project->addSeparator();
    project->addActions({AcnProjSwotPicture, AcnProjTowsPicture, AcnProjStrategyPicture});

    QMenu* help = menuBar()->addMenu(LoadStr(StrMenuHelp));
    help->setObjectName(QStringLiteral("MnuHelp"));
    help->addActions({AcnHelpIndex, AcnDispLicence});
    help->addSeparator();
    help->addActions({AcnHelpWebPage, AcnHelpCustPage});
    help->addSeparator();
    help->addAction(AcnHelpAbout);
}

void TFrmMain::CreateToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("ToolBar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->toggleViewAction()->setVisible(false);
    bar->setFixedHeight(ToolBarHeight);
    bar->setIconSize(QSize(16, 16));
    bar->setStyleSheet(QStringLiteral("QToolBar#ToolBar1 { border-top: 1px solid palette(mid);"
                                      " border-bottom: 1px solid palette(mid); spacing: 2px; }"));
    addToolBar(Qt::TopToolBarArea, bar);

    const auto add = [bar](QAction* action, Qt::ToolButtonStyle style) {
        bar->addAction(action);
        if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action)))
            button->setToolButtonStyle(style);
    };
    for (QAction* action : {AcnFileNew, AcnFileOpen, AcnFileSave})
        add(action, Qt::ToolButtonIconOnly);
    bar->addSeparator();
    for (QAction* action : {AcnEditCut, AcnEditCopy, AcnEditPaste})
        add(action, Qt::ToolButtonIconOnly);
    bar->addSeparator();
    add(AcnProjExampDisp, Qt::ToolButtonTextBesideIcon);
    add(AcnProjExampleSelect, Qt::ToolButtonTextOnly);
    bar->addSeparator();
    add(AcnProjTextReport, Qt::ToolButtonTextOnly);
    add(AcnProjTableReport, Qt::ToolButtonTextOnly);

    auto* spacer = new QWidget(bar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    bar->addWidget(spacer);
    bar->addWidget(new TToolBarLogo(bar));
}

void TFrmMain::CreateStatusBar() {
    StatusPath = new QLabel(this);
    StatusPath->setObjectName(QStringLiteral("StatusPath"));
    StatusPath->setFixedWidth(StatusPathWidth);
    StatusPath->setAlignment(Qt::AlignCenter);
    StatusSpare = new QLabel(this);
    StatusSpare->setObjectName(QStringLiteral("StatusSpare"));
    StatusSpare->setFixedWidth(StatusSpareWidth);
    statusBar()->addWidget(StatusPath);
    statusBar()->addWidget(StatusSpare);
    // Notices stand beside the path, not over it, for as long as they hold.
    const auto notice = [this](const QString& name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        label->hide();
        statusBar()->addPermanentWidget(label, 1);
        return label;
    };
    // Until the work can be kept again.
    StatusRecovery = notice(QStringLiteral("StatusRecovery"));
    // Until the file is written again or another is shown.
    StatusDisk = notice(QStringLiteral("StatusDisk"));
}

void TFrmMain::SetSeam(std::unique_ptr<TModalSeam> seam) {
    FSeam = std::move(seam);
}

void TFrmMain::UpdateCommands() {
    const bool hasProject = FDocuments.Current() != nullptr;
    History->setActiveStack(FDocuments.Current());
    AcnFileSave->setEnabled(hasProject);
    AcnFileSaveAs->setEnabled(hasProject);
    AcnFileProperties->setEnabled(hasProject);
    AcnFileExport->setEnabled(hasProject);
    AcnFileCompare->setEnabled(hasProject);
    AcnProjExampDisp->setEnabled(hasProject && FDocuments.Example());
    AcnProjExampDisp->setText(
        LoadStr(FDocuments.ExampleShown() ? StrExampleBack : StrExampleDisplay));
    AcnProjExampDisp->setChecked(FDocuments.ExampleShown());
    AcnProjTextReport->setEnabled(hasProject);
    AcnProjTableReport->setEnabled(hasProject);
    AcnProjSwotPicture->setEnabled(hasProject);
    AcnProjTowsPicture->setEnabled(hasProject);
    AcnProjStrategyPicture->setEnabled(hasProject);
}

void TFrmMain::UpdateRecentMenu() {
    MnuRecent->clear();
    const QStringList& recent = FSettings.RecentProjects;
    for (qsizetype i = 0; i < recent.size(); ++i) {
        const QString& path = recent[i];
        // "&1 Plan.swot": the number is the key; an ampersand of the name stays one.
        QString name = FileNamePart(path);
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* open = MnuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        open->setToolTip(path);
        open->setStatusTip(path);
        connect(open, &QAction::triggered, this, [this, path] { OpenRecentProject(path); });
    }
    MnuRecent->setToolTipsVisible(true);
    MnuRecent->setEnabled(!recent.isEmpty());
}

bool TFrmMain::Try(const std::function<void()>& operation, const QString& context) {
    try {
        operation();
    } catch (...) {
        Seam().Error(this, context + ErrorMessage(std::current_exception()));
        return false;
    }
    return true;
}

void TFrmMain::TellWritten(const QString& path) {
    // The path stays in view a while, whichever program opens the file.
    statusBar()->showMessage(FillTemplate(LoadStr(StrFileWritten), path), 30000);
}

void TFrmMain::SetDocumentPath(const std::optional<QString>& path) {
    FDocuments.Rename(path);
    ShowDocumentName();
}

void TFrmMain::ShowDocumentName() {
    const auto& copyOf = FDocuments.CopyOf();
    const QString name = copyOf ? FillTemplate(LoadStr(StrReadOnlyCopy), *copyOf)
                                : FDocuments.DocumentPath().value_or(LoadStr(StrNewDocument));
    setWindowTitle(QStringLiteral("Merovan - ") + FileNamePart(name));
    const QFontMetrics metrics(StatusPath->font());
    const int room = StatusPath->width() - 8;
    StatusPath->setText(ShortenPath(
        name, room, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }));
}

bool TFrmMain::StartUp(const QStringList& arguments) {
    FSettings = TSettings::Read();
    UpdateRecentMenu();
    if (!QFileInfo(FSettings.ExampleFile).isFile())
        FSettings.ExampleFile = ReferenceTemplate();
    if (!Try([this] { FDocuments.LoadExample(ExampleOfInterfaceLanguage(FSettings.ExampleFile)); }))
        Seam().Error(this, LoadStr(StrExampleLoadFailed));
    FCouplingViewSettings = TCouplingViewSettings();

    if (OfferRecoveryCopies()) {
        if (!arguments.isEmpty())
            FollowAfterRecovery(arguments.front());
        return true;
    }
    if (arguments.isEmpty()) {
        switch (Seam().ExecDialog(*FrmStart)) {
        case TFrmStart::chNew:
            AcnFileNewExecute();
            return true;
        case TFrmStart::chOpen:
            if (!AcnFileOpenExecute())
                AcnFileNewExecute();
            return true;
        default:
            return false;
        }
    }
    const QString& first = arguments.front();
    if (first == QLatin1String("-n"))
        AcnFileNewExecute();
    else if (const QFileInfo file(first); !file.isFile() || !file.isReadable())
        statusBar()->showMessage(FillTemplate(LoadStr(file.isDir()    ? StrArgumentFolder
                                                      : file.exists() ? StrArgumentUnreadable
                                                                      : StrArgumentMissing),
                                              first));
    else
        OpenProject(file.absoluteFilePath());
    return true;
}

void TFrmMain::ShowWindow() {
    if (isVisible())
        return;
    if (FSettings.Geometry.isEmpty() || !restoreGeometry(FSettings.Geometry))
        showMaximized();
    else
        show();
    // A window manager would give it the keyboard; without one, nothing does.
    activateWindow();
}

void TFrmMain::ShowHelpTopic(int context) {
    // Asked from a dialog, the help opens beside it, to be read together.
    FrmHelp->ShowTopic(context, QApplication::activeModalWidget());
}

void TFrmMain::HelpKey() {
    const int context = InheritedHelpContext(QApplication::focusWidget());
    ShowHelpTopic(context ? context : HelpContext(this));
}

bool TFrmMain::CloseQuery() {
    ReturnFromExample();
    if (FWorkspace)
        FWorkspace->CommitView();
    if (!AskToKeepChanges())
        return false;
    if (FWorkspace) {
        if (!FWorkspace->CloseView())
            return false;
        delete FWorkspace;
    }
    return true;
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (CloseQuery()) {
        FDocuments.LetGo();
        FrmHelp->close();
        event->accept();
    } else
        event->ignore();
}

bool TFrmMain::EditFactor(TTOWSItem& factor, bool isNew) {
    return FrmTOWSItem->Edit(factor, isNew);
}

bool TFrmMain::EditGuideline(TGuideline& guideline, const TGuideline* original) {
    return FrmGuideline->Edit(guideline, original);
}

void TFrmMain::RebuildWorkspace() {
    if (FWorkspace) {
        FWorkspace->CloseView();
        delete FWorkspace;
    }
    auto* workspace = new TFraTOWS(*this, MainPanel);
    MainPanel->layout()->addWidget(workspace);
    FWorkspace = workspace;
    workspace->UpdateView();
}

bool TFrmMain::ReturnFromExample() {
    if (ExampleDisplayed())
        AcnProjExampDispExecute();
    return !ExampleDisplayed();
}

bool TFrmMain::AskToKeepChanges() {
    const TDocument* document = FDocuments.Current();
    if (!document || !document->Modified())
        return true;
    switch (Seam().Message(this, QMessageBox::Question, LoadStr(StrSaveChanges),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return SaveProject();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void TFrmMain::AcnFileNewExecute() {
    if (ReturnFromExample() && AskToKeepChanges() && Try([this] { FDocuments.New(); }))
        RebuildWorkspace();
}

bool TFrmMain::AcnFileOpenExecute() {
    if (!ReturnFromExample() || !AskToKeepChanges())
        return false;
    const auto path = FFiles.ProjectToOpen();
    return path && OpenProject(*path);
}

void TFrmMain::OpenRecentProject(const QString& path) {
    if (!ReturnFromExample() || !AskToKeepChanges())
        return;
    if (!QFileInfo(path).isFile()) {
        Seam().Error(this, FillTemplate(LoadStr(StrRecentMissing), path));
        FSettings.RecentProjects.removeAll(path);
        UpdateRecentMenu();
        return;
    }
    OpenProject(path);
}

bool TFrmMain::OpenProject(const QString& path) {
    if (const auto holder = FDocuments.InUseBy(path))
        return OpenProjectInUse(path, *holder);
    if (!Try([&] { FDocuments.Open(path); }))
        return false;
    RebuildWorkspace();
    RememberProject(path);
    return true;
}

void TFrmMain::RememberProject(const QString& path) {
    FSettings.RememberProject(path);
    UpdateRecentMenu();
}

bool TFrmMain::ReadyToSave() {
    return FDocuments.Current() && ReturnFromExample() && (!FWorkspace || FWorkspace->CommitView());
}

bool TFrmMain::SaveTo(const QString& path) {
    TWriteWay way = TWriteWay::Replaced;
    if (!Try([&] { way = FDocuments.Save(path); }, LoadStr(StrSaveFailed) + QStringLiteral("\n\n")))
        return false;
    RememberProject(path);
    if (way == TWriteWay::InPlace)
        statusBar()->showMessage(FillTemplate(LoadStr(StrWrittenInPlace), path), 30000);
    return true;
}

bool TFrmMain::SaveProject() {
    if (!ReadyToSave())
        return false;
    const auto path = FDocuments.DocumentPath();
    if (!path)
        return SaveProjectAs();
    switch (AskAboutFileChange(*path)) {
    case QMessageBox::Yes:
        break;
    case QMessageBox::No:
        return SaveProjectAs();
    default:
        return false;
    }
    // Recovered work older than the file replaces it only when the user says so.
    if (const auto saved = FDocuments.NewerFileSaved();
        saved && Seam().Message(this, QMessageBox::Question,
                                FillTemplate(LoadStr(StrRecoveredOverNewer), FileNamePart(*path),
                                             MomentText(*saved)),
                                QMessageBox::Yes | QMessageBox::Cancel) != QMessageBox::Yes)
        return false;
    return SaveTo(*path);
}

QMessageBox::StandardButton TFrmMain::AskAboutFileChange(const QString& path) {
    const TDiskChange change = FDocuments.FileChange();
    if (change == TDiskChange::None)
        return QMessageBox::Yes;
    const int question = change == TDiskChange::Gone ? StrSaveOverGone : StrSaveOverChange;
    return Seam().Message(this, QMessageBox::Warning, FillTemplate(LoadStr(question), path),
                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                          QMessageBox::Cancel);
}

void TFrmMain::TellChangedOnDisk(TDiskChange change) {
    const auto path = FDocuments.DocumentPath();
    if (!path || change == TDiskChange::None)
        return ShowNotice(StatusDisk, {});
    const int text = change == TDiskChange::Gone ? StrFileGoneFromDisk : StrFileChangedOnDisk;
    ShowNotice(StatusDisk, FillTemplate(LoadStr(text), FileNamePart(*path)));
}

bool TFrmMain::OpenProjectInUse(const QString& path, const TLockOwner& holder) {
    switch (Seam().Message(this, QMessageBox::Question,
                           FillTemplate(LoadStr(StrProjectInUse), path, LockOwnerText(holder)),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        if (!Try([&] { FDocuments.OpenCopy(path); }))
            return false;
        break;
    case QMessageBox::No:
        // The lock stays the other program's: it is the one to remove it.
        if (!Try([&] { FDocuments.Open(path); }))
            return false;
        break;
    default:
        return false;
    }
    RebuildWorkspace();
    RememberProject(path);
    return true;
}

bool TFrmMain::SaveProjectAs() {
    if (!ReadyToSave())
        return false;
    const auto path = FFiles.ProjectToSave();
    if (!path || !FFiles.Replaceable(*path, LoadStr(StrSaveFailed) + QStringLiteral("\n\n")))
        return false;
    if (QFileInfo::exists(*path)) {
        // A file another program has open is replaced only knowing who loses it.
        const auto holder = FDocuments.InUseBy(*path);
        const QString question =
            holder ? FillTemplate(LoadStr(StrReplaceInUse), *path, LockOwnerText(*holder))
                   : LoadStr(StrReplaceProject);
        if (Seam().Message(this, QMessageBox::Question, question,
                           QMessageBox::Yes | QMessageBox::Cancel) != QMessageBox::Yes)
            return false;
    }
    return SaveTo(*path);
}

void TFrmMain::AcnFilePropertiesExecute() {
    if (TDocument* document = FDocuments.Current())
        DlgProperties->Edit(*document);
}

void TFrmMain::AcnProjExampDispExecute() {
    if (FWorkspace && !FWorkspace->CommitView()) {
        AcnProjExampDisp->setChecked(ExampleDisplayed());
        return;
    }
    FDocuments.ShowExample(!ExampleDisplayed());
    if (FWorkspace)
        FWorkspace->UpdateView();
    UpdateCommands();
}

void TFrmMain::AcnProjExampleSelectExecute() {
    if (ReturnFromExample())
        Seam().ExecDialog(*DlgSelectExample);
}

bool TFrmMain::OfferRecoveryCopies() {
    TOrphanCopies found = FindOrphanCopies(RecoveryFolder());
    if (!found.Unreadable.empty())
        Seam().Message(this, QMessageBox::Warning, UnreadableCopiesText(found.Unreadable),
                       QMessageBox::Ok);
    bool recovered = false;
    for (TOrphanCopy& orphan : found.Readable) {
        // Deleting work takes a button without an access key, whose caption
        // says it deletes: a stray key press at start-up keeps the copy.
        const auto answer = Seam().Message(
            this, QMessageBox::Question, RecoveryOffer(orphan),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Discard, QMessageBox::NoButton,
            {{QMessageBox::Discard, LoadStr(StrDeleteForGood)}});
        if (answer == QMessageBox::Discard)
            orphan.Discard();
        if (answer != QMessageBox::Yes)
            continue;
        if (recovered && !SetRecoveredAside(StrRecoveredBeforeRecovering,
                                            RecoveredName(orphan.Project().Title, orphan.Origin())))
            continue;
        FDocuments.Recover(std::move(orphan));
        RebuildWorkspace();
        recovered = true;
    }
    return recovered;
}

void TFrmMain::FollowAfterRecovery(const QString& argument) {
    const bool isNew = argument == QLatin1String("-n");
    const QFileInfo file(argument);
    if (!isNew && !file.isFile())
        return;
    const auto recovered = FDocuments.DocumentPath();
    if (!isNew && recovered && QFileInfo(*recovered) == file)
        return;
    if (isNew ? !SetRecoveredAside(StrRecoveredBeforeNew)
              : !SetRecoveredAside(StrRecoveredBeforeOpening, file.fileName()))
        return;
    if (!isNew)
        OpenProject(file.absoluteFilePath());
    else if (Try([this] { FDocuments.New(); }))
        RebuildWorkspace();
}

bool TFrmMain::SetRecoveredAside(int questionId, const QString& next) {
    const TDocument* document = FDocuments.UserDocument();
    if (!document || !document->Modified())
        return true;
    // The recovered project is in view behind the question about it.
    ShowWindow();
    const QString question = FillTemplate(
        LoadStr(questionId), RecoveredName(document->Project().Title, document->Path()), next);
    switch (Seam().Message(this, QMessageBox::Question, question,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return SaveProject();
    case QMessageBox::No:
        FDocuments.KeepForNextStart();
        return true;
    default:
        return false;
    }
}

void TFrmMain::ShowRecoveryProblem(const QString& problem) {
    ShowNotice(StatusRecovery, problem);
}

void TFrmMain::AcnFileImportExecute() {
    if (!ReturnFromExample() || !AskToKeepChanges())
        return;
    const auto path = FFiles.FileToOpen(
        {LoadStr(StrInterchangeFilter), LoadStr(StrJsonFilter), LoadStr(StrCsvFilter)});
    QStringList remarks;
    if (!path || !Try([&] { remarks = FDocuments.Import(*path); }))
        return;
    RebuildWorkspace();
    if (!remarks.isEmpty())
        Seam().Message(this, QMessageBox::Information,
                       LoadStr(StrImportRemarks) + QStringLiteral("\n\n") +
                           remarks.join(QLatin1Char('\n')),
                       QMessageBox::Ok);
}

void TFrmMain::AcnFileExportExecute() {
    const auto path = FFiles.FileToWrite({LoadStr(StrJsonFilter), LoadStr(StrCsvFilter)},
                                         {QStringLiteral("json"), QStringLiteral("csv")},
                                         FExportFilter, StrReplaceProject);
    if (path && Try([&] { FDocuments.Export(*path); }))
        TellWritten(*path);
}

void TFrmMain::AcnFileCompareExecute() {
    if (!FDocuments.Current())
        return;
    const auto path = FFiles.ProjectToOpen(StrCompareWith);
    std::function<TComparison(bool)> compare;
    if (!path || !Try([&] { compare = FDocuments.CompareWith(*path); }))
        return;
    DlgCompare->Compare = std::move(compare);
    DlgCompare->ShowComparison();
    Seam().ExecDialog(*DlgCompare);
    DlgCompare->Compare = {};
}

void TFrmMain::SavePictureAs(const TReportJob::TPictureDrawing& draw) {
    if (!FDocuments.Current() || FDocuments.Reporting())
        return;
    const auto path =
        FFiles.FileToWrite({LoadStr(StrSvgFilter), LoadStr(StrPngFilter)},
                           {QStringLiteral("svg"), QStringLiteral("png")}, FPictureFilter);
    if (path)
        RunJob(FDocuments.NewPicture(draw, *path), StrPictureBeingDrawn, StrPictureInterrupted);
}

void TFrmMain::RunReport(TReportKind kind) {
    // One report at a time; its dialog keeps the window from input meanwhile.
    if (!FDocuments.Current() || FDocuments.Reporting())
        return;
    const TReportKindInfo& info = ReportInfo(kind);
    const auto chosen = FFiles.ReportToWrite(info.Filters, FSettings.ReportFormat);
    if (!chosen)
        return;
    FSettings.ReportFormat =
        std::clamp(chosen->second, 1, static_cast<int>(info.Extensions.size()));
    // The extension typed chooses the format; a name without one of the
    // report's gets the selected type's.
    QString path = chosen->first;
    int format = ReportFormatOf(kind, path);
    if (format == 0) {
        format = FSettings.ReportFormat;
        path += QLatin1Char('.') + info.Extensions[format - 1];
    }
    if (!FFiles.MayWrite(path))
        return;

    RunJob(FDocuments.NewReport(kind, path, format), StrReportBeingMade, StrReportInterrupted);
}

void TFrmMain::RunJob(TReportJob* job, int beingMade, int interrupted) {
    // The window stays responsive while the job works on a copy of the project.
    connect(job, &TReportJob::StageReached, DlgWaitReport, &TDlgWaitReport::SetStatus);
    connect(DlgWaitReport, &TDlgWaitReport::CancelRequested, job, &TReportJob::Cancel);
    // The dialog goes before the user is told anything.
    connect(job, &TReportJob::Written, this, [this](const QString& written) {
        DlgWaitReport->SetStatus(StrReportDone);
        DlgWaitReport->Finish();
        TellWritten(written);
        Seam().OpenDocument(written);
    });
    connect(job, &TReportJob::Failed, this, [this](const QString& message) {
        DlgWaitReport->Finish();
        Seam().Error(this, message);
    });
    connect(job, &TReportJob::Cancelled, this, [this, interrupted] {
        DlgWaitReport->Finish();
        statusBar()->showMessage(LoadStr(interrupted), 30000);
    });
    DlgWaitReport->Begin(beingMade);
    job->Start();
}
