// Coupling orders and factor deletion on large analyses.
#include "model/UntCouplingOrders.h"

#include <benchmark/benchmark.h>

namespace {

// n factors of each type with cycling marks, and n conclusions linked to ten
// couplings each.
std::unique_ptr<TProject> LargeProject(int n) {
    auto project = std::make_unique<TProject>();
    for (int i = 0; i < 4 * n; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QStringLiteral("Factor %1").arg(i);
        item->SwotType = i % 4 + 1;
        item->Mark = i % 3 + 1;
        project->Items.push_back(std::move(item));
    }
    for (int g = 0; g < n; ++g) {
        auto guideline = std::make_unique<TGuideline>();
        for (int k = 0; k < 10; ++k)
            guideline->AddCouple(4 * ((g + k) % n), 4 * ((g * 7 + k) % n) + 2);
        project->Guidelines.push_back(std::move(guideline));
    }
    return project;
}

void BM_ViewOrder(benchmark::State& state) {
    const auto project = LargeProject(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        const TViewCouplings view(*project, std::nullopt, 1);
        for (std::size_t group = 0; group < view.GroupCount(); ++group)
            for (std::int64_t entry = 0; entry < view.EntryCount(group); ++entry)
                benchmark::DoNotOptimize(view.Entry(group, entry));
    }
    state.SetComplexityN(state.range(0) * state.range(0));
}
BENCHMARK(BM_ViewOrder)->Arg(250)->Arg(500)->Arg(1000)->Complexity(benchmark::oN);

void BM_ReportOrder(benchmark::State& state) {
    const auto project = LargeProject(static_cast<int>(state.range(0)));
    std::vector<TTOWSCouple> every;
    for (std::int32_t i = 0; i < static_cast<std::int32_t>(project->Items.size()); ++i)
        for (std::int32_t j = 0; j < static_cast<std::int32_t>(project->Items.size()); ++j)
            if (GetCouplingKind(project->Items[i]->SwotType, project->Items[j]->SwotType))
                every.push_back({i, j});
    for (auto _ : state)
        benchmark::DoNotOptimize(EnumerateReportCouplings(*project, every));
    state.SetComplexityN(state.range(0) * state.range(0));
}
BENCHMARK(BM_ReportOrder)->Arg(250)->Arg(500)->Arg(1000)->Complexity(benchmark::oN);

void BM_DeleteItem(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto project = LargeProject(n);
        state.ResumeTiming();
        project->DeleteItem(2 * n);
    }
    state.SetComplexityN(n);
}
BENCHMARK(BM_DeleteItem)->Arg(1000)->Arg(2000)->Arg(4000)->Complexity(benchmark::oN);

} // namespace
