#include "UnitFrmMain.h"

#include "UntDataModule.h"
#include "UntEditCommands.h"
#include "UntFrmStart.h"
#include "UntModalSeam.h"
#include "UntModelFrame.h"
#include "UntShortenPath.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int StatusPathWidth = 300;
constexpr int StatusSpareWidth = 50;
constexpr int ToolBarHeight = 28;

} // namespace

TFrmMain::TFrmMain(QWidget* parent) : QMainWindow(parent), FSeam(std::make_unique<TModalSeam>()) {
    setObjectName(QStringLiteral("FrmMain"));
    resize(790, 556);
    // The run's private folder for working files exists from here to the exit.
    WorkFolder();

    MainPanel = new QFrame(this);
    MainPanel->setObjectName(QStringLiteral("MainPanel"));
    MainPanel->setFrameStyle(QFrame::Box | QFrame::Plain);
    auto* panelLayout = new QVBoxLayout(MainPanel);
    panelLayout->setContentsMargins(3, 3, 3, 3);
    setCentralWidget(MainPanel);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    UpdateCommands();

    FrmStart = new TFrmStart(this);
}

TFrmMain::~TFrmMain() {
    delete Workspace;
}

QAction* TFrmMain::AddAction(const char* name, const QString& caption, int shortcutId) {
    auto* action = new QAction(caption, this);
    action->setObjectName(QLatin1String(name));
    if (shortcutId != 0)
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+") + LoadStr(shortcutId).left(1)));
    return action;
}

void TFrmMain::CreateActions() {
    AcnFileNew = AddAction("AcnFileNew", LoadStr(111), 151);
    AcnFileOpen = AddAction("AcnFileOpen", LoadStr(112), 152);
    AcnFileSave = AddAction("AcnFileSave", LoadStr(113), 153);
    AcnFileSaveAs = AddAction("AcnFileSaveAs", LoadStr(114));
    AcnFileProperties = AddAction("AcnFileProperties", LoadStr(115));
    AcnFileQuit = AddAction("AcnFileQuit", LoadStr(116), 156);
    AcnEditCut = AddAction("AcnEditCut", LoadStr(121), 161);
    AcnEditCopy = AddAction("AcnEditCopy", LoadStr(122), 162);
    AcnEditPaste = AddAction("AcnEditPaste", LoadStr(123), 163);
    AcnHelpIndex = AddAction("AcnHelpIndex", LoadStr(131));
    AcnDispLicence = AddAction("AcnDispLicence", LoadStr(135));
    AcnHelpWebPage = AddAction("AcnHelpWebPage", ProductStr(132));
    AcnHelpCustPage = AddAction("AcnHelpCustPage", LoadStr(133));
    AcnHelpAbout = AddAction("AcnHelpAbout", ProductStr(134));
    AcnProjExampDisp = AddAction("AcnProjExampDisp", LoadStr(1020));
    AcnProjExampleSelect = AddAction("AcnProjExampleSelect", LoadStr(1022));
    AcnProjTextReport = AddAction("AcnProjTextReport", LoadStr(1023));
    AcnProjTableReport = AddAction("AcnProjTableReport", LoadStr(1024));

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

    connect(AcnFileQuit, &QAction::triggered, this, &QWidget::close);
    new TEditCommands(AcnEditCut, AcnEditCopy, AcnEditPaste, this);
}

void TFrmMain::CreateMenus() {
    QMenu* file = menuBar()->addMenu(LoadStr(110));
    file->setObjectName(QStringLiteral("MnuFile"));
    file->addActions({AcnFileNew, AcnFileOpen, AcnFileSave, AcnFileSaveAs});
    file->addSeparator();
    file->addAction(AcnFileProperties);
    file->addSeparator();
    file->addAction(AcnFileQuit);

    QMenu* edit = menuBar()->addMenu(LoadStr(120));
    edit->setObjectName(QStringLiteral("MnuEdit"));
    edit->addActions({AcnEditCut, AcnEditCopy, AcnEditPaste});

    QMenu* help = menuBar()->addMenu(LoadStr(130));
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
    const bool hasProject = CurrentProject != nullptr;
    for (QAction* action : {AcnFileSave, AcnFileSaveAs, AcnFileProperties, AcnProjExampDisp,
                            AcnProjTextReport, AcnProjTableReport})
        action->setEnabled(hasProject);
}

bool TFrmMain::StartUp(const QStringList& arguments) {
    if (arguments.isEmpty())
        return Seam().ExecDialog(*FrmStart) != TFrmStart::chQuit;
    return true;
}

void TFrmMain::SetDocumentName(const QString& name) {
    if (CurrentProject)
        CurrentProject->FileName = name;
    CurrentFileName = name;
    setWindowTitle(QStringLiteral("Merovan - ") + FileNamePart(name));
    const QFontMetrics metrics(font());
    const int room = StatusPath->width() - 2 * StatusPath->margin() - 8;
    StatusPath->setText(ShortenPath(
        name, room, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }));
}

bool TFrmMain::CloseQuery() {
    if (Workspace)
        Workspace->CommitView();
    if (Workspace) {
        if (!Workspace->CloseView())
            return false;
        delete Workspace;
    }
    return true;
}

void TFrmMain::closeEvent(QCloseEvent* event) {
    if (CloseQuery())
        event->accept();
    else
        event->ignore();
}
