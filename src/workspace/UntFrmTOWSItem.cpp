#include "workspace/UntFrmTOWSItem.h"

#include "model/UntClassProject.h"
#include "model/UntStrings.h"
#include "storage/UntUtils.h"
#include "workspace/UntFraMemo.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFrmTOWSItem::TFrmTOWSItem(TMainHost& host, QWidget* parent) : TMPDialog(host, hcFactor, parent) {
    setObjectName(QStringLiteral("FrmTOWSItem"));
    resize(488, 393);

    auto* groupBox1 = new QGroupBox(Body());
    groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    groupBox1->setFixedHeight(97);
    auto* row = new QHBoxLayout(groupBox1);
    row->setContentsMargins(8, 8, 4, 4);
    auto* wording = new QVBoxLayout;
    auto* lbName = new QLabel(QString::fromUtf8("Libellé"), groupBox1);
    lbName->setObjectName(QStringLiteral("LbName"));
    EdName = new QLineEdit(groupBox1);
    EdName->setObjectName(QStringLiteral("EdName"));
    EdName->setMinimumWidth(321);
    lbName->setBuddy(EdName);
    wording->addStretch(1);
    wording->addWidget(lbName);
    wording->addWidget(EdName);
    wording->addStretch(1);
    row->addLayout(wording, 1);

    auto* marks = new QGroupBox(LoadStr(StrImportance), groupBox1);
    marks->setObjectName(QStringLiteral("ChMark"));
    marks->setFixedWidth(130);
    auto* markLayout = new QVBoxLayout(marks);
    markLayout->setContentsMargins(6, 2, 6, 2);
    markLayout->setSpacing(0);
    ChMark = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* choice = new QRadioButton(
            QString::number(3 - i) + QStringLiteral(" - ") + LoadStr(StrMarkHigh + i), marks);
        choice->setObjectName(QStringLiteral("ChMark%1").arg(i));
        ChMark->addButton(choice, i);
        markLayout->addWidget(choice);
    }
    TabToCheckedChoice(ChMark);
    row->addWidget(marks);
    BodyLayout()->addWidget(groupBox1);
    BodyLayout()->addSpacing(3);

    FraMemo1 = new TFraMemo(Body());
    FraMemo1->SetTitle(LoadStr(StrComments));
    BodyLayout()->addWidget(FraMemo1, 1);

    connect(BtOk, &QPushButton::clicked, this, &TFrmTOWSItem::BtOKClick);
}

bool TFrmTOWSItem::Edit(TTOWSItem& factor, bool isNew) {
    // One factor at a time, whatever asks while the dialog is open.
    if (FFactor)
        return false;
    FFactor = &factor;
    FIsNew = isNew;
    SetTitle(LoadStr(TypeNameId(factor.SwotType)));
    setWindowTitle(LoadStr(StrFactorCaption));
    EdName->setText(factor.Name);
    // A mark outside the scale, possible in a file, selects no choice.
    ChMark->setExclusive(false);
    for (QAbstractButton* choice : ChMark->buttons())
        choice->setChecked(false);
    ChMark->setExclusive(true);
    if (QAbstractButton* choice = ChMark->button(3 - factor.Mark))
        choice->setChecked(true);
    FraMemo1->Load(factor.Comments);
    const bool accepted = Host.Seam().ExecDialog(*this) == QDialog::Accepted;
    FFactor = nullptr;
    return accepted;
}

void TFrmTOWSItem::showEvent(QShowEvent* event) {
    TMPDialog::showEvent(event);
    EdName->setFocus();
}

void TFrmTOWSItem::BtOKClick() {
    const QString wording = EdName->text();
    const auto refuse = [this](int message) {
        Host.Seam().Error(this, LoadStr(message));
        EdName->setFocus();
    };
    if (wording.isEmpty())
        return refuse(StrWordingRequired);
    if (FIsNew && Host.Project())
        for (const auto& item : Host.Project()->Items)
            if (item->Name == wording)
                return refuse(StrFactorInUse);
    FFactor->Name = wording;
    if (ChMark->checkedId() >= 0)
        FFactor->Mark = 3 - ChMark->checkedId();
    FFactor->Comments = CopyLines(FraMemo1->Lines());
    accept();
}
