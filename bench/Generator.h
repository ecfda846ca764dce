#pragma once

#include "model/UntClassProject.h"
#include "storage/UntRtf.h"

#include <memory>

// An analysis of the given number of factors (a quarter of each type, marks
// cycling) and conclusions, each conclusion linked to five couplings, every
// factor and conclusion with a short styled comment.
inline std::unique_ptr<TProject> MakeAnalysis(int factors, int conclusions) {
    auto project = std::make_unique<TProject>();
    project->Title = QStringLiteral("Generated analysis");
    const QStringList comment = WriteRtf({{{QStringLiteral("A comment with ")},
                                           {QStringLiteral("bold"), true},
                                           {QStringLiteral(" and ")},
                                           {QStringLiteral("italic"), false, true}}});
    for (int i = 0; i < factors; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QStringLiteral("Factor %1").arg(i);
        item->SwotType = i % 4 + 1;
        item->Mark = i / 4 % 3 + 1;
        item->Comments = comment;
        project->Items.push_back(std::move(item));
    }
    const int perType = std::max(factors / 4, 1);
    for (int g = 0; g < conclusions; ++g) {
        auto guideline = std::make_unique<TGuideline>();
        guideline->Name = QStringLiteral("Conclusion %1").arg(g);
        guideline->Comments = comment;
        for (int k = 0; k < 5 && factors >= 4; ++k)
            guideline->AddCouple(4 * ((g + k) % perType), 4 * ((g * 7 + 3 * k) % perType) + 2);
        project->Guidelines.push_back(std::move(guideline));
    }
    return project;
}
