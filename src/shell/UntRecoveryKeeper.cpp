#include "shell/UntRecoveryKeeper.h"

#include "history/UntDocument.h"
#include "model/UntStrings.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntUtils.h"

TRecoveryKeeper::TRecoveryKeeper(QObject* parent) : QObject(parent), FCopy(RecoveryFolder()) {
    FTimer.setSingleShot(true);
    FTimer.setInterval(std::chrono::seconds(1));
    connect(&FTimer, &QTimer::timeout, this, &TRecoveryKeeper::Keep);
}

TRecoveryKeeper::~TRecoveryKeeper() {
    DropAdopted();
}

void TRecoveryKeeper::Follow(const TDocument* document) {
    for (const QMetaObject::Connection& connection : std::as_const(FFollowing))
        disconnect(connection);
    FFollowing.clear();
    FDocument = document;
    if (document) {
        const auto later = [this] {
            FTimer.start();
        };
        FFollowing << connect(document, &QUndoStack::indexChanged, this, later)
                   << connect(document, &QUndoStack::cleanChanged, this, later)
                   << connect(document, &QObject::destroyed, this, [this] { Follow(nullptr); });
    }
    Keep();
}

void TRecoveryKeeper::SetDelay(std::chrono::milliseconds delay) {
    FTimer.setInterval(delay);
}

void TRecoveryKeeper::KeepNow() {
    // A write in progress may hold an older revision than the work.
    Settle();
    Keep();
    if (!Settle())
        throw EStorageError(FProblem);
}

void TRecoveryKeeper::Adopt(TOrphanCopy orphan) {
    // One adopted before is left for the next start rather than lost.
    FAdopted.reset();
    FAdopted.emplace(std::move(orphan));
}

void TRecoveryKeeper::Leave() {
    try {
        KeepNow();
    } catch (...) {
        // The adopted copy, if any, holds the work that can still be kept.
    }
    FCopy.Leave();
    // Closing it without removing it lets it go to the next start.
    FAdopted.reset();
    FRevision = FDocument ? FDocument->Project().Revision() : 0;
}

void TRecoveryKeeper::Keep() {
    const TProject* work = FDocument ? &FDocument->Project() : nullptr;
    if (!work || !work->Modified()) {
        FCopy.Remove();
        FRevision = 0;
        DropAdopted();
        // Nothing is at risk.
        SetProblem({});
        return;
    }
    // One write at a time; a change made meanwhile waits for the next turn.
    if (FCopy.Writing()) {
        FTimer.start();
        return;
    }
    // A folder that refuses the copy now refuses it a moment later too: the
    // next write waits for the next change.
    Settle();
    if (work->Revision() == FRevision)
        return;
    FRevision = work->Revision();
    FCopy.Write(CopyProject(*work), FDocument->Path());
    // The next turn tells whether the write succeeded.
    FTimer.start();
}

bool TRecoveryKeeper::Settle() {
    try {
        if (FCopy.Finish()) {
            SetProblem({});
            // This run's copy holds the work the adopted one held, at least.
            DropAdopted();
        }
    } catch (...) {
        SetProblem(FillTemplate(LoadStr(StrRecoveryUnwritable), FCopy.Folder(),
                                ErrorMessage(std::current_exception())));
        // Written again with the next change.
        FRevision = 0;
        return false;
    }
    return true;
}

void TRecoveryKeeper::SetProblem(const QString& problem) {
    if (problem == FProblem)
        return;
    FProblem = problem;
    emit ProblemChanged(problem);
}

void TRecoveryKeeper::DropAdopted() {
    if (FAdopted)
        FAdopted->Discard();
    FAdopted.reset();
}
