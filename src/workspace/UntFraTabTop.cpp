#include "workspace/UntFraTabTop.h"

#include "model/UntStrings.h"
#include "workspace/UntElidedLabel.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntScreenLook.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>
#include <QVBoxLayout>

TFraTabTop::TFraTabTop(TMainHost& host, QWidget* parent) : QFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("FraTabTop"));
    setFixedHeight(24);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 3);
    outer->setSpacing(0);
    auto* row = new QHBoxLayout;
    row->setSpacing(2);
    outer->addLayout(row);

    QFrame* panel4 = NewTitleBand(this, &LbTitle);
    auto* band = static_cast<QHBoxLayout*>(panel4->layout());

    // The status area: three exclusive buttons.
    Panel1 = new QFrame(panel4);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* status = new QHBoxLayout(Panel1);
    status->setContentsMargins(0, 0, 0, 0);
    status->setSpacing(0);
    FStatusGroup = new QButtonGroup(this);
    FStatusGroup->setExclusive(true);
    const struct {
        const char* name;
        const char* icon;
        const char* hint;
    } statuses[] = {{"BtNew", ":/icons/status-new.svg", "Non commencé"},
                    {"BtSeen", ":/icons/status-seen.svg", "En cours"},
                    {"BtOk", ":/icons/status-done.svg", "Terminé"}};
    for (int i = 0; i < 3; ++i) {
        auto* button = new QToolButton(Panel1);
        button->setObjectName(QLatin1String(statuses[i].name));
        button->setIcon(QIcon(QLatin1String(statuses[i].icon)));
        button->setIconSize(QSize(12, 12));
        button->setToolTip(QString::fromUtf8(statuses[i].hint));
        button->setCheckable(true);
        button->setAutoRaise(true);
        button->setFixedSize(23, 22);
        FStatusGroup->addButton(button, i);
        status->addWidget(button);
        connect(button, &QToolButton::clicked, this, &TFraTabTop::StatusClicked);
    }
    FStatusGroup->button(0)->setChecked(true);
    band->addWidget(Panel1);
    row->addWidget(panel4, 1);

    QFont buttonFont = font();
    buttonFont.setBold(true);
    buttonFont.setPixelSize(13);
    BtProps = new QToolButton(this);
    BtProps->setObjectName(QStringLiteral("BtProps"));
    BtProps->setText(QStringLiteral("..."));
    BtProps->setMinimumSize(75, 22);
    BtProps->setFont(buttonFont);
    BtHelp = new QToolButton(this);
    BtHelp->setObjectName(QStringLiteral("BtHelp"));
    BtHelp->setText(LoadStr(StrHelp));
    BtHelp->setToolTip(QStringLiteral("Aide contextuelle"));
    BtHelp->setMinimumSize(50, 22);
    BtHelp->setFont(buttonFont);
    row->addWidget(BtProps);
    row->addWidget(BtHelp);

    connect(BtHelp, &QToolButton::clicked, this, &TFraTabTop::BtHelpClick);
    connect(BtProps, &QToolButton::clicked, this, [this] {
        if (!BtProps->defaultAction())
            BtHelpClick();
    });
}

QString TFraTabTop::Title() const {
    return LbTitle->FullText();
}

void TFraTabTop::SetTitle(const QString& title) {
    LbTitle->SetFullText(title);
}

bool TFraTabTop::ShowStatus() const {
    return !Panel1->isHidden();
}

void TFraTabTop::SetShowStatus(bool show) {
    Panel1->setHidden(!show);
}

void TFraTabTop::SetStatus(int status) {
    FStatus = status;
    if (QAbstractButton* button = FStatusGroup->button(status))
        button->setChecked(true);
}

void TFraTabTop::BindProps(QAction* action) {
    BtProps->setDefaultAction(action);
    BtProps->setToolButtonStyle(Qt::ToolButtonTextOnly);
}

void TFraTabTop::BtHelpClick() {
    FHost.ShowHelpTopic(InheritedHelpContext(parentWidget()));
}
