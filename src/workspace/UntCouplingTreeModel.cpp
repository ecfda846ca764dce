#include "UntCouplingTreeModel.h"

#include <QColor>
#include <QFont>
#include <algorithm>

namespace {

// Entries carry the number of their group plus one; groups carry 0.
constexpr quintptr GroupId = 0;

} // namespace

TCouplingTreeModel::TCouplingTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void TCouplingTreeModel::Rebuild(const TProject* project, int filterIndex, std::int64_t minRating) {
    beginResetModel();
    FProject = project;
    FGroups.clear();
    if (project) {
        std::array<std::vector<std::int32_t>, stThreat + 1> byType;
        for (std::size_t i = 0; i < project->Items.size(); ++i) {
            const std::int32_t type = project->Items[i]->SwotType;
            if (type >= stStrength && type <= stThreat)
                byType[type].push_back(static_cast<std::int32_t>(i));
        }
        for (const TCouplingKind kind : AllCouplingKinds) {
            if (filterIndex != 0 && filterIndex != static_cast<int>(kind))
                continue;
            TGroup& group = FGroups.emplace_back();
            group.Kind = kind;
            group.Internals = byType[InternalTypeOf(kind)];
            const std::vector<std::int32_t>& externals = byType[ExternalTypeOf(kind)];
            group.Offsets.reserve(group.Internals.size());
            for (const std::int32_t i : group.Internals) {
                const std::int32_t mark = project->Items[i]->Mark;
                auto [admitted, fresh] = group.Externals.try_emplace(mark);
                if (fresh)
                    for (const std::int32_t j : externals)
                        if (std::int64_t{mark} * project->Items[j]->Mark >= minRating)
                            admitted->second.push_back(j);
                group.Offsets.push_back(group.Count);
                group.Count += static_cast<qsizetype>(admitted->second.size());
            }
        }
    }
    endResetModel();
}

TTOWSCouple TCouplingTreeModel::EntryAt(const TGroup& group, qsizetype row) const {
    const auto after = std::upper_bound(group.Offsets.begin(), group.Offsets.end(), row);
    const std::size_t internal = static_cast<std::size_t>(after - group.Offsets.begin()) - 1;
    const std::int32_t index1 = group.Internals[internal];
    const auto& externals = group.Externals.at(FProject->Items[index1]->Mark);
    return {index1, externals[static_cast<std::size_t>(row - group.Offsets[internal])]};
}

std::optional<TTOWSCouple> TCouplingTreeModel::CoupleAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == GroupId)
        return std::nullopt;
    return EntryAt(FGroups[index.internalId() - 1], index.row());
}

QModelIndex TCouplingTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!hasIndex(row, column, parent))
        return {};
    return createIndex(row, column,
                       parent.isValid() ? static_cast<quintptr>(parent.row()) + 1 : GroupId);
}

QModelIndex TCouplingTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == GroupId)
        return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, GroupId);
}

int TCouplingTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid())
        return static_cast<int>(FGroups.size());
    if (parent.internalId() != GroupId || parent.column() != 0)
        return 0;
    return static_cast<int>(FGroups[static_cast<std::size_t>(parent.row())].Count);
}

int TCouplingTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TCouplingTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !FProject)
        return {};
    if (index.internalId() == GroupId) {
        const TGroup& group = FGroups[static_cast<std::size_t>(index.row())];
        switch (role) {
        case Qt::DisplayRole:
            return FProject->Labels.Values(KindHeadingKey(group.Kind));
        case Qt::FontRole: {
            QFont font;
            font.setBold(true);
            return font;
        }
        case Qt::ForegroundRole:
            return QColor(0, 0, 255);
        default:
            return {};
        }
    }
    if (role != Qt::DisplayRole)
        return {};
    const TTOWSCouple couple = *CoupleAt(index);
    return GetCouplingCaption(*FProject, couple.Index1, couple.Index2);
}

Qt::ItemFlags TCouplingTreeModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.internalId() != GroupId)
        flags |= Qt::ItemNeverHasChildren;
    return flags;
}
