#pragma once

#include "model/UntCouplingOrders.h"

#include <QAbstractItemModel>
#include <optional>

// The couplings of a project as a tree: one group per admitted kind, holding
// the couplings of that kind rated at least the minimum, in view order.
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
    const TProject* FProject = nullptr;
    TViewCouplings FCouplings;
};
