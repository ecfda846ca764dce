#include "storage/UntComparison.h"

#include "model/UntStrategies.h"
#include "storage/UntUtils.h"

#include <QHash>
#include <algorithm>
#include <deque>
#include <map>

namespace {

// Namesakes paired in order: the k-th of a key in the older list with the
// k-th of the same key in the newer one. Indices are into the two lists.
struct TPairing {
    // Ascending in the newer list.
    std::vector<std::pair<std::size_t, std::size_t>> Pairs;
    std::vector<std::size_t> OnlyOld, OnlyNew;
};

TPairing PairByKey(const QStringList& olderKeys, const QStringList& newerKeys) {
    QHash<QString, std::deque<std::size_t>> waiting;
    for (qsizetype j = 0; j < newerKeys.size(); ++j)
        waiting[newerKeys[j]].push_back(static_cast<std::size_t>(j));
    TPairing pairing;
    std::vector<bool> paired(static_cast<std::size_t>(newerKeys.size()), false);
    for (qsizetype i = 0; i < olderKeys.size(); ++i) {
        std::deque<std::size_t>& namesakes = waiting[olderKeys[i]];
        if (namesakes.empty()) {
            pairing.OnlyOld.push_back(static_cast<std::size_t>(i));
            continue;
        }
        pairing.Pairs.emplace_back(static_cast<std::size_t>(i), namesakes.front());
        paired[namesakes.front()] = true;
        namesakes.pop_front();
    }
    for (std::size_t j = 0; j < paired.size(); ++j)
        if (!paired[j])
            pairing.OnlyNew.push_back(j);
    std::ranges::sort(pairing.Pairs, {}, &std::pair<std::size_t, std::size_t>::second);
    return pairing;
}

QString NameKey(const QString& name) {
    return name.trimmed();
}

bool SameCommentText(const QStringList& older, const QStringList& newer) {
    return RtfToPlainText(older) == RtfToPlainText(newer);
}

// The conclusion's records as pairs of names, in order; a record naming no
// factor of the project names no coupling.
std::vector<TNamedCoupling> NamedCouplings(const TProject& project, const TGuideline& guideline) {
    std::vector<TNamedCoupling> named;
    for (const TTOWSCouple& couple : guideline.Couples)
        if (project.IsValidPosition(couple.Index1) && project.IsValidPosition(couple.Index2))
            named.push_back({NameKey(project.Items[couple.Index1]->Name),
                             NameKey(project.Items[couple.Index2]->Name)});
    return named;
}

// The entries of from that others lacks, in order, duplicates counted.
std::vector<TNamedCoupling> Lacking(const std::vector<TNamedCoupling>& from,
                                    const std::vector<TNamedCoupling>& others) {
    std::map<std::pair<QString, QString>, int> available;
    for (const TNamedCoupling& coupling : others)
        ++available[{coupling.Internal, coupling.External}];
    std::vector<TNamedCoupling> lacking;
    for (const TNamedCoupling& coupling : from) {
        int& count = available[{coupling.Internal, coupling.External}];
        if (count > 0)
            --count;
        else
            lacking.push_back(coupling);
    }
    return lacking;
}

TComparedVersion Version(const TProject& project) {
    TComparedVersion version{std::nullopt, project.Title, {}};
    const TStrategyMatrix matrix(project);
    for (std::size_t k = 0; k < std::size(AllCouplingKinds); ++k)
        version.QuadrantWeights[k] = matrix.QuadrantWeight(AllCouplingKinds[k]);
    return version;
}

void CompareFactors(const TProject& older, const TProject& newer, std::int32_t swotType,
                    std::vector<TFactorDifference>& differences) {
    const std::vector<std::int32_t> olderPositions = PositionsOfType(older, swotType);
    const std::vector<std::int32_t> newerPositions = PositionsOfType(newer, swotType);
    const auto keys = [](const TProject& project, const std::vector<std::int32_t>& positions) {
        QStringList names;
        for (const std::int32_t position : positions)
            names << NameKey(project.Items[position]->Name);
        return names;
    };
    const TPairing pairing = PairByKey(keys(older, olderPositions), keys(newer, newerPositions));

    for (const std::size_t j : pairing.OnlyNew) {
        const TTOWSItem& item = *newer.Items[newerPositions[j]];
        differences.push_back({swotType, NameKey(item.Name), TDifference::Added, std::nullopt,
                               newerPositions[j], std::nullopt, item.Mark});
    }
    for (const std::size_t i : pairing.OnlyOld) {
        const TTOWSItem& item = *older.Items[olderPositions[i]];
        differences.push_back({swotType, NameKey(item.Name), TDifference::Removed,
                               olderPositions[i], std::nullopt, item.Mark, std::nullopt});
    }
    for (const auto& [i, j] : pairing.Pairs) {
        const TTOWSItem& before = *older.Items[olderPositions[i]];
        const TTOWSItem& after = *newer.Items[newerPositions[j]];
        const bool commentChanged = !SameCommentText(before.Comments, after.Comments);
        if (before.Mark == after.Mark && !commentChanged)
            continue;
        differences.push_back({swotType, NameKey(after.Name), TDifference::Changed,
                               olderPositions[i], newerPositions[j], before.Mark, after.Mark,
                               commentChanged});
    }
}

void CompareGuidelines(const TProject& older, const TProject& newer,
                       std::vector<TGuidelineDifference>& differences) {
    const auto keys = [](const TProject& project) {
        QStringList names;
        for (const auto& guideline : project.Guidelines)
            names << NameKey(guideline->Name);
        return names;
    };
    const TPairing pairing = PairByKey(keys(older), keys(newer));

    for (const std::size_t j : pairing.OnlyNew) {
        const TGuideline& guideline = *newer.Guidelines[j];
        TGuidelineDifference& added = differences.emplace_back();
        added.Name = NameKey(guideline.Name);
        added.Change = TDifference::Added;
        added.NewPosition = j;
        added.NewWeight = GetGuidelineWeight(newer, guideline);
    }
    for (const std::size_t i : pairing.OnlyOld) {
        const TGuideline& guideline = *older.Guidelines[i];
        TGuidelineDifference& removed = differences.emplace_back();
        removed.Name = NameKey(guideline.Name);
        removed.Change = TDifference::Removed;
        removed.OldPosition = i;
        removed.OldWeight = GetGuidelineWeight(older, guideline);
    }
    for (const auto& [i, j] : pairing.Pairs) {
        const TGuideline& before = *older.Guidelines[i];
        const TGuideline& after = *newer.Guidelines[j];
        TGuidelineDifference changed;
        changed.Name = NameKey(after.Name);
        changed.Change = TDifference::Changed;
        changed.OldPosition = i;
        changed.NewPosition = j;
        changed.OldWeight = GetGuidelineWeight(older, before);
        changed.NewWeight = GetGuidelineWeight(newer, after);
        const std::vector<TNamedCoupling> olderCouplings = NamedCouplings(older, before);
        const std::vector<TNamedCoupling> newerCouplings = NamedCouplings(newer, after);
        changed.CouplingsGained = Lacking(newerCouplings, olderCouplings);
        changed.CouplingsLost = Lacking(olderCouplings, newerCouplings);
        changed.CommentChanged = !SameCommentText(before.Comments, after.Comments);
        if (changed.WeightChanged() || !changed.CouplingsGained.empty() ||
            !changed.CouplingsLost.empty() || changed.CommentChanged)
            differences.push_back(std::move(changed));
    }
}

} // namespace

TComparison CompareProjects(const TProject& older, const TProject& newer) {
    TComparison comparison{Version(older), Version(newer), newer.Labels, {}, {}};
    for (const std::int32_t type : {stStrength, stWeakness, stOpportunity, stThreat})
        CompareFactors(older, newer, type, comparison.Factors);
    CompareGuidelines(older, newer, comparison.Guidelines);
    return comparison;
}
