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
