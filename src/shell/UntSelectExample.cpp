#include "shell/UntSelectExample.h"

#include "model/UntStrings.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace {

// The examples of the interface's language, with their own reference project.
QString ExampleFolder() {
    return LocalizedFile(QStringLiteral("templates/"));
}

// The examples told in both languages, by their file names.
struct TTwins {
    const char* English;
    const char* French;
};

constexpr TTwins Twins[] = {
    {"reference.swot", "reference.swot"},
    {"Family bakery - online sales.swot", "Boulangerie familiale - vente en ligne.swot"},
    {"Town library - renewal.swot", "Bibliothèque municipale - rénovation.swot"},
};

} // namespace

QString ExampleOfInterfaceLanguage(const QString& path) {
    const QFileInfo file(path);
    const QString folder = file.absoluteDir().canonicalPath();
    const QDir english(ProgramFolder() + QStringLiteral("templates"));
    const QDir french(english.filePath(QStringLiteral("fr")));
    const bool inEnglish = !folder.isEmpty() && folder == english.canonicalPath();
    if (folder.isEmpty() || (!inEnglish && folder != french.canonicalPath()))
        return path;
    const bool wantFrench = QLocale().language() == QLocale::French;
    for (const TTwins& twins : Twins) {
        const QString name = QString::fromUtf8(inEnglish ? twins.English : twins.French);
        if (file.fileName() != name)
            continue;
        const QString twin = wantFrench ? french.filePath(QString::fromUtf8(twins.French))
                                        : english.filePath(QString::fromUtf8(twins.English));
        return QFileInfo(twin).isFile() ? twin : path;
    }
    return path;
}

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
