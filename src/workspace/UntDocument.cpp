#include "UntDocument.h"

TDocument::TDocument(std::unique_ptr<TProject> project) : FProject(std::move(project)) {
    FFollowing = connect(this, &QUndoStack::indexChanged, this, [this] {
        FProject->MarkModified();
        FProject->Modified = !isClean();
    });
}

// The history empties itself as it goes, after the project.
TDocument::~TDocument() {
    disconnect(FFollowing);
}

void TDocument::MarkSaved() {
    setClean();
    FProject->Modified = false;
}

void TDocument::MarkUnsaved() {
    resetClean();
    FProject->MarkModified();
}
