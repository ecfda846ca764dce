#include "reports/UntConvert.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// The bridge gives up on a conversion after 180 seconds by itself; this is
// the last resort.
constexpr int TimeLimitMs = 200'000;

// The bridge of the calling thread, started at its first conversion, so that
// the office suite starts once. A QProcess serves only the thread it lives in,
// and the kernel tells the bridge when the thread that started it ends: the
// bridge ends with the thread, and with the program however it ends.
thread_local std::unique_ptr<QProcess> Bridge;

QProcess& StartedBridge() {
    // A bridge that ended meanwhile is seen ended only once asked.
    if (Bridge && !Bridge->waitForFinished(0) && Bridge->state() == QProcess::Running)
        return *Bridge;
    Bridge.reset();
    const QString converter = ConverterPath();
    if (!QFileInfo(converter).isExecutable())
        throw EConversionError(QStringLiteral("%1 is missing").arg(converter));
    const QString office =
        qEnvironmentVariable("MEROVAN_OFFICE_DIR", QStringLiteral(MEROVAN_OFFICE_PROGRAM));
    const QString launcher = office + QStringLiteral("/soffice");
    if (!QFileInfo(launcher).isExecutable())
        throw EOfficeMissing(FillTemplate(LoadStr(StrOfficeMissing), launcher));
    // Runs on the application's thread, for that thread's bridge.
    [[maybe_unused]] static const bool stoppedAtExit = [] {
        qAddPostRoutine(StopConverter);
        return true;
    }();
    auto bridge = std::make_unique<QProcess>();
    const pid_t parent = ::getpid();
    bridge->setChildProcessModifier([parent] {
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The program may have died before the request was made.
        if (::getppid() != parent)
            ::_exit(1);
    });
    // LibreOffice's libraries find one another in the suite's folder only.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString libraries = environment.value(QStringLiteral("LD_LIBRARY_PATH"));
    environment.insert(QStringLiteral("LD_LIBRARY_PATH"),
                       libraries.isEmpty() ? office : office + QLatin1Char(':') + libraries);
    bridge->setProcessEnvironment(environment);
    bridge->start(converter, {QStringLiteral("--serve")});
    if (!bridge->waitForStarted())
        throw EConversionError(bridge->errorString());
    Bridge = std::move(bridge);
    return *Bridge;
}

QByteArray Field(const QString& text) {
    return text.toUtf8().toPercentEncoding();
}

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
                     const std::function<void()>& whileWaiting,
                     const std::function<void()>& begun) {
    QProcess& bridge = StartedBridge();
    bridge.write(Field(QFileInfo(source).absoluteFilePath()) + '\t' +
                 Field(QFileInfo(target).absoluteFilePath()) + '\t' + Field(filter) + '\n');
    // A conversion left unanswered (the time limit, or whileWaiting throwing)
    // stops the bridge, so that it removes what it made; the next conversion
    // starts another.
    auto abandon = qScopeGuard(StopConverter);
    const QDeadlineTimer deadline(TimeLimitMs);
    QString answer;
    // The bridge says when the suite, started, begins to convert; then it answers.
    do {
        while (!bridge.canReadLine()) {
            if (bridge.state() == QProcess::NotRunning || !bridge.waitForReadyRead(50)) {
                if (bridge.state() == QProcess::NotRunning) {
                    const QString reason =
                        QString::fromLocal8Bit(bridge.readAllStandardError()).trimmed();
                    throw EConversionError(reason.isEmpty() ? bridge.errorString() : reason);
                }
                if (deadline.hasExpired())
                    throw EConversionError(
                        QStringLiteral("the office suite did not finish in time"));
                if (whileWaiting)
                    whileWaiting();
            }
        }
        answer = QString::fromUtf8(bridge.readLine()).trimmed();
        if (answer == QLatin1String("converting") && begun)
            begun();
    } while (answer == QLatin1String("converting"));
    abandon.dismiss();
    if (answer != QLatin1String("ok"))
        throw EConversionError(answer.startsWith(QLatin1String("error "))
                                   ? answer.mid(6)
                                   : QStringLiteral("the bridge answered: %1").arg(answer));
}

void StopConverter() {
    if (!Bridge)
        return;
    // The bridge ends the suite when asked to stop, and is killed only when it does not.
    Bridge->terminate();
    if (!Bridge->waitForFinished(5000))
        Bridge->kill();
    Bridge->waitForFinished(1000);
    Bridge.reset();
}
