#pragma once

// The changes of a project, one command per change, kept by its document's
// history for undo and redo.
//
// Ownership rules:
// - A change is made by one of the functions below and handed at once to
//   TDocument::Apply, which applies it and gives it to the history. From then
//   on the history owns it; nobody keeps a pointer to it.
// - What a change takes out of the project (a deleted factor or conclusion,
//   an addition undone) travels with the change while it is out, and goes back
//   into the project as the same object: whoever held its address before the
//   deletion finds it again after the undo.
// - A change names factors and conclusions by their positions when it was
//   made. The history runs undo and redo in order, so each runs on the very
//   state it left: positions stay right without any lookup.
// - Undo gives back exactly what was there, to the order of records; redo
//   does exactly what the change did.
// - After applying, undoing or redoing, a change has its document tell once
//   what it touched (TDocument::Changed); it never reaches a screen itself.
// - A change lives no longer than its document, whose history deletes it;
//   it holds no project state beyond what it took out.

#include "history/UntDocument.h"

#include <QUndoCommand>
#include <cstdint>
#include <memory>

// The project's own data that the properties dialog changes.
struct TProjectProperties {
    QString Title;
    QStringList Comments;
    TLabels Labels;
};

// The common part of the changes: the project they change, reached through
// its document, and the telling of what they touched.
class TProjectChange : public QUndoCommand {
protected:
    TProjectChange(TDocument& document, const QString& text);

    TProject& Project() const { return *FDocument.FProject; }
    void Tell(TChangeScope scope, int guideline = -1) const;

private:
    TDocument& FDocument;
};

// An edit that changes nothing gives no change; comments are the same when
// they read as the same text and styles.
std::unique_ptr<QUndoCommand> AddFactorChange(TDocument& document,
                                              std::unique_ptr<TTOWSItem> factor);
// The factor at the position takes the name, mark and comments of edited.
std::unique_ptr<QUndoCommand> EditFactorChange(TDocument& document, std::int32_t position,
                                               const TTOWSItem& edited);
std::unique_ptr<QUndoCommand> DeleteFactorChange(TDocument& document, std::int32_t position);
std::unique_ptr<QUndoCommand> AddGuidelineChange(TDocument& document,
                                                 std::unique_ptr<TGuideline> guideline);
// The conclusion at the position takes the name and comments of edited.
std::unique_ptr<QUndoCommand> EditGuidelineChange(TDocument& document, int position,
                                                  const TGuideline& edited);
std::unique_ptr<QUndoCommand> DeleteGuidelineChange(TDocument& document, int position);
// Swaps the conclusions at the two positions.
std::unique_ptr<QUndoCommand> MoveGuidelineChange(TDocument& document, int from, int to);
// Links the coupling to the conclusion (a record added at the end), or
// unlinks it (its first record removed).
std::unique_ptr<QUndoCommand> LinkChange(TDocument& document, int guideline, TTOWSCouple couple,
                                         bool link);
std::unique_ptr<QUndoCommand> PropertiesChange(TDocument& document, TProjectProperties properties);
