#pragma once

#include "model/UntClassBasics.h"

#include <cstdint>
#include <vector>

// A factor of the analysis: a strength, weakness, opportunity or threat.
class TTOWSItem : public TItem {
public:
    // Set by whoever creates the factor; 0 never reaches a project.
    std::int32_t SwotType = 0;
    std::int32_t Mark = mkMedium;
};

// A conclusion, with the couplings that support it in the order they were linked.
class TGuideline : public TItem {
public:
    std::vector<TTOWSCouple> Couples;

    bool HasCouple(std::int32_t index1, std::int32_t index2) const;
    void AddCouple(std::int32_t index1, std::int32_t index2);
    // Removes the first matching record only; nothing happens when there is none.
    void RemoveCouple(std::int32_t index1, std::int32_t index2);
};
