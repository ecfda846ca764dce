#include "UntCommandLine.h"

#include "UntConvert.h"
#include "UntDataModule.h"
#include "UntErrors.h"
#include "UntIO.h"
#include "UntProgramFolder.h"
#include "UntReportExport.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QCoreApplication>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// A message of the string table on one line.
QString OneLine(const QString& message) {
    return message.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

int Fail(const QString& message) {
    std::fprintf(stderr, "merovan: %s\n", qPrintable(OneLine(message)));
    return 1;
}

// The signal that asked the program to end, or 0.
volatile std::sig_atomic_t Interruption = 0;

extern "C" void Interrupt(int signal) {
    Interruption = signal;
}

// Ctrl+C or a request to end stops a report at its next stage, or its
// conversion, so that the report, the converter and the working files are
// cleared away instead of left half done.
void CatchInterruptions() {
    struct sigaction action {};
    action.sa_handler = Interrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void StopWhenInterrupted() {
    if (Interruption)
        throw EMerovanError(LoadStr(StrReportInterrupted));
}

int Report(TReportKind kind, const QString& projectPath, const QString& output) {
    const int format = ReportFormatOf(kind, output);
    if (format == 0)
        return Fail(FillTemplate(LoadStr(StrReportExtension),
                                 ReportInfo(kind).Extensions.join(QStringLiteral(", "))));
    CatchInterruptions();
    const int status = RunGuarded([&] {
        try {
            ExportReport(
                kind, *ReadProject(projectPath), ProgramFolder(), output, format,
                [](int) { StopWhenInterrupted(); }, StopWhenInterrupted);
        } catch (const EConversionError& error) {
            throw EConversionError(OneLine(LoadStr(ReportInfo(kind).FailureMessage)) +
                                   QStringLiteral(" (") + error.Message() + QLatin1Char(')'));
        }
    });
    // The shell's way to say that a signal ended the program.
    return status != 0 && Interruption ? 128 + Interruption : status;
}

} // namespace

int RunGuarded(const std::function<void()>& request) {
    try {
        request();
    } catch (...) {
        return Fail(ErrorMessage(std::current_exception()));
    }
    return 0;
}

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    if (argc < 2)
        return std::nullopt;
    const char* option = argv[1];
    const bool report =
        std::strcmp(option, "--text-report") == 0 || std::strcmp(option, "--table-report") == 0;
    const bool help = std::strcmp(option, "--help") == 0 || std::strcmp(option, "-h") == 0;
    const bool version = std::strcmp(option, "--version") == 0;
    const bool window = option[0] != '-' || std::strcmp(option, "-n") == 0;
    if (window)
        return std::nullopt;

    // No window and no display from here: a mistake is told on the terminal.
    QCoreApplication application(argc, argv);
    const auto misused = [](const QString& what) {
        std::fprintf(stderr, "merovan: %s\n%s\n", qPrintable(what), qPrintable(LoadStr(StrUsage)));
        return 2;
    };
    if (!report && !help && !version)
        return misused(FillTemplate(LoadStr(StrUnknownOption), QString::fromLocal8Bit(option)));
    if (version) {
        std::printf("Merovan 1.1\n");
        return 0;
    }
    if (help) {
        std::printf("%s\n", qPrintable(LoadStr(StrUsage)));
        return 0;
    }
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 4)
        return misused(FillTemplate(LoadStr(StrReportArguments), QString::fromLocal8Bit(option)));
    return Report(std::strcmp(option, "--text-report") == 0 ? TReportKind::Text
                                                            : TReportKind::Table,
                  arguments[2], arguments[3]);
}
