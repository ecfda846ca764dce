#pragma once

#include "UntClassProject.h"

#include <QAbstractItemModel>
#include <array>
#include <map>
#include <vector>

// The couplings of a project as a tree: one group per admitted kind, holding
// the couplings of that kind rated at least the minimum, in view order. The
// entries are computed from the project when the view asks for them, so the
// model holds a few numbers per factor, never one record per coupling.
class TCouplingTreeModel : public QAbstractItemModel {
    Q_OBJECT

public:
    explicit TCouplingTreeModel(QObject* parent = nullptr);

    // Rebuilds the tree: filter 0 admits every kind, 1 .. 4 one kind.
    void Rebuild(const TProject* project, int filterIndex, std::int64_t minRating);

    // The coupling of an entry; none for a group or an invalid index.
    std::optional<TTOWSCouple> CoupleAt(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    // The entries of one kind: for each internal factor of the kind's type,
    // in position order, the admitted external factors of the kind's type.
    struct TGroup {
        TCouplingKind Kind;
        std::vector<std::int32_t> Internals;
        // Entries before each internal factor, and in all.
        std::vector<qsizetype> Offsets;
        qsizetype Count = 0;
        // Admitted external positions by the mark of the internal factor.
        std::map<std::int32_t, std::vector<std::int32_t>> Externals;
    };

    TTOWSCouple EntryAt(const TGroup& group, qsizetype row) const;

    const TProject* FProject = nullptr;
    std::vector<TGroup> FGroups;
};
