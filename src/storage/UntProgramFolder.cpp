#include "storage/UntProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

QString ProgramFolder() {
    const QString chosen = qEnvironmentVariable("MEROVAN_DATA_DIR");
    if (!chosen.isEmpty())
        return QDir(chosen).absolutePath() + QLatin1Char('/');
    const QDir program(QCoreApplication::applicationDirPath());
    // The build folder keeps the tests and benchmarks one level below the program.
    for (const QString& candidate : {program.path(), program.filePath(QStringLiteral("..")),
                                     program.filePath(QStringLiteral("../share/merovan"))})
        if (QFileInfo(candidate + QStringLiteral("/templates")).isDir())
            return QDir(candidate).absolutePath() + QLatin1Char('/');
    return program.absolutePath() + QLatin1Char('/');
}

QString LocalizedFile(const QString& relative) {
    const QString folder = ProgramFolder();
    // Same language test as the string table's, so files and texts never disagree.
    if (QLocale().language() == QLocale::French) {
        const qsizetype name = relative.lastIndexOf(QLatin1Char('/')) + 1;
        const QString french =
            folder + relative.left(name) + QStringLiteral("fr/") + relative.mid(name);
        if (QFileInfo::exists(french))
            return french;
    }
    return folder + relative;
}

QString ReferenceTemplate() {
    return LocalizedFile(QStringLiteral("templates/reference.swot"));
}
