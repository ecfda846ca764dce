#pragma once

#include <QString>
#include <functional>

// Shortens a path until its measured width fits, cutting folder names from
// the front ("/a/b/c/f" → "/.../b/c/f" → "/.../c/f" → "/.../f" → ".../f" →
// "f"), and stops at the first form that fits or at the bare file name.
QString ShortenPath(const QString& path, int maxWidth,
                    const std::function<int(const QString&)>& measure);

// The file-name part of a path: the text after the last "/", the only
// separator of folders on Linux.
QString FileNamePart(const QString& path);
