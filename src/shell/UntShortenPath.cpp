#include "UntShortenPath.h"

namespace {

const QString Ellipsis = QStringLiteral("...");
constexpr QChar Separator = QLatin1Char('/');

int LastSeparator(const QString& path) {
    const int slash = path.lastIndexOf(Separator);
    const int colon = path.lastIndexOf(QLatin1Char(':'));
    return std::max(slash, colon);
}

// Cuts the first folder name of a folder part that ends with a separator.
QString CutFirstFolder(QString folder) {
    if (folder == Separator)
        return {};
    const bool rooted = folder.startsWith(Separator);
    if (rooted)
        folder.remove(0, 1);
    if (folder.startsWith(Ellipsis + Separator))
        folder.remove(0, Ellipsis.size() + 1);
    const int next = folder.indexOf(Separator);
    folder = next < 0 ? QString() : Ellipsis + Separator + folder.mid(next + 1);
    if (rooted)
        folder.prepend(Separator);
    return folder;
}

} // namespace

QString FileNamePart(const QString& path) {
    return path.mid(LastSeparator(path) + 1);
}

QString ShortenPath(const QString& path, int maxWidth,
                    const std::function<int(const QString&)>& measure) {
    const int nameStart = LastSeparator(path) + 1;
    const QString name = path.mid(nameStart);
    QString folder = path.left(nameStart);
    QString drive;
    if (folder.size() >= 2 && folder[1] == QLatin1Char(':')) {
        drive = folder.left(2);
        folder.remove(0, 2);
    }
    const QString rootedEllipsis = Separator + Ellipsis + Separator;
    QString result = path;
    while ((!folder.isEmpty() || !drive.isEmpty()) && measure(result) > maxWidth) {
        if (folder == rootedEllipsis) {
            drive.clear();
            folder = Ellipsis + Separator;
        } else if (folder.isEmpty()) {
            drive.clear();
        } else {
            folder = CutFirstFolder(folder);
        }
        result = drive + folder + name;
    }
    return result;
}
