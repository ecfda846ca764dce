#include "UntConvert.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>

namespace {

// merovan-convert gives up after 180 seconds by itself; this is the last resort.
constexpr int TimeLimitMs = 200'000;

} // namespace

QString ConverterPath() {
    const QString chosen = qEnvironmentVariable("MEROVAN_CONVERT");
    if (!chosen.isEmpty())
        return chosen;
    // Beside the program in its build folder, in libexec once installed.
    const QString folder = QCoreApplication::applicationDirPath();
    const QString beside = folder + QStringLiteral("/merovan-convert");
    const QString installed = folder + QStringLiteral("/../libexec/merovan/merovan-convert");
    return QFileInfo(beside).isExecutable() || !QFileInfo(installed).isExecutable()
               ? beside
               : QFileInfo(installed).canonicalFilePath();
}

void ConvertDocument(const QString& source, const QString& target, const QString& filter,
                     const std::function<void()>& whileWaiting) {
    const QString converter = ConverterPath();
    if (!QFileInfo(converter).isExecutable())
        throw EConversionError(QStringLiteral("%1 is missing").arg(converter));
    QProcess process;
    process.start(converter, {source, target, filter});
    if (!process.waitForStarted())
        throw EConversionError(process.errorString());
    // Whatever ends the wait (the time limit, or whileWaiting throwing), the
    // converter is asked to stop, so that it removes what it made; it is
    // killed only when it does not.
    const auto stop = qScopeGuard([&process] {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000))
            process.kill();
    });
    const QDeadlineTimer deadline(TimeLimitMs);
    while (!process.waitForFinished(50)) {
        if (deadline.hasExpired())
            throw EConversionError(QStringLiteral("the office suite did not finish in time"));
        if (whileWaiting)
            whileWaiting();
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString reason = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
        throw EConversionError(reason.isEmpty() ? process.errorString() : reason);
    }
}
