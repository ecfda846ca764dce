#include "workspace/UntCouplingTreeModel.h"

#include "workspace/UntScreenLook.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>

namespace {

// Entries carry the number of their group plus one; groups carry 0.
constexpr quintptr GroupId = 0;

} // namespace

TCouplingTreeModel::TCouplingTreeModel(QObject* parent) : QAbstractItemModel(parent) {}

void TCouplingTreeModel::Rebuild(const TProject* project, int filterIndex, std::int64_t minRating) {
    beginResetModel();
    FProject = project;
    const std::optional<TCouplingKind> onlyKind =
        filterIndex == 0 ? std::nullopt : std::optional(static_cast<TCouplingKind>(filterIndex));
    FCouplings = project ? TViewCouplings(*project, onlyKind, minRating) : TViewCouplings();
    endResetModel();
}

std::optional<TTOWSCouple> TCouplingTreeModel::CoupleAt(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == GroupId)
        return std::nullopt;
    return FCouplings.Entry(index.internalId() - 1, index.row());
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
        return static_cast<int>(FCouplings.GroupCount());
    if (parent.internalId() != GroupId || parent.column() != 0)
        return 0;
    return static_cast<int>(FCouplings.EntryCount(static_cast<std::size_t>(parent.row())));
}

int TCouplingTreeModel::columnCount(const QModelIndex&) const {
    return 1;
}

QVariant TCouplingTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !FProject)
        return {};
    if (index.internalId() == GroupId) {
        switch (role) {
        case Qt::DisplayRole:
            return FProject->Labels.Value(
                KindHeading(FCouplings.GroupKind(static_cast<std::size_t>(index.row()))));
        case Qt::FontRole: {
            QFont font;
            font.setBold(true);
            return font;
        }
        case Qt::ForegroundRole:
            // Blue that stays readable on the palette's background.
            return IsDarkPalette(QGuiApplication::palette()) ? QColor(130, 170, 255)
                                                             : QColor(0, 0, 255);
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
