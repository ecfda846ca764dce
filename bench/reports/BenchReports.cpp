// The report builders on growing projects, and merovan-convert against
// LibreOffice's own command-line conversion of the same package.
#include "Generator.h"
#include "UntConvert.h"
#include "UntDataModule.h"
#include "UntProgramFolder.h"
#include "UntReportExport.h"
#include "UntRtf.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

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

// The matrix sheet holds one cell per coupling: its output grows as n squared.
void BM_TableReport(benchmark::State& state) {
    const auto project = Project(static_cast<int>(state.range(0)));
    qsizetype bytes = 0;
    for (auto _ : state)
        bytes = BuildReportPackage(TReportKind::Table, *project, ProgramFolder()).size();
    state.counters["package bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_TableReport)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

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

void BM_MerovanConvert(benchmark::State& state) {
    QTemporaryDir folder;
    const QString source = Package(folder);
    for (auto _ : state)
        ConvertDocument(source, folder.filePath(QStringLiteral("report.pdf")),
                        QStringLiteral("writer_pdf_Export"));
}
BENCHMARK(BM_MerovanConvert)->Iterations(5)->UseRealTime()->Unit(benchmark::kMillisecond);

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
