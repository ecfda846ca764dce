#include "UntProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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

QString ReferenceTemplate() {
    return ProgramFolder() + QStringLiteral("templates/reference.swot");
}
