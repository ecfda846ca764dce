#pragma once

#include "QtPrinters.h"
#include "UntClassProject.h"

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
