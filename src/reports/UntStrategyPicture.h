#pragma once

#include "model/UntClassProject.h"

#include <QString>
#include <functional>

// Draws the strategy matrix of the project and writes it to the path, as
// WritePicture does, in the format of its extension: the conclusions in the
// four strategies, internal factor types as rows and external ones as
// columns, each with its weight there, and below them the conclusions that
// hold no coupling. Every conclusion's name is one line, elided only when
// the widest column cannot hold it; in SVG it is one text element, whose
// title is then the whole name. Raises EStorageError when the extension is
// neither SVG nor PNG or the file cannot be written; the target is then left
// as it was.
void SaveStrategyPicture(const TProject& project, const QString& path);
// The same, calling checkpoint now and then while drawing: whatever it raises
// stops the picture, and the target is left as it was.
void SaveStrategyPicture(const TProject& project, const QString& path,
                         const std::function<void()>& checkpoint);
