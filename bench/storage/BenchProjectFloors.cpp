// Reading and writing projects of growing size, each beside its floor: the
// same "content.xml" inflated and parsed, or serialised and deflated, with
// libzip and pugixml alone.
#include "Generator.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <pugixml.hpp>
#include <sstream>

namespace {

constexpr int Conclusions(int factors) {
    return std::clamp(factors / 4, 50, 500);
}

// Saves go to memory-backed storage where there is some, so that the disk's
// own flushing does not weigh on the figures.
QString Folder() {
    return QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm")
                                                     : QDir::tempPath();
}

void BM_ReadProject(benchmark::State& state) {
    QTemporaryDir folder(Folder() + QStringLiteral("/merovan-bench-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("p.swot"));
    const int factors = static_cast<int>(state.range(0));
    WriteProject(*MakeAnalysis(factors, Conclusions(factors)), path);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadProject(path));
}

void BM_ReadFloor(benchmark::State& state) {
    QTemporaryDir folder(Folder() + QStringLiteral("/merovan-bench-XXXXXX"));
    const QString path = folder.filePath(QStringLiteral("p.swot"));
    const int factors = static_cast<int>(state.range(0));
    WriteProject(*MakeAnalysis(factors, Conclusions(factors)), path);
    for (auto _ : state) {
        const QByteArray content = ExtractEntry(path, "content.xml", MaxContentSize);
        pugi::xml_document document;
        benchmark::DoNotOptimize(
            document.load_buffer(content.constData(), static_cast<size_t>(content.size())));
    }
}

void BM_WriteProject(benchmark::State& state) {
    QTemporaryDir folder(Folder() + QStringLiteral("/merovan-bench-XXXXXX"));
    const int factors = static_cast<int>(state.range(0));
    const auto project = MakeAnalysis(factors, Conclusions(factors));
    for (auto _ : state)
        WriteProject(*project, folder.filePath(QStringLiteral("p.swot")));
}

void BM_WriteFloor(benchmark::State& state) {
    QTemporaryDir folder(Folder() + QStringLiteral("/merovan-bench-XXXXXX"));
    const int factors = static_cast<int>(state.range(0));
    const QByteArray content = ProjectContent(*MakeAnalysis(factors, Conclusions(factors)));
    pugi::xml_document document;
    document.load_buffer(content.constData(), static_cast<size_t>(content.size()));
    for (auto _ : state) {
        std::ostringstream text;
        document.save(text, "", pugi::format_raw | pugi::format_no_declaration);
        const std::string bytes = text.str();
        QFile file(folder.filePath(QStringLiteral("p.swot")));
        file.open(QIODevice::WriteOnly);
        file.write(
            ZipArchive({{QStringLiteral("content.xml"), QByteArray::fromStdString(bytes), {}}}));
    }
}

} // namespace

BENCHMARK(BM_ReadProject)->Arg(100)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFloor)->Arg(100)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteProject)->Arg(100)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFloor)->Arg(100)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
