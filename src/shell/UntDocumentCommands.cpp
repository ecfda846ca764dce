// The document commands of the main window: new, open, save, save as, and
// the example shown in place of the project.
#include "UnitFrmMain.h"
#include "UntDataModule.h"
#include "UntErrors.h"
#include "UntFraTOWS.h"
#include "UntIO.h"
#include "UntModalSeam.h"
#include "UntProgramFolder.h"
#include "UntSelectExample.h"
#include "UntShortenPath.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QUndoGroup>

namespace {

TFileRequest ProjectFileRequest(const QString& caption, const QString& folder) {
    return {caption,
            {ProductStr(StrProjectFiles) + QStringLiteral(" (*.swot)")},
            QStringLiteral("swot"),
            1,
            folder};
}

} // namespace

void TFrmMain::SetDocumentPath(const std::optional<QString>& path) {
    FDocumentPath = path;
    if (FCurrent)
        FCurrent->SetPath(path);
    const QString name = path.value_or(LoadStr(StrNewDocument));
    setWindowTitle(QStringLiteral("Merovan - ") + FileNamePart(name));
    const QFontMetrics metrics(StatusPath->font());
    const int room = StatusPath->width() - 8;
    StatusPath->setText(ShortenPath(
        name, room, [&metrics](const QString& text) { return metrics.horizontalAdvance(text); }));
}

bool TFrmMain::ReadProject(std::unique_ptr<TDocument>& slot, const QString& path) {
    try {
        auto document = std::make_unique<TDocument>(::ReadProject(path));
        History->addStack(document.get());
        slot = std::move(document);
    } catch (...) {
        Seam().Error(this, ErrorMessage(std::current_exception()));
        return false;
    }
    UpdateCommands();
    KeepRecoveryCopy();
    return true;
}

void TFrmMain::ShowUnsavedProject(std::unique_ptr<TProject> project,
                                  const std::optional<QString>& origin) {
    FCurrent = std::make_unique<TDocument>(std::move(project));
    History->addStack(FCurrent.get());
    FCurrent->MarkUnsaved();
    SetDocumentPath(origin);
    RebuildWorkspace();
    UpdateCommands();
    KeepRecoveryCopy();
}

void TFrmMain::RebuildWorkspace() {
    if (FWorkspace) {
        FWorkspace->CloseView();
        delete FWorkspace;
    }
    auto* workspace = new TFraTOWS(*this, MainPanel);
    MainPanel->layout()->addWidget(workspace);
    FWorkspace = workspace;
    workspace->UpdateView();
}

bool TFrmMain::ReturnFromExample() {
    if (ExampleDisplayed())
        AcnProjExampDispExecute();
    return !ExampleDisplayed();
}

bool TFrmMain::AskToKeepChanges() {
    if (!FCurrent || !FCurrent->Modified())
        return true;
    switch (Seam().Message(this, QMessageBox::Question, LoadStr(StrSaveChanges),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
        return SaveProject();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void TFrmMain::AcnFileNewExecute() {
    if (!ReturnFromExample() || !AskToKeepChanges())
        return;
    if (ReadProject(FCurrent, ReferenceTemplate())) {
        SetDocumentPath(std::nullopt);
        RebuildWorkspace();
    }
}

bool TFrmMain::AcnFileOpenExecute() {
    if (!ReturnFromExample() || !AskToKeepChanges())
        return false;
    const auto chosen =
        Seam().OpenFile(this, ProjectFileRequest(ProductStr(StrOpenCaption), StartFolder()));
    if (!chosen)
        return false;
    RememberFolder(chosen->Path);
    if (!ReadProject(FCurrent, chosen->Path))
        return false;
    ShowOpenedProject(chosen->Path);
    return true;
}

void TFrmMain::ShowOpenedProject(const QString& path) {
    SetDocumentPath(path);
    RebuildWorkspace();
    RememberProject(path);
}

void TFrmMain::OpenRecentProject(const QString& path) {
    if (!ReturnFromExample() || !AskToKeepChanges())
        return;
    if (!QFileInfo(path).isFile()) {
        Seam().Error(this, FillTemplate(LoadStr(StrRecentMissing), path));
        FRecentProjects.removeAll(path);
        UpdateRecentMenu();
        return;
    }
    if (ReadProject(FCurrent, path))
        ShowOpenedProject(path);
}

QString TFrmMain::StartFolder() const {
    if (FDocumentPath)
        return QFileInfo(*FDocumentPath).absolutePath();
    return FLastFolder.isEmpty() ? QDir::homePath() : FLastFolder;
}

void TFrmMain::RememberFolder(const QString& path) {
    FLastFolder = QFileInfo(path).absolutePath();
}

void TFrmMain::RememberProject(const QString& path) {
    RememberFolder(path);
    FRecentProjects.removeAll(path);
    FRecentProjects.prepend(path);
    while (FRecentProjects.size() > MaxRecentProjects)
        FRecentProjects.removeLast();
    UpdateRecentMenu();
}

void TFrmMain::UpdateRecentMenu() {
    MnuRecent->clear();
    for (qsizetype i = 0; i < FRecentProjects.size(); ++i) {
        const QString& path = FRecentProjects[i];
        // "&1 Plan.swot": the number is the key; an ampersand of the name stays one.
        QString name = FileNamePart(path);
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* open = MnuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        open->setToolTip(path);
        open->setStatusTip(path);
        connect(open, &QAction::triggered, this, [this, path] { OpenRecentProject(path); });
    }
    MnuRecent->setToolTipsVisible(true);
    MnuRecent->setEnabled(!FRecentProjects.isEmpty());
}

bool TFrmMain::SaveProject() {
    if (!FCurrent || !ReturnFromExample())
        return false;
    if (FWorkspace && !FWorkspace->CommitView())
        return false;
    if (!FDocumentPath)
        return SaveProjectAs();
    return WriteDocument(*FDocumentPath);
}

bool TFrmMain::SaveProjectAs() {
    if (!FCurrent || !ReturnFromExample())
        return false;
    if (FWorkspace && !FWorkspace->CommitView())
        return false;
    const auto chosen = Seam().SaveFile(this, ProjectFileRequest(QString(), StartFolder()));
    if (!chosen)
        return false;
    RememberFolder(chosen->Path);
    if (!Replaceable(chosen->Path, LoadStr(StrSaveFailed) + QStringLiteral("\n\n")))
        return false;
    if (QFileInfo::exists(chosen->Path) &&
        Seam().Message(this, QMessageBox::Question, LoadStr(StrReplaceProject),
                       QMessageBox::Yes | QMessageBox::Cancel) != QMessageBox::Yes)
        return false;
    if (!WriteDocument(chosen->Path))
        return false;
    SetDocumentPath(chosen->Path);
    return true;
}

bool TFrmMain::Replaceable(const QString& path, const QString& context) {
    try {
        CheckReplaceable(ReplacedFile(path));
    } catch (const EStorageError& error) {
        // Asking whether to replace a file that will not be replaced helps nobody.
        Seam().Error(this, context + error.Message());
        return false;
    }
    return true;
}

bool TFrmMain::WriteDocument(const QString& path) {
    try {
        WriteProject(FCurrent->Project(), path);
    } catch (...) {
        Seam().Error(this, LoadStr(StrSaveFailed) + QStringLiteral("\n\n") +
                               ErrorMessage(std::current_exception()));
        return false;
    }
    FCurrent->MarkSaved();
    KeepRecoveryCopy();
    RememberProject(path);
    return true;
}

void TFrmMain::AcnProjExampDispExecute() {
    if (FWorkspace && !FWorkspace->CommitView()) {
        AcnProjExampDisp->setChecked(ExampleDisplayed());
        return;
    }
    if (ExampleDisplayed()) {
        FExample = std::move(FCurrent);
        FCurrent = std::move(FStashed);
    } else if (FCurrent && FExample) {
        FStashed = std::move(FCurrent);
        FCurrent = std::move(FExample);
    }
    AcnProjExampDisp->setText(LoadStr(ExampleDisplayed() ? StrExampleBack : StrExampleDisplay));
    AcnProjExampDisp->setChecked(ExampleDisplayed());
    if (FWorkspace)
        FWorkspace->UpdateView();
    UpdateCommands();
}

void TFrmMain::AcnProjExampleSelectExecute() {
    if (!ReturnFromExample())
        return;
    Seam().ExecDialog(*DlgSelectExample);
}
