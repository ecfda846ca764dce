#include "workspace/UntFraStrategies.h"

#include "history/UntProjectChanges.h"
#include "model/UntStrategies.h"
#include "model/UntStrings.h"
#include "reports/UntPictures.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntScreenLook.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The position of an item's conclusion in the project's list, in its first column.
constexpr int GuidelineRole = Qt::UserRole;

// A heading in the colours of the pictures.
QLabel* NewHeading(QWidget* parent, const QString& name, const QColor& fill, const QColor& text) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setStyleSheet(
        QStringLiteral("QLabel { background: %1; color: %2; font-weight: bold; padding: 3px 6px; }")
            .arg(fill.name(), text.name()));
    return label;
}

QTreeWidget* NewList(QWidget* parent, const QString& name, int columns) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setColumnCount(columns);
    list->setHeaderHidden(true);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionResizeMode(0, columns > 1 ? QHeaderView::ResizeToContents
                                                        : QHeaderView::Stretch);
    KeepSelectionVisible(list);
    return list;
}

QTreeWidgetItem* NewItem(QTreeWidget* list, std::size_t guideline, const QStringList& texts) {
    auto* item = new QTreeWidgetItem(list, texts);
    item->setData(0, GuidelineRole, static_cast<int>(guideline));
    item->setToolTip(list->columnCount() - 1, texts.back());
    return item;
}

} // namespace

TFraStrategies::TFraStrategies(TMainHost& host, QWidget* parent)
    : TModelFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("FraStrategies"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    for (std::size_t side = 0; side < 2; ++side) {
        LbColumns[side] =
            NewHeading(this, QStringLiteral("LbColumn%1").arg(side + 1),
                       TypeColour(static_cast<std::int32_t>(stOpportunity + side)), Qt::white);
        grid->addWidget(LbColumns[side], 0, static_cast<int>(side));
        grid->setColumnStretch(static_cast<int>(side), 1);
    }
    const QColor ink(0x1A, 0x1A, 0x1A);
    for (std::size_t row = 0; row < 2; ++row) {
        const auto internal = static_cast<std::int32_t>(stStrength + row);
        const int gridRow = 1 + 2 * static_cast<int>(row);
        LbRows[row] = NewHeading(this, QStringLiteral("LbRow%1").arg(row + 1), TypeColour(internal),
                                 Qt::white);
        grid->addWidget(LbRows[row], gridRow, 0, 1, 2);
        for (std::size_t side = 0; side < 2; ++side) {
            const TCouplingKind kind =
                *GetCouplingKind(internal, static_cast<std::int32_t>(stOpportunity + side));
            const auto k = static_cast<std::size_t>(kind) - 1;
            auto* cell = new QWidget(this);
            auto* cellLayout = new QVBoxLayout(cell);
            cellLayout->setContentsMargins(0, 0, 0, 0);
            cellLayout->setSpacing(0);
            LbStrategies[k] =
                NewHeading(cell, QStringLiteral("LbStrategy%1").arg(k + 1), KindColour(kind), ink);
            LstStrategies[k] = NewList(cell, QStringLiteral("LstStrategy%1").arg(k + 1), 2);
            cellLayout->addWidget(LbStrategies[k]);
            cellLayout->addWidget(LstStrategies[k], 1);
            grid->addWidget(cell, gridRow + 1, static_cast<int>(side));
        }
        grid->setRowStretch(gridRow + 1, 1);
    }
    LbUnplaced = new QLabel(this);
    LbUnplaced->setObjectName(QStringLiteral("LbUnplaced"));
    LbUnplaced->setStyleSheet(QStringLiteral("font-weight: bold;"));
    LstUnplaced = NewList(this, QStringLiteral("LstUnplaced"), 1);
    // A few lines: the strategies keep the room.
    LstUnplaced->setMaximumHeight(5 * LstUnplaced->fontMetrics().lineSpacing() +
                                  2 * LstUnplaced->frameWidth());
    grid->addWidget(LbUnplaced, 5, 0, 1, 2);
    grid->addWidget(LstUnplaced, 6, 0, 1, 2);
    auto* legend = new QLabel(LoadStr(StrStrategyLegend), this);
    legend->setObjectName(QStringLiteral("LbLegend"));
    legend->setWordWrap(true);
    grid->addWidget(legend, 7, 0, 1, 2);

    QList<QTreeWidget*> lists(LstStrategies.begin(), LstStrategies.end());
    lists << LstUnplaced;
    for (QTreeWidget* list : lists) {
        connect(list, &QTreeWidget::itemActivated, this, &TFraStrategies::EditGuideline);
        connect(list, &QTreeWidget::currentItemChanged, this, [this, list](QTreeWidgetItem* item) {
            if (!Updating)
                ItemChosen(list, item);
        });
    }
}

void TFraStrategies::UpdateView() {
    TModelFrame::UpdateView();
    const QScopedValueRollback updating(Updating, true);
    disconnect(FFollowing);
    if (TDocument* document = FHost.Document())
        FFollowing = connect(document, &TDocument::Changed, this, &TFraStrategies::ShowChange);
    FCurrent = nullptr;
    Fill();
}

void TFraStrategies::ShowChange(const TChange& change) {
    const TProject* project = FHost.Project();
    if (project && change.Guideline >= 0 &&
        static_cast<std::size_t>(change.Guideline) < project->Guidelines.size())
        FCurrent = project->Guidelines[static_cast<std::size_t>(change.Guideline)].get();
    Fill();
}

void TFraStrategies::Fill() {
    const QScopedValueRollback updating(Updating, true);
    QList<QTreeWidget*> lists(LstStrategies.begin(), LstStrategies.end());
    lists << LstUnplaced;
    for (QTreeWidget* list : lists)
        list->clear();
    const TProject* project = FHost.Project();
    if (!project)
        return;
    for (std::size_t side = 0; side < 2; ++side)
        LbColumns[side]->setText(
            project->Labels.Value(TypeHeading(static_cast<std::int32_t>(stOpportunity + side))));
    for (std::size_t row = 0; row < 2; ++row)
        LbRows[row]->setText(
            project->Labels.Value(TypeHeading(static_cast<std::int32_t>(stStrength + row))));
    const TStrategyMatrix matrix(*project);
    for (const TCouplingKind kind : AllCouplingKinds) {
        const auto k = static_cast<std::size_t>(kind) - 1;
        const QString heading = project->Labels.Value(KindHeading(kind));
        LbStrategies[k]->setText(heading);
        LstStrategies[k]->setAccessibleName(heading);
        for (const TStrategyEntry& entry : matrix.Quadrant(kind))
            NewItem(LstStrategies[k], entry.Guideline,
                    {QString::number(entry.Weight), project->Guidelines[entry.Guideline]->Name})
                ->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
        if (matrix.Quadrant(kind).empty()) {
            auto* none =
                new QTreeWidgetItem(LstStrategies[k], {QString(), LoadStr(StrNoConclusion)});
            none->setFlags(Qt::NoItemFlags);
        }
    }
    const QString apart = LoadStr(StrUnplacedConclusions);
    LbUnplaced->setText(apart);
    LstUnplaced->setAccessibleName(apart);
    for (const std::size_t g : matrix.Unplaced())
        NewItem(LstUnplaced, g, {project->Guidelines[g]->Name});
    LbUnplaced->setVisible(!matrix.Unplaced().empty());
    LstUnplaced->setVisible(!matrix.Unplaced().empty());

    // The current conclusion again, in its list if it still stands there.
    if (!FCurrent)
        return;
    const auto found = std::ranges::find_if(
        project->Guidelines, [this](const auto& guideline) { return guideline.get() == FCurrent; });
    if (found == project->Guidelines.end())
        return;
    const QVariant position = static_cast<int>(found - project->Guidelines.begin());
    lists.removeOne(FCurrentList);
    if (FCurrentList)
        lists.prepend(FCurrentList);
    for (QTreeWidget* list : lists)
        for (int i = 0; i < list->topLevelItemCount(); ++i) {
            QTreeWidgetItem* item = list->topLevelItem(i);
            if (item->data(0, GuidelineRole) == position) {
                list->setCurrentItem(item);
                ItemChosen(list, item);
                return;
            }
        }
}

void TFraStrategies::ItemChosen(QTreeWidget* list, QTreeWidgetItem* item) {
    if (!item || !item->data(0, GuidelineRole).isValid())
        return;
    const QScopedValueRollback updating(Updating, true);
    for (QTreeWidget* other : LstStrategies)
        if (other != list)
            other->clearSelection();
    if (list != LstUnplaced)
        LstUnplaced->clearSelection();
    FCurrentList = list;
    if (const TProject* project = FHost.Project())
        FCurrent =
            project->Guidelines[static_cast<std::size_t>(item->data(0, GuidelineRole).toInt())]
                .get();
}

void TFraStrategies::EditGuideline(QTreeWidgetItem* item) {
    TDocument* document = FHost.Document();
    if (!document || !item || !item->data(0, GuidelineRole).isValid())
        return;
    const int i = item->data(0, GuidelineRole).toInt();
    // The dialog edits a copy: the project changes through its history only.
    const TGuideline& original = *document->Project().Guidelines[static_cast<std::size_t>(i)];
    TGuideline edited = original;
    if (FHost.EditGuideline(edited, &original))
        document->Apply(EditGuidelineChange(*document, i, edited));
}
