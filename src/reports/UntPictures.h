#pragma once

#include "model/UntClassProject.h"
#include "reports/UntPictureSurface.h"

#include <QString>
#include <functional>

// The SWOT diagram (four squares of factors) and the TOWS matrix (every
// coupling with its rating), drawn without the office suite.
enum class TPictureKind { Swot, Tows };

// Draws the picture of the project and writes it to the path, as
// WritePicture does, in the format of its extension; raises EStorageError
// for another. A name is laid out once, up to what its place can show (the
// rest elided), and in the SVG it stays one text element, whole, however it
// is wrapped.
void SavePicture(TPictureKind kind, const TProject& project, const QString& path);
// The same, calling checkpoint now and then while drawing: whatever it raises
// stops the picture, and the target is left as it was.
void SavePicture(TPictureKind kind, const TProject& project, const QString& path,
                 const std::function<void()>& checkpoint);
