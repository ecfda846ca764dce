#pragma once

#include "model/UntClassProject.h"

#include <QColor>
#include <QString>
#include <functional>

// The SWOT diagram (four squares of factors) and the TOWS matrix (every
// coupling with its rating), drawn without the office suite.
enum class TPictureKind { Swot, Tows };
enum class TPictureFormat { None, Svg, Png };

// By the path's extension, whatever its case.
TPictureFormat PictureFormatOf(const QString& path);

// The colours of a factor type and of a kind of coupling in every picture.
QColor TypeColour(std::int32_t type);
QColor KindColour(TCouplingKind kind);

// Draws the picture of the project and writes it to the path, atomically, in
// the format of its extension: SVG keeps every text as text; PNG is at least
// 1,600 pixels wide unless the picture is too large to be held at that
// scale. Raises EStorageError when the extension is neither or the file
// cannot be written; the target is then left as it was. Needs a
// QGuiApplication, for the fonts.
// The title of the project is the picture's own (an SVG title, a PNG "Title"
// text), so that a file manager shows it. A name is laid out once, up to what
// its place can show (the rest elided), and in the SVG it stays one text
// element, whole, however it is wrapped.
void SavePicture(TPictureKind kind, const TProject& project, const QString& path);
// The same, calling checkpoint now and then while drawing: whatever it raises
// stops the picture, and the target is left as it was.
void SavePicture(TPictureKind kind, const TProject& project, const QString& path,
                 const std::function<void()>& checkpoint);
