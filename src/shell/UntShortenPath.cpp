#include "shell/UntShortenPath.h"

#include <QFileInfo>

namespace {

const QString Ellipsis = QStringLiteral("...");
constexpr QChar Separator = QLatin1Char('/');

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
    return QFileInfo(path).fileName();
}

QString ShortenPath(const QString& path, int maxWidth,
                    const std::function<int(const QString&)>& measure) {
    const qsizetype nameStart = path.lastIndexOf(Separator) + 1;
    const QString name = path.mid(nameStart);
    QString folder = path.left(nameStart);
    const QString rootedEllipsis = Separator + Ellipsis + Separator;
    QString result = path;
    while (!folder.isEmpty() && measure(result) > maxWidth) {
        folder = folder == rootedEllipsis ? Ellipsis + Separator : CutFirstFolder(folder);
        result = folder + name;
    }
    return result;
}
