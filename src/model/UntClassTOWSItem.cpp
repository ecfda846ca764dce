#include "model/UntClassTOWSItem.h"

#include <algorithm>

bool TGuideline::HasCouple(std::int32_t index1, std::int32_t index2) const {
    return std::ranges::find(Couples, TTOWSCouple{index1, index2}) != Couples.end();
}

void TGuideline::AddCouple(std::int32_t index1, std::int32_t index2) {
    Couples.push_back(TTOWSCouple{index1, index2});
}

void TGuideline::RemoveCouple(std::int32_t index1, std::int32_t index2) {
    const auto it = std::ranges::find(Couples, TTOWSCouple{index1, index2});
    if (it != Couples.end())
        Couples.erase(it);
}
