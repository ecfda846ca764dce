#pragma once

#include "storage/UntRecovery.h"

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

// The texts of the recovery flow, in the interface's language: they tell a
// copy from another one of the same project by when it was made and its size,
// and say when the project's file was saved after it.

// The question that offers the copy, before the choice of its fate.
QString RecoveryOffer(const TOrphanCopy& orphan);

// The time alone for today, the date too for another day.
QString MomentText(const QDateTime& moment);

// The name a recovered project goes by: its file's name, or its title when
// no file holds it.
QString RecoveredName(const QString& title, const std::optional<QString>& path);

// Where each copy that could not be read is kept, and why.
QString UnreadableCopiesText(const std::vector<TUnreadableCopy>& copies);
