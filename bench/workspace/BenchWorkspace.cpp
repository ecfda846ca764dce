// The workspace on a large analysis: the coupling view built, rebuilt, moved
// through and a deletion undone under it, at one and at 25 million couplings;
// the factor lists refilled with thousands of factors; on the offscreen
// platform.
#include "Generator.h"
#include "Memory.h"
#include "history/UntDocument.h"
#include "history/UntProjectChanges.h"
#include "model/UntClassProject.h"
#include "storage/UntIO.h"
#include "workspace/UntCouplingTreeModel.h"
#include "workspace/UntFraTOWS.h"
#include "workspace/UntFraTOWS2.h"
#include "workspace/UntFraTOWSMat.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QProcess>
#include <QRadioButton>
#include <QSlider>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <malloc.h>

namespace {

// factorsPerType factors of each type with cycling marks.
std::unique_ptr<TProject> LargeProject(int factorsPerType) {
    auto project = std::make_unique<TProject>();
    for (int i = 0; i < 4 * factorsPerType; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QStringLiteral("Factor number %1").arg(i);
        item->SwotType = i % 4 + 1;
        item->Mark = i / 4 % 3 + 1;
        project->Items.push_back(std::move(item));
    }
    return project;
}

class THost : public TMainHost {
public:
    TDocument* Document() override { return FDocument.get(); }
    TModalSeam& Seam() override { return FSeam; }
    void ShowHelpTopic(int) override {}
    QAction* PropertiesAction() override { return &FProperties; }
    TCouplingViewSettings CouplingViewSettings() const override { return FSettings; }
    void SetCouplingViewSettings(const TCouplingViewSettings& settings) override {
        FSettings = settings;
    }
    double SplitRatio() const override { return FRatio; }
    void SetSplitRatio(double ratio) override { FRatio = ratio; }
    bool EditFactor(TTOWSItem&, bool) override { return false; }
    bool EditGuideline(TGuideline&, const TGuideline*) override { return false; }

    std::unique_ptr<TDocument> FDocument;

private:
    TModalSeam FSeam;
    QAction FProperties;
    TCouplingViewSettings FSettings;
    double FRatio = 0.66;
};

struct TWorkspace {
    explicit TWorkspace(int factorsPerType) : TWorkspace(LargeProject(factorsPerType)) {}
    explicit TWorkspace(std::unique_ptr<TProject> project) {
        host.FDocument = std::make_unique<TDocument>(std::move(project));
        workspace = std::make_unique<TFraTOWS>(host, nullptr);
        workspace->resize(1200, 800);
        workspace->show();
        workspace->UpdateView();
    }

    // Clicked as a user would.
    TFraTOWSGroup* ShowCouplingView() {
        workspace->findChild<QRadioButton*>("RGVisuCouplings")->click();
        return workspace->findChild<TFraTOWSGroup*>();
    }
    void ShowMatrix() { workspace->findChild<QRadioButton*>("RGVisuMatrix")->click(); }

    THost host;
    std::unique_ptr<TFraTOWS> workspace;
};

// The first factor deleted, then the deletion undone, the screens redrawn
// after each: the undo timed.
void TimeDeletionUndone(benchmark::State& state, TWorkspace& fixture) {
    TDocument& document = *fixture.host.Document();
    for (auto _ : state) {
        state.PauseTiming();
        document.Apply(DeleteFactorChange(document, 0));
        QApplication::processEvents();
        state.ResumeTiming();
        document.undo();
        QApplication::processEvents();
    }
}

// Switching to the coupling view: the view made, its tree built and shown.
void BM_CouplingViewBuild(benchmark::State& state) {
    TWorkspace fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        fixture.ShowMatrix();
        QApplication::processEvents();
        state.ResumeTiming();
        TFraTOWSGroup* view = fixture.ShowCouplingView();
        QApplication::processEvents();
        benchmark::DoNotOptimize(view);
    }
    const qsizetype internal = 2 * state.range(0);
    state.counters["couplings"] = static_cast<double>(internal * internal);
}
BENCHMARK(BM_CouplingViewBuild)->Arg(500)->Arg(2500)->Unit(benchmark::kMillisecond);

// A change of threshold and of filter, each rebuilding the tree.
void BM_CouplingViewRebuild(benchmark::State& state) {
    TWorkspace fixture(static_cast<int>(state.range(0)));
    TFraTOWSGroup* view = fixture.ShowCouplingView();
    int step = 0;
    for (auto _ : state) {
        view->findChild<QSlider*>("TrackBar1")->setValue(step % 6 + 1);
        auto* filter = view->findChild<QComboBox*>("CbFilter");
        filter->setCurrentIndex(step % 5);
        emit filter->activated(step % 5);
        QApplication::processEvents();
        ++step;
    }
    state.counters["rebuilds"] = benchmark::Counter(2.0 * step, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CouplingViewRebuild)->Arg(500)->Arg(2500)->Unit(benchmark::kMillisecond);

// End and Home in turn, the view drawn after each.
void BM_CouplingViewEnd(benchmark::State& state) {
    TWorkspace fixture(static_cast<int>(state.range(0)));
    TFraTOWSGroup* view = fixture.ShowCouplingView();
    auto* tree = view->findChild<QAbstractItemView*>("TOWSTree");
    tree->setFocus();
    int step = 0;
    for (auto _ : state) {
        QKeyEvent key(QEvent::KeyPress, step++ % 2 == 0 ? Qt::Key_End : Qt::Key_Home,
                      Qt::NoModifier);
        QApplication::sendEvent(tree, &key);
        tree->viewport()->repaint();
    }
}
BENCHMARK(BM_CouplingViewEnd)->Arg(2500)->Unit(benchmark::kMillisecond);

// A factor deleted, then the deletion undone, with the coupling view shown:
// the undo timed.
void BM_CouplingViewUndo(benchmark::State& state) {
    TWorkspace fixture(MakeAnalysis(static_cast<int>(state.range(0)), 500));
    fixture.ShowCouplingView();
    TimeDeletionUndone(state, fixture);
}
BENCHMARK(BM_CouplingViewUndo)->Arg(10000)->Unit(benchmark::kMillisecond);

// The memory the coupling view takes when shown, by the number of couplings.
void BM_CouplingViewMemory(benchmark::State& state) {
    for (auto _ : state) {
        TWorkspace fixture(static_cast<int>(state.range(0)));
        QApplication::processEvents();
        malloc_trim(0);
        const qint64 before = ResidentBytes("VmRSS:");
        fixture.ShowCouplingView();
        QApplication::processEvents();
        malloc_trim(0);
        state.counters["view MiB"] =
            static_cast<double>(ResidentBytes("VmRSS:") - before) / (1 << 20);
    }
    const double internal = 2.0 * static_cast<double>(state.range(0));
    state.counters["couplings"] = internal * internal;
}
BENCHMARK(BM_CouplingViewMemory)->Arg(250)->Arg(2500)->Iterations(1)->Unit(benchmark::kMillisecond);

// The four factor lists refilled, as after every factor command.
void BM_FactorListsRefill(benchmark::State& state) {
    TWorkspace fixture(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        fixture.workspace->findChild<TFraTOWSMat*>()->UpdateView();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FactorListsRefill)->Arg(500)->Arg(2500)->Unit(benchmark::kMillisecond);

// A factor deleted from a project of 10,000 factors and 500 conclusions, and
// the deletion undone: each with the lists redrawn, as the user sees it.
void BM_FactorDelete(benchmark::State& state) {
    TWorkspace fixture(MakeAnalysis(static_cast<int>(state.range(0)), 500));
    TDocument& document = *fixture.host.Document();
    for (auto _ : state) {
        document.Apply(DeleteFactorChange(document, 0));
        QApplication::processEvents();
        state.PauseTiming();
        document.undo();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FactorDelete)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_FactorDeleteUndone(benchmark::State& state) {
    TWorkspace fixture(MakeAnalysis(static_cast<int>(state.range(0)), 500));
    TimeDeletionUndone(state, fixture);
}
BENCHMARK(BM_FactorDeleteUndone)->Arg(10000)->Unit(benchmark::kMillisecond);

// The memory a history of 1,000 changes holds on a project of 10,000
// factors: factors renamed and factors deleted, in turn.
void BM_HistoryMemory(benchmark::State& state) {
    for (auto _ : state) {
        TDocument document(MakeAnalysis(10000, 500));
        const TProject& project = document.Project();
        malloc_trim(0);
        const qint64 before = ResidentBytes("VmRSS:");
        for (int change = 0; change < state.range(0); ++change) {
            if (change % 2 == 0) {
                TTOWSItem renamed = *project.Items[static_cast<std::size_t>(change)];
                renamed.Name += QStringLiteral(" renamed");
                document.Apply(EditFactorChange(document, change, renamed));
            } else {
                document.Apply(DeleteFactorChange(document, 0));
            }
        }
        malloc_trim(0);
        state.counters["history MiB"] =
            static_cast<double>(ResidentBytes("VmRSS:") - before) / (1 << 20);
    }
}
BENCHMARK(BM_HistoryMemory)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Start-up to the first window shown, beside a bare Qt window.
void RunUntilShown(benchmark::State& state, const QString& program, const QStringList& arguments) {
    QTemporaryDir configuration;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configuration.path());
    environment.insert(QStringLiteral("MEROVAN_QUIT_WHEN_SHOWN"), QStringLiteral("1"));
    for (auto _ : state) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        process.waitForFinished(30000);
    }
}

void BM_StartUp(benchmark::State& state) {
    RunUntilShown(state, QStringLiteral(MEROVAN_PROGRAM), {QStringLiteral("-n")});
}
BENCHMARK(BM_StartUp)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);

// A project of 10,000 factors and 500 conclusions opened from the command
// line, to the window shown.
void BM_OpenLargeProject(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("large.swot"));
    WriteProject(*MakeAnalysis(static_cast<int>(state.range(0)), 500), path);
    RunUntilShown(state, QStringLiteral(MEROVAN_PROGRAM), {path});
}
BENCHMARK(BM_OpenLargeProject)
    ->Arg(10000)
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_BareWindow(benchmark::State& state) {
    RunUntilShown(state, QStringLiteral(MEROVAN_BARE_WINDOW), {});
}
BENCHMARK(BM_BareWindow)->Iterations(10)->UseRealTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
