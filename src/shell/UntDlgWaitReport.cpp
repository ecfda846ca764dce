#include "UntDlgWaitReport.h"

#include "UntStrings.h"

#include <QLabel>
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
    BtClose = new QPushButton(QStringLiteral("Fermer"), this);
    BtClose->setObjectName(QStringLiteral("BtClose"));
    BtClose->setDefault(true);
    layout->addWidget(LbStatus);
    layout->addWidget(BtClose, 0, Qt::AlignRight);
    connect(BtClose, &QPushButton::clicked, this, &QDialog::close);
}

void TDlgWaitReport::SetStatus(int id) {
    LbStatus->setText(LoadStr(id));
}

void TDlgWaitReport::EnableClose(bool enabled) {
    BtClose->setEnabled(enabled);
}
