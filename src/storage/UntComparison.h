#pragma once

#include "model/UntClassProject.h"

#include <QString>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

// What changed between two versions of an analysis, as docs/comparison.md
// tells: factors are the same factor when they have the same type and name,
// conclusions when they have the same name; blanks at the ends of a name do
// not count, and namesakes pair in the order of their positions.

enum class TDifference { Added, Removed, Changed };

// A coupling as both versions can name it: its two factors' names, the
// internal factor first.
struct TNamedCoupling {
    QString Internal;
    QString External;

    friend bool operator==(const TNamedCoupling&, const TNamedCoupling&) = default;
};

struct TFactorDifference {
    std::int32_t SwotType;
    QString Name;
    TDifference Change;
    // The positions in Items and the marks of each side that has the factor.
    std::optional<std::int32_t> OldPosition, NewPosition;
    std::optional<std::int32_t> OldMark, NewMark;
    // Of a changed factor: its comment's text differs, formatting aside.
    bool CommentChanged = false;

    bool MarkChanged() const { return Change == TDifference::Changed && OldMark != NewMark; }
};

struct TGuidelineDifference {
    QString Name;
    TDifference Change;
    // The positions in Guidelines and the weights of each side that has it.
    std::optional<std::size_t> OldPosition, NewPosition;
    std::optional<std::int64_t> OldWeight, NewWeight;
    // Of a changed conclusion: the couplings only the newer version holds,
    // in its order, and those only the older one holds, in the older order;
    // a coupling held twice on one side and once on the other is one of them.
    std::vector<TNamedCoupling> CouplingsGained, CouplingsLost;
    bool CommentChanged = false;

    bool WeightChanged() const { return Change == TDifference::Changed && OldWeight != NewWeight; }
};

// One side of the comparison as the outputs name it.
struct TComparedVersion {
    // The file the version was read from; none for a project no file holds.
    std::optional<QString> File;
    QString Title;
    // The weights of the four strategy quadrants, in the order of AllCouplingKinds.
    std::array<std::int64_t, std::size(AllCouplingKinds)> QuadrantWeights{};
};

struct TComparison {
    TComparedVersion Old, New;
    // The headings of the newer version, under which the outputs list the
    // differences.
    TLabels Headings;
    // By type, from strengths to threats; in each type the added factors in
    // the newer order, the removed ones in the older order, then the changed
    // ones in the newer order. Factors of no known type are not compared.
    std::vector<TFactorDifference> Factors;
    // The added, removed and changed conclusions, ordered likewise.
    std::vector<TGuidelineDifference> Guidelines;

    bool NoDifference() const { return Factors.empty() && Guidelines.empty(); }
};

// The differences between the older and the newer version, and the titles and
// quadrant weights of both. The files are for the caller to name.
TComparison CompareProjects(const TProject& older, const TProject& newer);
