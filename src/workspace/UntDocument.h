#pragma once

#include "UntClassProject.h"

#include <QUndoStack>
#include <memory>

// A project and the history of its changes, which live and go together. The
// project is Modified exactly when the history stands elsewhere than at the
// saved state, and takes a new revision at every step.
class TDocument : public QUndoStack {
    Q_OBJECT

public:
    explicit TDocument(std::unique_ptr<TProject> project);
    ~TDocument() override;

    TProject& Project() { return *FProject; }
    const TProject& Project() const { return *FProject; }

    // The present state is the one saved.
    void MarkSaved();
    // No state of the history is the one saved: the project stays modified
    // until it is saved, whatever is undone.
    void MarkUnsaved();

private:
    std::unique_ptr<TProject> FProject;
    QMetaObject::Connection FFollowing;
};
