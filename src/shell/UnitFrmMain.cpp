#include "UnitFrmMain.h"

#include "UntApplication.h"
#include "UntDataModule.h"
#include "UntDlgAbout.h"
#include "UntDlgProperties.h"
#include "UntDlgWaitReport.h"
#include "UntEditCommands.h"
#include "UntFraTOWS.h"
#include "UntFrmGuideline.h"
#include "UntFrmHelp.h"
#include "UntFrmStart.h"
#include "UntFrmTOWSItem.h"
#include "UntHelpContext.h"
#include "UntIniFile.h"
#include "UntModalSeam.h"
#include "UntProgramFolder.h"
#include "UntRecovery.h"
#include "UntSelectExample.h"
#include "UntStrings.h"
#include "UntUtils.h"
#include "UntWebLinks.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUndoGroup>
#include <QVBoxLayout>

namespace {

constexpr int StatusPathWidth = 300;
constexpr int StatusSpareWidth = 50;
constexpr int ToolBarHeight = 28;
// How long a change may wait before the recovery copy holds it.
constexpr int RecoveryDelay = 1000;

QString SettingsPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/merovan.ini");
}

} // namespace

TFrmMain::TFrmMain(QWidget* parent)
    : QMainWindow(parent), FSeam(std::make_unique<TModalSeam>()),
      FRecoveryCopy(std::make_unique<TRecoveryCopy>(RecoveryFolder())) {
    setObjectName(QStringLiteral("FrmMain"));
    SetHelpContext(this, hcMainWindow);
    resize(790, 556);
    // The run's private folder for working files exists from here to the exit.
    WorkFolder();

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
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &TFrmMain::HelpKey);

    FrmStart = new TFrmStart(this);
    FrmTOWSItem = new TFrmTOWSItem(*this, this);
    DlgAbout = new TDlgAbout(*this, this);
    DlgSelectExample = new TDlgSelectExample(*this, this);
    DlgWaitReport = new TDlgWaitReport(this);
    DlgSelectExample->LoadExample = [this](const QString& path) {
        if (!ReadProject(FExample, path))
            return false;
        FExampleFile = path;
        UpdateCommands();
        return true;
    };
    FrmGuideline = new TFrmGuideline(*this, this);
    DlgProperties = new TDlgProperties(*this, this);
    FrmHelp = new TFrmHelp(this);
    connect(FrmHelp, &TFrmHelp::ExternalLinkClicked, this,
            [this](const QUrl& address) { Seam().OpenWebPage(address.toString()); });
    RecoveryTimer = new QTimer(this);
    RecoveryTimer->setInterval(RecoveryDelay);
    connect(RecoveryTimer, &QTimer::timeout, this, &TFrmMain::KeepRecoveryCopy);
    RecoveryTimer->start();
    // An error that reaches the event loop is shown over this window; the
    // project stays as it is.
    TApplication::SetErrorHandler([this](const QString& message) {
        QWidget* modal = QApplication::activeModalWidget();
        Seam().Error(modal ? modal : this, message);
    });
}

TFrmMain::~TFrmMain() {
    TApplication::SetErrorHandler({});
    delete FWorkspace;
    WriteSettings();
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
    connect(AcnFileSave, &QAction::triggered, this, &TFrmMain::SaveProject);
    connect(AcnFileSaveAs, &QAction::triggered, this, &TFrmMain::SaveProjectAs);
    connect(AcnFileProperties, &QAction::triggered, this, &TFrmMain::AcnFilePropertiesExecute);
    connect(AcnFileImport, &QAction::triggered, this, &TFrmMain::AcnFileImportExecute);
    connect(AcnFileExport, &QAction::triggered, this, &TFrmMain::AcnFileExportExecute);
    connect(AcnFileQuit, &QAction::triggered, this, &QWidget::close);
    connect(AcnProjTextReport, &QAction::triggered, this, [this] { RunReport(TReportKind::Text); });
    connect(AcnProjTableReport, &QAction::triggered, this,
            [this] { RunReport(TReportKind::Table); });
    connect(AcnProjSwotPicture, &QAction::triggered, this,
            [this] { SavePictureAs(TPictureKind::Swot); });
    connect(AcnProjTowsPicture, &QAction::triggered, this,
            [this] { SavePictureAs(TPictureKind::Tows); });
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
    project->addActions({AcnProjSwotPicture, AcnProjTowsPicture});

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
    auto* logo = new QLabel(bar);
    logo->setObjectName(QStringLiteral("ToolBarLogo"));
    logo->setPixmap(QPixmap(QStringLiteral(":/images/toolbarlogo.png")));
    bar->addWidget(logo);
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
}

void TFrmMain::SetSeam(std::unique_ptr<TModalSeam> seam) {
    FSeam = std::move(seam);
}

void TFrmMain::UpdateCommands() {
    const bool hasProject = FCurrent != nullptr;
    History->setActiveStack(FCurrent.get());
    AcnFileSave->setEnabled(hasProject);
    AcnFileSaveAs->setEnabled(hasProject);
    AcnFileProperties->setEnabled(hasProject);
    AcnFileExport->setEnabled(hasProject);
    AcnProjExampDisp->setEnabled(hasProject && (FExample || ExampleDisplayed()));
    AcnProjTextReport->setEnabled(hasProject);
    AcnProjTableReport->setEnabled(hasProject);
    AcnProjSwotPicture->setEnabled(hasProject);
    AcnProjTowsPicture->setEnabled(hasProject);
}

void TFrmMain::ReadSettings() {
    const TIniFile settings(SettingsPath());
    FExampleFile =
        settings.ReadString(QStringLiteral("Configuration"), QStringLiteral("ExampleFile"));
    bool isNumber = false;
    const int format = settings
                           .ReadString(QStringLiteral("Configuration"),
                                       QStringLiteral("DefaultOfficeFormat"), QStringLiteral("1"))
                           .toInt(&isNumber);
    // A damaged value must not stop the start-up: the first format serves.
    FReportFormat =
        isNumber && format >= 1 && format <= ReportInfo(TReportKind::Text).Extensions.size()
            ? format
            : 1;
    FRecent1 = settings.ReadString(QStringLiteral("Recent"), QStringLiteral("Recent1"));

    FRecentProjects.clear();
    for (int number = 1; number <= MaxRecentProjects; ++number) {
        const QString path = settings.ReadString(QStringLiteral("RecentProjects"),
                                                 QStringLiteral("File%1").arg(number));
        if (!path.isEmpty())
            FRecentProjects << path;
    }
    UpdateRecentMenu();
    FLastFolder = settings.ReadString(QStringLiteral("Folders"), QStringLiteral("Last"));
    FGeometry = QByteArray::fromBase64(
        settings.ReadString(QStringLiteral("Window"), QStringLiteral("Geometry")).toLatin1());
    const double ratio = settings.ReadString(QStringLiteral("Window"), QStringLiteral("SplitRatio"))
                             .toDouble(&isNumber);
    FSplitRatio = isNumber && ratio >= 0.1 && ratio <= 0.9 ? ratio : 0.66;
}

void TFrmMain::WriteSettings() const {
    TIniFile settings(SettingsPath());
    settings.WriteString(QStringLiteral("Configuration"), QStringLiteral("ExampleFile"),
                         FExampleFile);
    settings.WriteString(QStringLiteral("Configuration"), QStringLiteral("DefaultOfficeFormat"),
                         QString::number(FReportFormat));
    settings.WriteString(QStringLiteral("Recent"), QStringLiteral("Recent1"), FRecent1);
    for (int number = 1; number <= MaxRecentProjects; ++number)
        settings.WriteString(QStringLiteral("RecentProjects"), QStringLiteral("File%1").arg(number),
                             FRecentProjects.value(number - 1));
    settings.WriteString(QStringLiteral("Folders"), QStringLiteral("Last"), FLastFolder);
    settings.WriteString(QStringLiteral("Window"), QStringLiteral("Geometry"),
                         QString::fromLatin1(saveGeometry().toBase64()));
    settings.WriteString(QStringLiteral("Window"), QStringLiteral("SplitRatio"),
                         QString::number(FSplitRatio));
    try {
        settings.Save();
    } catch (const EStorageError& error) {
        // The window is going away: there is nobody left to tell but the log.
        qWarning("merovan: the settings were not saved: %s", error.what());
    }
}

bool TFrmMain::StartUp(const QStringList& arguments) {
    ReadSettings();
    if (!QFileInfo(FExampleFile).isFile())
        FExampleFile = ReferenceTemplate();
    if (!ReadProject(FExample, FExampleFile))
        Seam().Error(this, LoadStr(StrExampleLoadFailed));
    UpdateCommands();
    FCouplingViewSettings = TCouplingViewSettings();

    const bool recovered = OfferRecoveryCopies();
    if (arguments.isEmpty() && recovered)
        return true;
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
    if (first == QLatin1String("-n")) {
        AcnFileNewExecute();
    } else if (QFileInfo(first).isFile() && AskToKeepChanges()) {
        const QString path = QFileInfo(first).absoluteFilePath();
        if (ReadProject(FCurrent, path))
            ShowOpenedProject(path);
    }
    return true;
}

void TFrmMain::ShowWindow() {
    if (FGeometry.isEmpty() || !restoreGeometry(FGeometry))
        showMaximized();
    else
        show();
}

void TFrmMain::ShowHelpTopic(int context) {
    FrmHelp->ShowTopic(context);
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
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}

bool TFrmMain::EditFactor(TTOWSItem& factor, bool isNew) {
    return FrmTOWSItem->Edit(factor, isNew);
}

bool TFrmMain::EditGuideline(TGuideline& guideline, const TGuideline* original) {
    return FrmGuideline->Edit(guideline, original);
}

void TFrmMain::AcnFilePropertiesExecute() {
    if (FCurrent)
        DlgProperties->Edit(*FCurrent);
}
