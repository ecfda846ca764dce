#pragma once

#include "storage/UntRecovery.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <optional>

class TDocument;

// Keeps this run's recovery copy in line with the user's work: a moment after
// each change of the document it follows, the copy takes the project; once
// nothing is left unsaved, the copy goes.
class TRecoveryKeeper : public QObject {
    Q_OBJECT

public:
    explicit TRecoveryKeeper(QObject* parent = nullptr);
    // A normal end: the work was saved or dropped, and the copies go.
    ~TRecoveryKeeper() override;

    // The document whose work the copy keeps from now on; none when there
    // is no work.
    void Follow(const TDocument* document);
    // How long a change may wait before the copy holds it.
    void SetDelay(std::chrono::milliseconds delay);
    // Starts bringing the copy in line now, instead of a moment later: a
    // project just saved leaves no copy behind.
    void Keep();
    // The same, waiting until the copy is written; raises EStorageError when
    // it cannot be.
    void KeepNow();
    // The copy left by a program that is gone whose work the document holds:
    // it stands in for this run's copy until that one holds the work, and
    // goes with the work, saved or dropped.
    void Adopt(TOrphanCopy orphan);
    // Leaves the work of the document to the next start, as the copy of a
    // program that is gone; a later change of the document makes a new copy.
    void Leave();

    const TRecoveryCopy& Copy() const { return FCopy; }
    // Why the work cannot be kept now; empty while it is.
    const QString& Problem() const { return FProblem; }

signals:
    // The work cannot be kept any longer, or can be again (an empty problem).
    void ProblemChanged(const QString& problem);

private:
    // Waits for the write in progress, if any; false when it failed.
    bool Settle();
    void SetProblem(const QString& problem);
    void DropAdopted();

    TRecoveryCopy FCopy;
    std::optional<TOrphanCopy> FAdopted;
    const TDocument* FDocument = nullptr;
    QList<QMetaObject::Connection> FFollowing;
    // The revision the copy holds or is being written with; 0 when there is
    // no copy.
    std::uint64_t FRevision = 0;
    QString FProblem;
    QTimer FTimer;
};
