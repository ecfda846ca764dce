#pragma once

#include "model/UntClassProject.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

// The couplings of a project in view order, grouped by kind in listing order:
// within a group, internal position ascending, then external position
// ascending. Entries are computed on demand from a few numbers per factor, so
// a view of millions of couplings holds no record per coupling.
class TViewCouplings {
public:
    TViewCouplings() = default;
    // onlyKind: the one kind to admit, or every kind; minRating: the lowest
    // rating admitted.
    TViewCouplings(const TProject& project, std::optional<TCouplingKind> onlyKind,
                   std::int64_t minRating);

    std::size_t GroupCount() const { return FGroups.size(); }
    TCouplingKind GroupKind(std::size_t group) const { return FGroups[group].Kind; }
    std::int64_t EntryCount(std::size_t group) const { return FGroups[group].Count; }
    // The coupling of an entry, 0 <= entry < EntryCount(group).
    TTOWSCouple Entry(std::size_t group, std::int64_t entry) const;

private:
    struct TGroup {
        TCouplingKind Kind;
        std::vector<std::int32_t> Internals;
        // Entries before each internal factor, and in all.
        std::vector<std::int64_t> Offsets;
        std::int64_t Count = 0;
        // Admitted external positions by the mark of the internal factor.
        std::map<std::int32_t, std::vector<std::int32_t>> Externals;
    };

    const TProject* FProject = nullptr;
    std::vector<TGroup> FGroups;
};

// The candidates that are couplings rated 1 .. 9, each once, in report order:
// kind in listing order, rating from 9 down to 1, internal position, external
// position. Records of unsuitable types or outside Items are left out.
std::vector<TCoupling> EnumerateReportCouplings(const TProject& project,
                                                std::span<const TTOWSCouple> candidates);
