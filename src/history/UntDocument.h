#pragma once

#include "model/UntClassProject.h"

#include <QUndoStack>
#include <memory>

// What a change touched, so that the screens show it.
enum class TChangeScope { Factors, Conclusions, Links, Properties };

struct TChange {
    TChangeScope Scope;
    // The conclusion to make current once the change shows; -1 for none.
    int Guideline = -1;
};

// A project and the history of its changes, which live and go together. The
// project changes only through the changes of its history (UntProjectChanges),
// and the document tells what each change, undo or redo touched. The project
// is Modified exactly when the history stands elsewhere than at the saved
// state, and takes a new revision at every step.
class TDocument : public QUndoStack {
    Q_OBJECT

public:
    explicit TDocument(std::unique_ptr<TProject> project);
    ~TDocument() override;

    const TProject& Project() const { return *FProject; }
    bool Modified() const { return FProject->Modified(); }
    // The file the project was read from or last saved to; none for a
    // project no file holds yet.
    std::optional<QString> Path() const;
    void SetPath(const std::optional<QString>& path);

    // Applies the change and keeps it in the history, for undo; none is a
    // change that changes nothing.
    void Apply(std::unique_ptr<QUndoCommand> change);

    // The present state is the one saved.
    void MarkSaved();
    // No state of the history is the one saved: the project stays modified
    // until it is saved, whatever is undone.
    void MarkUnsaved();

signals:
    // After a change was applied, undone or redone.
    void Changed(const TChange& change);

private:
    friend class TProjectChange;

    std::unique_ptr<TProject> FProject;
    QMetaObject::Connection FFollowing;
};
