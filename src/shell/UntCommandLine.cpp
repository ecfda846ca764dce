#include "shell/UntCommandLine.h"

#include "model/UntStrings.h"
#include "reports/UntComparisonReport.h"
#include "reports/UntConvert.h"
#include "reports/UntPictures.h"
#include "reports/UntReportExport.h"
#include "reports/UntStrategyPicture.h"
#include "shell/UntApplication.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntIO.h"
#include "storage/UntInterchange.h"
#include "storage/UntProgramFolder.h"
#include "storage/UntUtils.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QStringList>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// A message of the string table on one line.
QString OneLine(const QString& message) {
    return message.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
}

// The signal that asked the program to end, or 0.
volatile std::sig_atomic_t Interruption = 0;

extern "C" void Interrupt(int signal) {
    Interruption = signal;
}

// Ctrl+C or a request to end stops a report at its next stage, or its
// conversion, and a picture at its next row, so that the report, the
// converter and the working files are cleared away instead of left half done.
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

void StopPictureWhenInterrupted() {
    if (Interruption)
        throw EMerovanError(LoadStr(StrPictureInterrupted));
}

enum class TJob {
    Help,
    Version,
    TextReport,
    TableReport,
    SwotPicture,
    TowsPicture,
    StrategyPicture,
    Export,
    Import,
    Compare
};

struct TOption {
    const char* Name;
    TJob Job;
    // The message when the option lacks its project and output; 0 for the
    // options that take none.
    int ArgumentsMessage;
};

constexpr TOption Options[] = {
    {"--help", TJob::Help, 0},
    {"-h", TJob::Help, 0},
    {"--version", TJob::Version, 0},
    {"--text-report", TJob::TextReport, StrReportArguments},
    {"--table-report", TJob::TableReport, StrReportArguments},
    {"--swot-picture", TJob::SwotPicture, StrPictureArguments},
    {"--tows-picture", TJob::TowsPicture, StrPictureArguments},
    {"--strategy-picture", TJob::StrategyPicture, StrPictureArguments},
    {"--export", TJob::Export, StrExportArguments},
    {"--import", TJob::Import, StrImportArguments},
    {"--compare", TJob::Compare, StrCompareArguments},
};

const TOption* FindOption(const QString& name) {
    for (const TOption& option : Options)
        if (name == QLatin1String(option.Name))
            return &option;
    return nullptr;
}

struct TRequest {
    TJob Job;
    QString Project;
    QString Output;
    // The older version, which a comparison names before the project.
    QString Older;
};

// The requests of the arguments, or the message of the first mistake.
struct TParsed {
    std::vector<TRequest> Requests;
    QString Mistake;
};

TParsed Parse(const QStringList& arguments) {
    TParsed parsed;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const TOption* option = FindOption(arguments[i]);
        if (!option) {
            parsed.Mistake = FillTemplate(LoadStr(StrUnknownOption), arguments[i]);
            return parsed;
        }
        TRequest request{option->Job, {}, {}, {}};
        if (option->ArgumentsMessage != 0) {
            const qsizetype files = option->Job == TJob::Compare ? 3 : 2;
            // The next option is never taken for a file: it shows that one is missing.
            bool complete = i + files < arguments.size();
            for (qsizetype f = 1; complete && f <= files; ++f)
                complete = !FindOption(arguments[i + f]);
            if (!complete) {
                parsed.Mistake = FillTemplate(LoadStr(option->ArgumentsMessage), arguments[i]);
                return parsed;
            }
            if (option->Job == TJob::Compare)
                request.Older = arguments[++i];
            request.Project = arguments[++i];
            request.Output = arguments[++i];
        }
        parsed.Requests.push_back(request);
    }
    return parsed;
}

void WriteReport(TReportKind kind, const TProject& project, const QString& output) {
    const int format = ReportFormatOf(kind, output);
    if (format == 0)
        throw EMerovanError(FillTemplate(LoadStr(StrReportExtension),
                                         ReportInfo(kind).Extensions.join(QStringLiteral(", "))));
    try {
        ExportReport(
            kind, project, ProgramFolder(), output, format, [](int) { StopWhenInterrupted(); },
            StopWhenInterrupted);
    } catch (const EOfficeMissing&) {
        // Says all, and what to install.
        throw;
    } catch (const EConversionError& error) {
        throw EConversionError(OneLine(LoadStr(ReportInfo(kind).FailureMessage)) +
                               QStringLiteral(" (") + error.Message() + QLatin1Char(')'));
    }
}

// The comparison of the older version with the project, to the output.
int Compare(const TRequest& request, const TProject& newer) {
    std::unique_ptr<TProject> older;
    if (const int status = RunGuarded(request.Older, [&] { older = ReadProject(request.Older); }))
        return status;
    return RunGuarded(request.Output, [&] {
        TComparison comparison = CompareProjects(*older, newer);
        comparison.Old.File = request.Older;
        comparison.New.File = request.Project;
        try {
            WriteComparison(comparison, ProgramFolder(), request.Output, StopWhenInterrupted);
        } catch (const EOfficeMissing&) {
            throw;
        } catch (const EConversionError& error) {
            throw EConversionError(OneLine(LoadStr(StrWordExportFailed)) + QStringLiteral(" (") +
                                   error.Message() + QLatin1Char(')'));
        }
    });
}

int Run(const TRequest& request) {
    switch (request.Job) {
    case TJob::Help:
        std::printf("%s\n", qPrintable(LoadStr(StrUsage)));
        return 0;
    case TJob::Version:
        std::printf("Merovan %s\n%s\n", MEROVAN_VERSION, qPrintable(LoadStr(StrVersionLines)));
        return 0;
    default:
        break;
    }
    std::unique_ptr<TProject> project;
    QStringList remarks;
    if (const int status = RunGuarded(request.Project, [&] {
            project = request.Job == TJob::Import ? ImportProject(request.Project, &remarks)
                                                  : ReadProject(request.Project);
        }))
        return status;
    // Remarks are no failure: the status stays that of the requests.
    for (const QString& remark : remarks)
        std::fprintf(stderr, "merovan: %s: %s\n", qPrintable(request.Project),
                     qPrintable(OneLine(remark)));
    if (request.Job == TJob::Compare)
        return Compare(request, *project);
    return RunGuarded(request.Output, [&] {
        switch (request.Job) {
        case TJob::TextReport:
            WriteReport(TReportKind::Text, *project, request.Output);
            break;
        case TJob::TableReport:
            WriteReport(TReportKind::Table, *project, request.Output);
            break;
        case TJob::SwotPicture:
            SavePicture(TPictureKind::Swot, *project, request.Output, StopPictureWhenInterrupted);
            break;
        case TJob::StrategyPicture:
            SaveStrategyPicture(*project, request.Output, StopPictureWhenInterrupted);
            break;
        case TJob::Export:
            ExportProject(*project, request.Output);
            break;
        case TJob::Import:
            if (QFileInfo(request.Output).suffix() != QLatin1String("swot"))
                throw EStorageError(LoadStr(StrProjectExtension));
            WriteProject(*project, request.Output);
            break;
        default:
            SavePicture(TPictureKind::Tows, *project, request.Output, StopPictureWhenInterrupted);
        }
    });
}

} // namespace

int RunGuarded(const QString& file, const std::function<void()>& request) {
    try {
        request();
    } catch (...) {
        std::fprintf(stderr, "merovan: %s: %s\n", qPrintable(file),
                     qPrintable(OneLine(ErrorMessage(std::current_exception()))));
        return 1;
    }
    return 0;
}

std::optional<int> RunCommandLine(int argc, char* argv[]) {
    if (argc < 2)
        return std::nullopt;
    const QString first = QString::fromLocal8Bit(argv[1]);
    if (!first.startsWith(QLatin1Char('-')) || first == QLatin1String("-n"))
        return std::nullopt;

    // No window and no display from here: a mistake is told on the terminal,
    // and pictures are drawn off screen.
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const TParsed parsed = Parse(arguments);
    if (!parsed.Mistake.isEmpty()) {
        std::fprintf(stderr, "merovan: %s\n%s\n", qPrintable(parsed.Mistake),
                     qPrintable(LoadStr(StrUsage)));
        return 2;
    }
    // Only what went wrong reaches the terminal, not the toolkit's remarks on
    // the session (a missing runtime folder and the like).
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "merovan: %s\n", qPrintable(message));
    });
    const bool drawing = std::ranges::any_of(parsed.Requests, [](const TRequest& request) {
        return request.Job == TJob::SwotPicture || request.Job == TJob::TowsPicture ||
               request.Job == TJob::StrategyPicture;
    });
    std::unique_ptr<QCoreApplication> application;
    if (drawing) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    LoadQtTranslations();
    CatchInterruptions();
    int status = 0;
    for (const TRequest& request : parsed.Requests) {
        if (Run(request) != 0)
            status = 1;
        // The shell's way to say that a signal ended the program.
        if (Interruption)
            return 128 + Interruption;
    }
    return status;
}
