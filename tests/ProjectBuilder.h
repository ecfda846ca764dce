#pragma once

#include "QtPrinters.h"
#include "model/UntClassProject.h"

#include <initializer_list>
#include <memory>
#include <utility>

// Builds small projects for tests: factors by name, type and mark, and
// conclusions by name and coupling records.
struct FactorSpec {
    const char* Name;
    std::int32_t SwotType;
    std::int32_t Mark;
};

struct GuidelineSpec {
    const char* Name;
    std::vector<TTOWSCouple> Couples;
};

inline std::unique_ptr<TProject> MakeProject(std::initializer_list<FactorSpec> factors,
                                             std::initializer_list<GuidelineSpec> guidelines = {}) {
    auto project = std::make_unique<TProject>();
    for (const FactorSpec& spec : factors) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QString::fromUtf8(spec.Name);
        item->SwotType = spec.SwotType;
        item->Mark = spec.Mark;
        project->Items.push_back(std::move(item));
    }
    for (const GuidelineSpec& spec : guidelines) {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = QString::fromUtf8(spec.Name);
        guideline->Couples = spec.Couples;
        project->Guidelines.push_back(std::move(guideline));
    }
    return project;
}

// Six factors of mixed types and marks, for the coupling rules and the workspace.
// Positions:     0         1          2          3         4          5
// Types, marks:  S1 S 2,   O1 O 3,    W1 W 3,    T1 T 1,   S2 S 3,    O2 O 2
inline std::unique_ptr<TProject>
MixedProject(std::initializer_list<GuidelineSpec> guidelines = {}) {
    return MakeProject({{"S1", stStrength, 2},
                        {"O1", stOpportunity, 3},
                        {"W1", stWeakness, 3},
                        {"T1", stThreat, 1},
                        {"S2", stStrength, 3},
                        {"O2", stOpportunity, 2}},
                       guidelines);
}

// 150 factors of each type and 600 conclusions, each holding a coupling of
// every kind: its pictures take seconds as PNG.
inline std::unique_ptr<TProject> LargeProject() {
    auto project = std::make_unique<TProject>();
    project->Title = QStringLiteral("Large");
    for (int i = 0; i < 600; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QStringLiteral("Factor %1 of a large analysis").arg(i);
        item->SwotType = i % 4 + 1;
        item->Mark = i / 4 % 3 + 1;
        project->Items.push_back(std::move(item));
    }
    // Positions 4k to 4k + 3 are a strength, a weakness, an opportunity and a threat.
    for (int g = 0; g < 600; ++g) {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = QStringLiteral("Conclusion %1 of a large analysis").arg(g);
        const int first = g / 4 * 4;
        for (const auto& [internal, external] : {std::pair(0, 2), {0, 3}, {1, 2}, {1, 3}})
            guideline->AddCouple(first + internal, first + external);
        project->Guidelines.push_back(std::move(guideline));
    }
    return project;
}
