#include "workspace/UntMPDialog.h"

#include "model/UntStrings.h"
#include "workspace/UntElidedLabel.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntScreenLook.h"

#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TMPDialog::TMPDialog(TMainHost& host, int helpContext, QWidget* parent)
    : QDialog(parent), Host(host) {
    SetHelpContext(this, helpContext);
    resize(424, 379);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(0);

    // The title band.
    QFrame* pnlTitle = NewTitleBand(this, &LbTitle);
    pnlTitle->setObjectName(QStringLiteral("PnlTitle"));
    pnlTitle->setFixedHeight(23);
    layout->addWidget(pnlTitle);
    layout->addSpacing(3);

    FBody = new QWidget(this);
    FBody->setObjectName(QStringLiteral("Body"));
    FBodyLayout = new QVBoxLayout(FBody);
    FBodyLayout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FBody, 1);

    // The button band.
    layout->addSpacing(3);
    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(5);
    BtHelp = new QPushButton(LoadStr(StrHelp), this);
    BtHelp->setObjectName(QStringLiteral("BtHelp"));
    BtHelp->setAutoDefault(false);
    BtOk = new QPushButton(LoadStr(StrOk), this);
    BtOk->setObjectName(QStringLiteral("BtOk"));
    BtOk->setDefault(true);
    BtCancel = new QPushButton(LoadStr(StrCancel), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    BtCancel->setAutoDefault(false);
    for (QPushButton* button : {BtHelp.data(), BtOk, BtCancel})
        button->setFixedSize(75, 25);
    bottom->addWidget(BtHelp);
    bottom->addStretch(1);
    bottom->addWidget(BtOk);
    bottom->addWidget(BtCancel);
    layout->addLayout(bottom);

    connect(BtCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtHelp, &QPushButton::clicked, this, &TMPDialog::BtHelpClick);
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &TMPDialog::BtHelpClick);
    if (helpContext == hcNone)
        delete BtHelp;

    SetTitle(QStringLiteral("Title"));
}

void TMPDialog::SetTitle(const QString& title) {
    setWindowTitle(title);
    LbTitle->SetFullText(title);
}

void TMPDialog::showEvent(QShowEvent* event) {
    // The captions are all in place once the dialog shows.
    AssignAccessKeys(this);
    // The buttons were made before the content: Tab reaches them after it.
    if (const QList<QWidget*> content = FocusChain(FBody); !content.isEmpty()) {
        QList<QWidget*> order{content.last()};
        if (BtHelp)
            order << BtHelp;
        SetTabOrder(order << BtOk << BtCancel);
    }
    QDialog::showEvent(event);
}

void TMPDialog::BtHelpClick() {
    if (const int context = HelpContext(this))
        Host.ShowHelpTopic(context);
}
