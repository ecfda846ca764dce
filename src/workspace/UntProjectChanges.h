#pragma once

#include "UntClassProject.h"

#include <QUndoCommand>
#include <cstdint>
#include <memory>

class TMainHost;

// What a change touched, so that the screens show it.
enum class TChangeScope { Factors, Conclusions, Links, Properties };

struct TChange {
    TChangeScope Scope;
    // The conclusion to make current once the change shows; -1 for none.
    int Guideline = -1;
};

// The project's own data that the properties dialog changes.
struct TProjectProperties {
    QString Title;
    QStringList Comments;
    TLabels Labels;
};

// The changes of a project, for its history: each applies itself when pushed
// and on redo, gives back exactly what was on undo, and then tells the host
// what it touched. The history takes them over. An edit that changes nothing
// gives none; comments are the same when they read as the same text and
// styles.
std::unique_ptr<QUndoCommand> AddFactorChange(TMainHost& host, TProject& project,
                                              std::unique_ptr<TTOWSItem> factor);
// The factor at the position takes the name, mark and comments of edited.
std::unique_ptr<QUndoCommand> EditFactorChange(TMainHost& host, TProject& project,
                                               std::int32_t position, const TTOWSItem& edited);
std::unique_ptr<QUndoCommand> DeleteFactorChange(TMainHost& host, TProject& project,
                                                 std::int32_t position);
std::unique_ptr<QUndoCommand> AddGuidelineChange(TMainHost& host, TProject& project,
                                                 std::unique_ptr<TGuideline> guideline);
// The conclusion at the position takes the name and comments of edited.
std::unique_ptr<QUndoCommand> EditGuidelineChange(TMainHost& host, TProject& project, int position,
                                                  const TGuideline& edited);
std::unique_ptr<QUndoCommand> DeleteGuidelineChange(TMainHost& host, TProject& project,
                                                    int position);
// Swaps the conclusions at the two positions.
std::unique_ptr<QUndoCommand> MoveGuidelineChange(TMainHost& host, TProject& project, int from,
                                                  int to);
// Links the coupling to the conclusion (a record added at the end), or
// unlinks it (its first record removed).
std::unique_ptr<QUndoCommand> LinkChange(TMainHost& host, TProject& project, int guideline,
                                         TTOWSCouple couple, bool link);
std::unique_ptr<QUndoCommand> PropertiesChange(TMainHost& host, TProject& project,
                                               TProjectProperties properties);
