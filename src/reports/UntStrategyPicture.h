#pragma once

#include "model/UntClassProject.h"

#include <QString>

// Draws the strategy matrix of the project and writes it to the path,
// atomically, as SVG or PNG by its extension: the conclusions in the four
// strategies, internal factor types as rows and external ones as columns,
// each with its weight there, and below them the conclusions that hold no
// coupling. In SVG every conclusion's name is one text element; a name cut
// to fit carries the whole name as its title. Raises EStorageError when the
// extension is neither or the file cannot be written; the target is then
// left as it was. Needs a QGuiApplication, for the fonts.
void SaveStrategyPicture(const TProject& project, const QString& path);
