#include "history/UntDocument.h"

TDocument::TDocument(std::unique_ptr<TProject> project) : FProject(std::move(project)) {
    FFollowing = connect(this, &QUndoStack::indexChanged, this, [this] {
        FProject->MarkModified();
        FProject->FModified = !isClean();
    });
}

// The history empties itself as it goes, after the project.
TDocument::~TDocument() {
    disconnect(FFollowing);
}

std::optional<QString> TDocument::Path() const {
    if (FProject->FileName.isEmpty())
        return std::nullopt;
    return FProject->FileName;
}

void TDocument::SetPath(const std::optional<QString>& path) {
    FProject->FileName = path.value_or(QString());
}

void TDocument::Apply(std::unique_ptr<QUndoCommand> change) {
    if (change)
        push(change.release());
}

void TDocument::MarkSaved() {
    setClean();
    FProject->FModified = false;
}

void TDocument::MarkUnsaved() {
    resetClean();
    FProject->MarkModified();
}
