#include "shell/UntSelectExample.h"

#include "model/UntStrings.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// The examples of the interface's language, with their own reference project.
QString ExampleFolder() {
    return LocalizedFile(QStringLiteral("templates/"));
}

} // namespace

TDlgSelectExample::TDlgSelectExample(TMainHost& host, QWidget* parent)
    : TMPDialog(host, hcNone, parent) {
    setObjectName(QStringLiteral("DlgSelectExample"));
    SetTitle(LoadStr(StrExampleCaption));
    resize(360, 300);
    LstExamples = new QListWidget(Body());
    LstExamples->setObjectName(QStringLiteral("LstExamples"));
    LstExamples->setAccessibleName(LoadStr(StrExampleCaption));
    BodyLayout()->addWidget(LstExamples);
    connect(BtOk, &QPushButton::clicked, this, &TDlgSelectExample::BtOkClick);
    connect(LstExamples, &QListWidget::itemDoubleClicked, this, &TDlgSelectExample::BtOkClick);
}

void TDlgSelectExample::showEvent(QShowEvent* event) {
    if (event->spontaneous())
        return TMPDialog::showEvent(event);
    LstExamples->clear();
    const QDir templates(ExampleFolder());
    LstExamples->addItems(
        templates.entryList({QStringLiteral("*.swot")}, QDir::Files, QDir::Unsorted));
    TMPDialog::showEvent(event);
}

void TDlgSelectExample::BtOkClick() {
    const QListWidgetItem* item = LstExamples->currentItem();
    if (!item || !item->isSelected()) {
        Host.Seam().Error(this, LoadStr(StrExamplePrompt));
        return;
    }
    const QString path = ExampleFolder() + item->text();
    if (LoadExample(path)) {
        accept();
    } else {
        Host.Seam().Error(this, LoadStr(StrExampleLoadFailed));
        reject();
    }
}
