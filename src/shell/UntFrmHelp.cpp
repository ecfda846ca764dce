#include "shell/UntFrmHelp.h"

#include "model/UntStrings.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntHelpContext.h"

#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QScreen>
#include <QTextBrowser>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

TFrmHelp::TFrmHelp(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FrmHelp"));
    setWindowTitle(LoadStr(StrHelpTitle));
    // Closing the main window ends the program, help open or not.
    setAttribute(Qt::WA_QuitOnClose, false);
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

void TFrmHelp::ShowTopic(int context, const QWidget* beside) {
    ShowPage(LocalizedFile(QStringLiteral("help/") + TopicPage(context)), beside);
}

namespace {

QMargins FrameMargins(const QWidget& window) {
    const QRect inner = window.geometry();
    const QRect outer = window.frameGeometry();
    return {inner.left() - outer.left(), inner.top() - outer.top(), outer.right() - inner.right(),
            outer.bottom() - inner.bottom()};
}

} // namespace

void TFrmHelp::PlaceBeside(const QWidget& other) {
    const QRect screen = other.screen()->availableGeometry();
    const QRect taken = other.frameGeometry();
    // A window never shown has no frame yet: the other window's, drawn by the
    // same window manager, stands for the one it will have.
    const QMargins own = FrameMargins(*this);
    const QMargins frame = own.isNull() ? FrameMargins(other) : own;
    // The wider side of the screen, the window narrowed to it if need be.
    const int rightRoom = screen.right() - taken.right();
    const int leftRoom = taken.left() - screen.left();
    const int room = std::max(rightRoom, leftRoom) - frame.left() - frame.right();
    const int width = std::min(std::clamp(room, std::min(320, sizeHint().width()), 720),
                               screen.width() - frame.left() - frame.right());
    const int height = std::min(560, screen.height() - frame.top() - frame.bottom());
    resize(width, height);
    const int beside = rightRoom >= leftRoom ? taken.right() + 1 + frame.left()
                                             : taken.left() - frame.right() - width;
    // Where there is no room beside, it overlaps rather than leave the screen.
    const int left = std::clamp(beside, screen.left() + frame.left(),
                                screen.right() - frame.right() - width + 1);
    const int top = std::clamp(taken.top() + frame.top(), screen.top() + frame.top(),
                               screen.bottom() - frame.bottom() - height + 1);
    move(left - frame.left(), top - frame.top());
}

void TFrmHelp::ShowPage(const QString& path, const QWidget* beside) {
    // The pages of every language share one style sheet, which the browser does
    // not load from links.
    QFile css(ProgramFolder() + QStringLiteral("help/help.css"));
    if (css.open(QIODevice::ReadOnly))
        FBrowser->document()->setDefaultStyleSheet(QString::fromUtf8(css.readAll()));
    FBrowser->setSource(QUrl::fromLocalFile(path));
    if (beside)
        PlaceBeside(*beside);
    show();
    raise();
    activateWindow();
}
