#include "shell/UntDlgProperties.h"

#include "history/UntProjectChanges.h"
#include "model/UntClassProject.h"
#include "model/UntStrings.h"
#include "storage/UntUtils.h"
#include "workspace/UntFraMemo.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

TDlgProperties::TDlgProperties(TMainHost& host, QWidget* parent) : TMPDialog(host, hcNone, parent) {
    setObjectName(QStringLiteral("DlgProperties"));
    resize(474, 338);
    SetTitle(LoadStr(StrPropertiesCaption));

    PageControl = new QTabWidget(Body());
    PageControl->setObjectName(QStringLiteral("PageControl1"));
    BodyLayout()->addWidget(PageControl);

    auto* information = new QWidget(PageControl);
    auto* infoLayout = new QVBoxLayout(information);
    auto* titleLabel = new QLabel(LoadStr(StrPropertiesTitle), information);
    EdTitle = new QLineEdit(information);
    EdTitle->setObjectName(QStringLiteral("EdTitle"));
    titleLabel->setBuddy(EdTitle);
    FraMemo1 = new TFraMemo(information);
    FraMemo1->SetTitle(LoadStr(StrPropertiesComments));
    infoLayout->addWidget(titleLabel);
    infoLayout->addWidget(EdTitle);
    infoLayout->addWidget(FraMemo1, 1);
    PageControl->addTab(information, LoadStr(StrPropertiesInformation));

    auto* headings = new QWidget(PageControl);
    auto* headingsLayout = new QVBoxLayout(headings);
    LstCaptions = new QListWidget(headings);
    LstCaptions->setObjectName(QStringLiteral("LstCaptions"));
    LstCaptions->setAccessibleName(LoadStr(StrPropertiesHeadings));
    SelectEndOnFirstArrow(LstCaptions);
    headingsLayout->addWidget(LstCaptions, 1);
    AcnChangeCaption = new QAction(LoadStr(StrPropertiesModify), this);
    AcnChangeCaption->setObjectName(QStringLiteral("AcnChangeCaption"));
    AcnResetCaption = new QAction(LoadStr(StrPropertiesReset), this);
    AcnResetCaption->setObjectName(QStringLiteral("AcnResetCaption"));
    auto* buttons = new QHBoxLayout;
    for (QAction* action : {AcnChangeCaption, AcnResetCaption}) {
        auto* button = new QPushButton(action->text(), headings);
        button->setObjectName(QStringLiteral("Bt") + action->objectName().mid(3));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
        buttons->addWidget(button);
    }
    buttons->addStretch(1);
    headingsLayout->addLayout(buttons);
    PageControl->addTab(headings, LoadStr(StrPropertiesHeadings));

    connect(AcnChangeCaption, &QAction::triggered, this, &TDlgProperties::AcnChangeCaptionExecute);
    connect(AcnResetCaption, &QAction::triggered, this, &TDlgProperties::AcnResetCaptionExecute);
    connect(LstCaptions, &QListWidget::itemDoubleClicked, this,
            &TDlgProperties::AcnChangeCaptionExecute);
    connect(BtOk, &QPushButton::clicked, this, &TDlgProperties::BtOkClick);
}

bool TDlgProperties::Edit(TDocument& document) {
    FDocument = &document;
    const TProject& project = document.Project();
    PageControl->setCurrentIndex(0);
    EdTitle->setText(project.Title);
    FraMemo1->Load(project.Comments);
    LstCaptions->clear();
    for (int number = 1; number <= TLabels::Count; ++number)
        LstCaptions->addItem(project.Labels.Value(number));
    const bool accepted = Host.Seam().ExecDialog(*this) == QDialog::Accepted;
    FDocument = nullptr;
    return accepted;
}

void TDlgProperties::showEvent(QShowEvent* event) {
    TMPDialog::showEvent(event);
    EdTitle->setFocus();
}

int TDlgProperties::SelectedCaption() {
    const QListWidgetItem* item = LstCaptions->currentItem();
    if (!item || !item->isSelected()) {
        Host.Seam().Error(this, LoadStr(StrPropertiesSelectItem));
        return -1;
    }
    return LstCaptions->row(item);
}

void TDlgProperties::AcnChangeCaptionExecute() {
    const int line = SelectedCaption();
    if (line < 0)
        return;
    QListWidgetItem* item = LstCaptions->item(line);
    if (const auto wording = Host.Seam().InputText(this, LoadStr(StrPropertiesModification),
                                                   LoadStr(StrPropertiesNewWording), item->text()))
        item->setText(*wording);
}

void TDlgProperties::AcnResetCaptionExecute() {
    const int line = SelectedCaption();
    if (line >= 0)
        LstCaptions->item(line)->setText(TLabels::DefaultValue(line + 1));
}

void TDlgProperties::BtOkClick() {
    if (EdTitle->text().isEmpty()) {
        Host.Seam().Error(this, LoadStr(StrWordingRequired));
        EdTitle->setFocus();
        return;
    }
    TProjectProperties properties{EdTitle->text(), CopyLines(FraMemo1->Lines()), TLabels()};
    for (int number = 1; number <= TLabels::Count; ++number)
        properties.Labels.SetValue(number, LstCaptions->item(number - 1)->text());
    // A change made here is a change to save and to undo, like any other.
    FDocument->Apply(PropertiesChange(*FDocument, std::move(properties)));
    accept();
}
