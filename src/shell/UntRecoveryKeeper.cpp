#include "shell/UntRecoveryKeeper.h"

#include "history/UntDocument.h"
#include "model/UntStrings.h"
#include "storage/UntErrors.h"
#include "storage/UntUtils.h"

TRecoveryKeeper::TRecoveryKeeper(QObject* parent) : QObject(parent), FCopy(RecoveryFolder()) {
    FTimer.setSingleShot(true);
    FTimer.setInterval(std::chrono::seconds(1));
    connect(&FTimer, &QTimer::timeout, this, &TRecoveryKeeper::Keep);
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
    Keep();
    FCopy.Finish();
}

void TRecoveryKeeper::Keep() {
    const TProject* work = FDocument ? &FDocument->Project() : nullptr;
    if (!work || !work->Modified()) {
        if (FRevision != 0)
            FCopy.Remove();
        FRevision = 0;
        return;
    }
    // One write at a time; a change made meanwhile waits for the next turn.
    if (FCopy.Writing()) {
        FTimer.start();
        return;
    }
    try {
        FCopy.Finish();
    } catch (...) {
        // A folder that refuses the copy now refuses it a moment later too:
        // the next write waits for the next change.
        emit Failed(
            FillTemplate(LoadStr(StrRecoveryUnwritable), ErrorMessage(std::current_exception())));
    }
    if (work->Revision() == FRevision)
        return;
    FRevision = work->Revision();
    FCopy.Write(CopyProject(*work), FDocument->Path());
    // The next turn tells whether the write succeeded.
    FTimer.start();
}
