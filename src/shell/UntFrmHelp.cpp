#include "shell/UntFrmHelp.h"

#include "model/UntStrings.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntHelpContext.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

TFrmHelp::TFrmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FrmHelp"));
    setWindowTitle(LoadStr(StrHelpTitle));
    resize(720, 560);

    FBrowser = new QTextBrowser(this);
    FBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    // Pages of the help open here; a link out goes to whoever shows the window.
    FBrowser->setOpenLinks(false);
    connect(FBrowser, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        const QUrl target = FBrowser->source().resolved(link);
        if (target.isLocalFile())
            FBrowser->setSource(target);
        else
            emit ExternalLinkClicked(target);
    });

    auto* bar = new QToolBar(this);
    QAction* back = bar->addAction(LoadStr(StrHelpBack), FBrowser, &QTextBrowser::backward);
    QAction* forward = bar->addAction(LoadStr(StrHelpForward), FBrowser, &QTextBrowser::forward);
    bar->addAction(LoadStr(StrHelpContents), this, [this] { ShowTopic(0); });
    QAction* close = bar->addAction(LoadStr(StrHelpClose), this, &QWidget::close);
    close->setObjectName(QStringLiteral("AcnHelpClose"));
    back->setShortcut(QKeySequence::Back);
    forward->setShortcut(QKeySequence::Forward);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(FBrowser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(FBrowser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(FBrowser, 1);
}

void TFrmHelp::keyPressEvent(QKeyEvent* event) {
    // The page passes on the keys it does not use; Escape closes, as in a dialog.
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}

QString TFrmHelp::TopicPage(int context) {
    switch (context) {
    case hcMainWindow:
        return QStringLiteral("main.htm");
    case hcWorkspace:
        return QStringLiteral("workspace.htm");
    case hcFactor:
        return QStringLiteral("factor.htm");
    case hcConclusion:
        return QStringLiteral("conclusion.htm");
    default:
        return QStringLiteral("index.htm");
    }
}

void TFrmHelp::ShowTopic(int context) {
    ShowPage(LocalizedFile(QStringLiteral("help/") + TopicPage(context)));
}

void TFrmHelp::ShowPage(const QString& path) {
    // The pages of every language share one style sheet, which the browser does
    // not load from links.
    QFile css(ProgramFolder() + QStringLiteral("help/help.css"));
    if (css.open(QIODevice::ReadOnly))
        FBrowser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
    FBrowser->setSource(QUrl::fromLocalFile(path));
    show();
    raise();
    activateWindow();
}
