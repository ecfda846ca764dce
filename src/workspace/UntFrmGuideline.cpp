#include "workspace/UntFrmGuideline.h"

#include "model/UntClassProject.h"
#include "model/UntStrings.h"
#include "storage/UntUtils.h"
#include "workspace/UntFraMemo.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFrmGuideline::TFrmGuideline(TMainHost& host, QWidget* parent)
    : TMPDialog(host, hcConclusion, parent) {
    setObjectName(QStringLiteral("FrmGuideline"));
    resize(486, 372);
    SetTitle(LoadStr(StrConclusions));

    auto* groupBox1 = new QGroupBox(Body());
    groupBox1->setObjectName(QStringLiteral("GroupBox1"));
    groupBox1->setMinimumHeight(65);
    auto* column = new QVBoxLayout(groupBox1);
    column->setContentsMargins(16, 8, 16, 8);
    LbCaption = new QLabel(LoadStr(StrConclusionPrompt), groupBox1);
    LbCaption->setObjectName(QStringLiteral("LbCaption"));
    LbCaption->setWordWrap(true);
    EdName = new QLineEdit(groupBox1);
    EdName->setObjectName(QStringLiteral("EdName"));
    LbCaption->setBuddy(EdName);
    column->addWidget(LbCaption);
    column->addWidget(EdName);
    BodyLayout()->addWidget(groupBox1);
    BodyLayout()->addSpacing(3);

    FraMemo1 = new TFraMemo(Body());
    FraMemo1->SetTitle(LoadStr(StrComments));
    FraMemo1->setAutoFillBackground(true);
    FraMemo1->setBackgroundRole(QPalette::Button);
    BodyLayout()->addWidget(FraMemo1, 1);

    connect(BtOk, &QPushButton::clicked, this, &TFrmGuideline::ValiderClick);
}

bool TFrmGuideline::Edit(TGuideline& guideline, const TGuideline* original) {
    // One conclusion at a time, whatever asks while the dialog is open.
    if (FGuideline)
        return false;
    FGuideline = &guideline;
    FOriginal = original ? original : &guideline;
    EdName->setText(guideline.Name);
    FraMemo1->Load(guideline.Comments);
    const bool accepted = Host.Seam().ExecDialog(*this) == QDialog::Accepted;
    FGuideline = nullptr;
    FOriginal = nullptr;
    return accepted;
}

void TFrmGuideline::resizeEvent(QResizeEvent* event) {
    TMPDialog::resizeEvent(event);
    // Layouts do not carry a wrapped text's height up to the window's
    // minimum: the prompt asks for the lines it needs at its width.
    LbCaption->setMinimumHeight(LbCaption->heightForWidth(LbCaption->width()));
}

void TFrmGuideline::showEvent(QShowEvent* event) {
    TMPDialog::showEvent(event);
    EdName->setFocus();
}

bool TFrmGuideline::CheckName() {
    const QString wording = EdName->text();
    const auto refuse = [this](int message) {
        Host.Seam().Error(this, LoadStr(message));
        EdName->setFocus();
        return false;
    };
    if (wording.isEmpty())
        return refuse(StrWordingRequired);
    if (const TProject* project = Host.Project())
        for (const auto& guideline : project->Guidelines)
            if (guideline.get() != FOriginal && guideline->Name == wording)
                return refuse(StrWordingInUse);
    return true;
}

void TFrmGuideline::ValiderClick() {
    if (!CheckName())
        return;
    FGuideline->Name = EdName->text();
    FGuideline->Comments = CopyLines(FraMemo1->Lines());
    accept();
}
