#pragma once

#include "storage/UntRecovery.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>

class TDocument;

// Keeps this run's recovery copy in line with the user's work: a moment after
// each change of the document it follows, the copy takes the project; once
// nothing is left unsaved, the copy goes.
class TRecoveryKeeper : public QObject {
    Q_OBJECT

public:
    explicit TRecoveryKeeper(QObject* parent = nullptr);

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

    const TRecoveryCopy& Copy() const { return FCopy; }

signals:
    // A copy could not be written; told once per failed write.
    void Failed(const QString& message);

private:
    TRecoveryCopy FCopy;
    const TDocument* FDocument = nullptr;
    QList<QMetaObject::Connection> FFollowing;
    // The revision the copy holds; 0 when there is no copy.
    std::uint64_t FRevision = 0;
    QTimer FTimer;
};
