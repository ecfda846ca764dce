// The report builders on growing projects; conversions with the office suite
// running, against LibreOffice's own command-line conversion; and four
// reports in one call of the program against four calls.
#include "Generator.h"
#include "Memory.h"
#include "reports/UntReportExport.h"
#include "reports/UntReportJob.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"
#include "storage/UntRtf.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <malloc.h>
#include <thread>

namespace {

// n factors of each type, n conclusions.
std::unique_ptr<TProject> Project(int n) {
    return MakeAnalysis(4 * n, n);
}

void BM_TextReport(benchmark::State& state) {
    const auto project = Project(static_cast<int>(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = BuildReportPackage(TReportKind::Text, *project, ProgramFolder()).size();
    state.counters["package bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TextReport)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The matrix sheet has one cell per coupling, written as runs around the held
// ones: its output grows with the rows and the held couplings.
void BM_TableReport(benchmark::State& state) {
    const auto project = Project(static_cast<int>(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = BuildReportPackage(TReportKind::Table, *project, ProgramFolder()).size();
    state.counters["package bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TableReport)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The peak memory of the table report against the cells of its matrix: n
// factors of each type make (2n)^2 cells.
void BM_TableReportMemory(benchmark::State& state) {
    const auto project = Project(static_cast<int>(state.range(0)));
    qint64 peak = 0;
    for (auto _ : state) {
        // Freed memory goes back to the system, so that what the report takes
        // shows in the resident memory instead of coming from the free lists.
        malloc_trim(0);
        QFile reset(QStringLiteral("/proc/self/clear_refs"));
        if (!reset.open(QIODevice::WriteOnly) || reset.write("5") != 1) {
            state.SkipWithError("the peak of resident memory cannot be reset");
            return;
        }
        reset.close();
        const qint64 before = ResidentBytes("VmRSS:");
        BuildReportPackage(TReportKind::Table, *project, ProgramFolder());
        peak = ResidentBytes("VmHWM:") - before;
    }
    const double cells =
        4.0 * static_cast<double>(state.range(0)) * static_cast<double>(state.range(0));
    state.counters["cells"] = cells;
    state.counters["peak MiB"] = static_cast<double>(peak) / (1 << 20);
}
BENCHMARK(BM_TableReportMemory)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// One comment of growing length, styled every few words: the report's cost
// must follow its length, not its square.
void BM_TextReportComment(benchmark::State& state) {
    TRtfParagraph runs;
    for (qsizetype length = 0; length < state.range(0); length += 28) {
        runs.push_back({QStringLiteral("plain words and "), false, false, false});
        runs.push_back({QStringLiteral("bold words, "), true, false, false});
    }
    auto project = Project(1);
    project->Comments = WriteRtf({runs});
    for (auto _ : state)
        BuildReportPackage(TReportKind::Text, *project, ProgramFolder());
    state.counters["comment bytes"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_TextReportComment)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

QString Package(const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("report.sxw"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(BuildReportPackage(TReportKind::Text, *Project(20), ProgramFolder()));
    return path;
}

QString Example() {
    return ProgramFolder() + QStringLiteral("templates/Family bakery - online sales.swot");
}

// An export to PDF from the window once the suite runs: the suite started
// with the first conversion serves the next ones.
void BM_ExamplePdfWithTheSuiteRunning(benchmark::State& state) {
    QTemporaryDir folder;
    const auto project = ReadProject(Example());
    const QString target = folder.filePath(QStringLiteral("report.pdf"));
    ExportReport(TReportKind::Text, *project, ProgramFolder(), target, 3);
    for (auto _ : state)
        ExportReport(TReportKind::Text, *project, ProgramFolder(), target, 3);
}
BENCHMARK(BM_ExamplePdfWithTheSuiteRunning)
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A report of the example made as the window makes it, on the reports'
// thread; its time in milliseconds, or -1 when it failed.
qint64 ReportFromTheWindow(const TProject& project, const QString& target) {
    TReportJob job(TReportKind::Text, project, ProgramFolder(), target, 3);
    QEventLoop loop;
    bool written = false;
    QObject::connect(&job, &TReportJob::Written, &loop, [&] {
        written = true;
        loop.quit();
    });
    QObject::connect(&job, &TReportJob::Failed, &loop, &QEventLoop::quit);
    QElapsedTimer clock;
    clock.start();
    job.Start();
    loop.exec();
    return written ? clock.elapsed() : -1;
}

// The window prepares the suite once it is idle: a report asked for ten
// seconds after start-up against the next one. The first use of the reports'
// thread in the process, so that the suite is not running yet; once only.
void BM_FirstReportAfterAnIdleStart(benchmark::State& state) {
    QTemporaryDir folder;
    const auto project = ReadProject(Example());
    for (auto _ : state) {
        PrepareConversions(ProgramFolder());
        // The user looks at the window for ten seconds.
        std::this_thread::sleep_for(std::chrono::seconds(10));
        const qint64 first =
            ReportFromTheWindow(*project, folder.filePath(QStringLiteral("a.pdf")));
        const qint64 second =
            ReportFromTheWindow(*project, folder.filePath(QStringLiteral("b.pdf")));
        if (first < 0 || second < 0)
            state.SkipWithError("a report failed");
        state.counters["first ms"] = static_cast<double>(first);
        state.counters["second ms"] = static_cast<double>(second);
    }
}
BENCHMARK(BM_FirstReportAfterAnIdleStart)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// Four reports of the example in Word, Excel and OpenDocument formats.
QList<QStringList> FourRequests(const QTemporaryDir& folder) {
    const QString example = Example();
    return {{QStringLiteral("--text-report"), example, folder.filePath(QStringLiteral("a.pdf"))},
            {QStringLiteral("--table-report"), example, folder.filePath(QStringLiteral("b.xlsx"))},
            {QStringLiteral("--text-report"), example, folder.filePath(QStringLiteral("c.docx"))},
            {QStringLiteral("--table-report"), example, folder.filePath(QStringLiteral("d.ods"))}};
}

void RunProgram(benchmark::State& state, const QStringList& arguments) {
    QProcess merovan;
    merovan.start(QStringLiteral(MEROVAN_PROGRAM), arguments);
    if (!merovan.waitForFinished(300000) || merovan.exitCode() != 0)
        state.SkipWithError(merovan.readAllStandardError().constData());
}

void BM_FourReportsInOneCall(benchmark::State& state) {
    QTemporaryDir folder;
    QStringList arguments;
    for (const QStringList& request : FourRequests(folder))
        arguments += request;
    for (auto _ : state)
        RunProgram(state, arguments);
}
BENCHMARK(BM_FourReportsInOneCall)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_FourReportsInFourCalls(benchmark::State& state) {
    QTemporaryDir folder;
    for (auto _ : state)
        for (const QStringList& request : FourRequests(folder))
            RunProgram(state, request);
}
BENCHMARK(BM_FourReportsInFourCalls)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_SofficeConvertTo(benchmark::State& state) {
    QTemporaryDir folder;
    const QString source = Package(folder);
    for (auto _ : state) {
        QProcess soffice;
        soffice.start(QStringLiteral("soffice"),
                      {QStringLiteral("--headless"),
                       QStringLiteral("-env:UserInstallation=file://") +
                           folder.filePath(QStringLiteral("profile")),
                       QStringLiteral("--convert-to"), QStringLiteral("pdf"),
                       QStringLiteral("--outdir"), folder.filePath(QStringLiteral("out")), source});
        soffice.waitForFinished(120000);
    }
}
BENCHMARK(BM_SofficeConvertTo)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
