// Reading and writing project files: large analyses, and hostile files that
// must be refused fast.
#include "storage/UntIO.h"
#include "storage/UntRtf.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

std::unique_ptr<TProject> LargeProject(int factors) {
    auto project = std::make_unique<TProject>();
    const QStringList comment = WriteRtf({{{"A comment with "}, {"bold", true}, {" words."}}});
    for (int i = 0; i < factors; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QStringLiteral("Factor %1").arg(i);
        item->SwotType = i % 4 + 1;
        item->Mark = i % 3 + 1;
        item->Comments = comment;
        project->Items.push_back(std::move(item));
    }
    for (int g = 0; g < factors / 10; ++g) {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = QStringLiteral("Conclusion %1").arg(g);
        guideline->Comments = comment;
        for (int k = 0; k < 10; ++k)
            guideline->AddCouple(4 * ((g + k) % (factors / 4)),
                                 4 * ((g + 3 * k) % (factors / 4)) + 2);
        project->Guidelines.push_back(std::move(guideline));
    }
    return project;
}

void BM_WriteProject(benchmark::State& state) {
    const auto project = LargeProject(static_cast<int>(state.range(0)));
    QTemporaryDir folder;
    for (auto _ : state)
        WriteProject(*project, folder.filePath("large.swot"));
}
BENCHMARK(BM_WriteProject)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ReadProject(benchmark::State& state) {
    QTemporaryDir folder;
    WriteProject(*LargeProject(static_cast<int>(state.range(0))), folder.filePath("large.swot"));
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadProject(folder.filePath("large.swot")));
}
BENCHMARK(BM_ReadProject)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_RefuseHostileFile(benchmark::State& state, const char* name) {
    const QString path = QStringLiteral(MEROVAN_FIXTURES_DIR "/") + QString::fromLatin1(name);
    for (auto _ : state) {
        try {
            ReadProject(path);
            state.SkipWithError("a hostile file was read");
        } catch (const EStorageError&) {
        }
    }
}
BENCHMARK_CAPTURE(BM_RefuseHostileFile, ZipBomb, "hostile/zip-bomb.swot")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseHostileFile, Entities, "hostile/entities.swot")
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefuseHostileFile, Deep, "hostile/deep.swot")->Unit(benchmark::kMillisecond);

} // namespace
