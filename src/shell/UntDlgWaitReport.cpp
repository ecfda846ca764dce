#include "shell/UntDlgWaitReport.h"

#include "model/UntStrings.h"
#include "workspace/UntKeyboard.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TDlgWaitReport::TDlgWaitReport(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("DlgWaitReport"));
    setWindowTitle(QStringLiteral("Traitement en cours"));
    setFixedSize(258, 103);
    auto* layout = new QVBoxLayout(this);
    LbStatus = new QLabel(this);
    LbStatus->setObjectName(QStringLiteral("LbStatus"));
    LbStatus->setAlignment(Qt::AlignCenter);
    LbStatus->setWordWrap(true);
    LbStatus->setFixedHeight(57);
    // The stages take unknown times: the bar only shows that work goes on.
    auto* busy = new QProgressBar(this);
    busy->setObjectName(QStringLiteral("PbBusy"));
    busy->setRange(0, 0);
    busy->setTextVisible(false);
    BtCancel = new QPushButton(LoadStr(StrCancel), this);
    BtCancel->setObjectName(QStringLiteral("BtCancel"));
    BtCancel->setDefault(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(busy, 1);
    bottom->addWidget(BtCancel);
    layout->addWidget(LbStatus);
    layout->addLayout(bottom);
    connect(BtCancel, &QPushButton::clicked, this, &TDlgWaitReport::reject);
    AssignAccessKeys(this);
}

void TDlgWaitReport::Begin(int statusId) {
    SetStatus(statusId);
    BtCancel->setEnabled(true);
    open();
}

void TDlgWaitReport::SetStatus(int id) {
    LbStatus->setText(LoadStr(id));
}

void TDlgWaitReport::Finish() {
    done(Accepted);
}

void TDlgWaitReport::reject() {
    if (!BtCancel->isEnabled())
        return;
    BtCancel->setEnabled(false);
    emit CancelRequested();
}
