// The pictures against the number of factors and the length of a name: time
// and size of the SVG and PNG files.
#include "model/UntClassProject.h"
#include "reports/UntPictures.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// perType factors of each type with cycling marks, each name of the length
// given (Japanese without blanks) or short.
std::unique_ptr<TProject> Project(int perType, int nameLength = 0) {
    auto project = std::make_unique<TProject>();
    project->Title = QStringLiteral("Generated");
    const QString repeated =
        QString::fromUtf8("市場への参入と顧客との関係").repeated(nameLength / 13 + 1);
    for (int i = 0; i < 4 * perType; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = nameLength > 0 ? repeated.left(nameLength - 4) + QString::number(1000 + i)
                                    : QStringLiteral("Factor number %1").arg(i);
        item->SwotType = i % 4 + 1;
        item->Mark = i / 4 % 3 + 1;
        project->Items.push_back(std::move(item));
    }
    return project;
}

void Run(benchmark::State& state, TPictureKind kind, const TProject& project, const char* suffix) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("picture.") + QLatin1String(suffix));
    for (auto _ : state)
        SavePicture(kind, project, path);
    state.counters["bytes"] = static_cast<double>(QFileInfo(path).size());
}

void BM_TowsSvg(benchmark::State& state) {
    Run(state, TPictureKind::Tows, *Project(static_cast<int>(state.range(0))), "svg");
}
BENCHMARK(BM_TowsSvg)->Arg(25)->Arg(50)->Arg(100)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_TowsPng(benchmark::State& state) {
    Run(state, TPictureKind::Tows, *Project(static_cast<int>(state.range(0))), "png");
}
BENCHMARK(BM_TowsPng)->Arg(25)->Arg(50)->Arg(100)->Arg(150)->Unit(benchmark::kMillisecond);

void BM_SwotSvg(benchmark::State& state) {
    Run(state, TPictureKind::Swot, *Project(static_cast<int>(state.range(0))), "svg");
}
BENCHMARK(BM_SwotSvg)->Arg(25)->Arg(50)->Arg(100)->Arg(150)->Unit(benchmark::kMillisecond);

// One factor of each type whose name is that long, without a blank.
void BM_SwotLongName(benchmark::State& state) {
    Run(state, TPictureKind::Swot, *Project(1, static_cast<int>(state.range(0))), "svg");
}
BENCHMARK(BM_SwotLongName)
    ->Arg(1'000)
    ->Arg(3'000)
    ->Arg(100'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond);

void BM_TowsLongName(benchmark::State& state) {
    Run(state, TPictureKind::Tows, *Project(1, static_cast<int>(state.range(0))), "png");
}
BENCHMARK(BM_TowsLongName)
    ->Arg(1'000)
    ->Arg(3'000)
    ->Arg(100'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
