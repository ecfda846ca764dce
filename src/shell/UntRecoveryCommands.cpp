// The recovery copy of the user's unsaved work, and the work that programs
// which are gone left behind.
#include "UnitFrmMain.h"
#include "UntErrors.h"
#include "UntModalSeam.h"
#include "UntRecovery.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QStatusBar>
#include <QUndoGroup>

void TFrmMain::KeepRecoveryCopy() {
    // While the example is displayed, the user's work waits aside, unchanged.
    const TDocument* document = ExampleDisplayed() ? FStashed.get() : FCurrent.get();
    const TProject* work = document ? &document->Project() : nullptr;
    if (!work || !work->Modified()) {
        if (FRecoveryRevision != 0)
            FRecoveryCopy->Remove();
        FRecoveryRevision = 0;
        return;
    }
    // One write at a time; a change made meanwhile waits for the next call.
    if (FRecoveryCopy->Writing())
        return;
    try {
        FRecoveryCopy->Finish();
    } catch (...) {
        // Told once per failed write: a folder that refuses the copy now
        // refuses it a second later too.
        statusBar()->showMessage(
            FillTemplate(LoadStr(StrRecoveryUnwritable), ErrorMessage(std::current_exception())));
    }
    if (work->Revision() == FRecoveryRevision)
        return;
    FRecoveryRevision = work->Revision();
    FRecoveryCopy->Write(CopyProject(*work), FDocumentPath);
}

bool TFrmMain::OfferRecoveryCopies() {
    bool recovered = false;
    for (TOrphanCopy& orphan : FindOrphanCopies(RecoveryFolder())) {
        const QString question = FillTemplate(LoadStr(StrRecoverChanges), orphan.Project().Title,
                                              orphan.Origin().value_or(LoadStr(StrNewDocument)));
        const auto answer =
            Seam().Message(this, QMessageBox::Question, question,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::No)
            orphan.Discard();
        // Cancel, or a second recovery that would drop the first: the copy
        // waits for the next start.
        if (answer != QMessageBox::Yes || !AskToKeepChanges())
            continue;
        ShowUnsavedProject(orphan.TakeProject(), orphan.Origin());
        // The work now lives in this run's copy; without one, the old copy stays.
        try {
            FRecoveryCopy->Finish();
            orphan.Discard();
        } catch (...) {
            statusBar()->showMessage(FillTemplate(LoadStr(StrRecoveryUnwritable),
                                                  ErrorMessage(std::current_exception())));
        }
        recovered = true;
    }
    return recovered;
}
