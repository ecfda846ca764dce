#include "workspace/UntFraList.h"

#include "model/UntClassProject.h"
#include "model/UntStrings.h"
#include "workspace/UntElidedLabel.h"
#include "workspace/UntFraListBar.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntScreenLook.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int FactorRole = Qt::UserRole;

} // namespace

TFraTOWSList::TFraTOWSList(std::int32_t swotType, QWidget* parent)
    : QFrame(parent), SwotType(swotType) {
    setMinimumHeight(150);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(3);

    auto* top = new QWidget(this);
    top->setObjectName(QStringLiteral("PnlTop"));
    auto* topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(5, 4, 0, 0);
    topLayout->setSpacing(2);
    ListTitle = new TElidedLabel(top);
    ListTitle->setObjectName(QStringLiteral("ListTitle"));
    ListTitle->setStyleSheet(QStringLiteral("font-weight: bold;"));
    topLayout->addWidget(ListTitle);
    FraListBar1 = new TFraListBar(top);
    FraListBar1->setObjectName(QStringLiteral("FraListBar1"));
    FraListBar1->SetAffBtEdit(true);
    FraListBar1->SetAffBtCaptions(false);
    FraListBar1->SetAffUpDown(false);
    FraListBar1->NameButtons(StrListButtonsBase + 3 * (swotType - 1));
    topLayout->addWidget(FraListBar1);
    layout->addWidget(top);

    LstTOWS = new QTreeWidget(this);
    LstTOWS->setObjectName(QStringLiteral("LstTOWS"));
    LstTOWS->setColumnCount(2);
    LstTOWS->setHeaderHidden(true);
    LstTOWS->setRootIsDecorated(false);
    LstTOWS->setUniformRowHeights(true);
    LstTOWS->setSelectionMode(QAbstractItemView::SingleSelection);
    LstTOWS->setSelectionBehavior(QAbstractItemView::SelectRows);
    LstTOWS->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LstTOWS->header()->setStretchLastSection(false);
    LstTOWS->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    LstTOWS->header()->setSectionResizeMode(1, QHeaderView::Fixed);
    LstTOWS->header()->resizeSection(1, 20);
    KeepSelectionVisible(LstTOWS);
    ShowFocusWhenEmpty(LstTOWS);
    SelectEndOnFirstArrow(LstTOWS);
    // A name too long for the list shows whole in its tooltip, not the
    // tooltip of the group around.
    TipElidedItems(LstTOWS);
    layout->addWidget(LstTOWS, 1);

    connect(FraListBar1, &TFraListBar::BtAddClick, this, &TFraTOWSList::AddClick);
    connect(FraListBar1, &TFraListBar::BtEditClick, this, &TFraTOWSList::EditClick);
    connect(FraListBar1, &TFraListBar::BtDelClick, this, &TFraTOWSList::DelClick);
    // Insert adds, Delete deletes, Enter or a double click edits.
    FraListBar1->BindKeys(LstTOWS);
    connect(LstTOWS, &QTreeWidget::itemSelectionChanged, this, &TFraTOWSList::SelectionChange);
}

void TFraTOWSList::FillList(const TProject* project) {
    FraListBar1->UpdateView();
    LstTOWS->clear();
    if (!project)
        return;
    ListTitle->SetFullText(project->Labels.Value(TypeHeading(SwotType)));
    // An emptied heading leaves the list its usual name for a screen reader.
    const QString heading = ListTitle->FullText();
    LstTOWS->setAccessibleName(
        heading.trimmed().isEmpty() ? TLabels::DefaultValue(TypeHeading(SwotType)) : heading);
    const std::vector<std::int32_t> factors = FactorsByImportance(*project, SwotType);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(factors.size()));
    for (const std::int32_t position : factors) {
        TTOWSItem* factor = project->Items[position].get();
        auto* item = new QTreeWidgetItem({factor->Name, QString::number(factor->Mark)});
        item->setData(0, FactorRole, QVariant::fromValue(static_cast<void*>(factor)));
        item->setTextAlignment(1, Qt::AlignCenter);
        items << item;
    }
    LstTOWS->addTopLevelItems(items);
}

QList<QWidget*> TFraTOWSList::TabOrder() const {
    return QList<QWidget*>{LstTOWS} + FocusChain(FraListBar1);
}

TTOWSItem* TFraTOWSList::SelectedFactor() const {
    const QList<QTreeWidgetItem*> selected = LstTOWS->selectedItems();
    return selected.isEmpty()
               ? nullptr
               : static_cast<TTOWSItem*>(selected.front()->data(0, FactorRole).value<void*>());
}

void TFraTOWSList::ClearSelection() {
    LstTOWS->clearSelection();
}

void TFraTOWSList::SelectFactor(const TTOWSItem* factor) {
    for (int i = 0; i < LstTOWS->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = LstTOWS->topLevelItem(i);
        if (item->data(0, FactorRole).value<void*>() == factor) {
            LstTOWS->setCurrentItem(item);
            LstTOWS->scrollToItem(item);
            return;
        }
    }
}
