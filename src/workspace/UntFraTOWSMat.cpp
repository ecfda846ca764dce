#include "workspace/UntFraTOWSMat.h"

#include "history/UntProjectChanges.h"
#include "workspace/UntFraList.h"
#include "workspace/UntMainHost.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

TFraTOWSMat::TFraTOWSMat(TMainHost& host, QWidget* parent) : TModelFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("FraTOWSMat"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int group = 0; group < 2; ++group) {
        auto* box = new QGroupBox(this);
        box->setObjectName(group == 0 ? QStringLiteral("GroupBox1") : QStringLiteral("GroupBox2"));
        box->setStyleSheet(QStringLiteral("QGroupBox { font-weight: bold; }"
                                          " QGroupBox > QWidget { font-weight: normal; }"));
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(2, 2, 2, 2);
        row->setSpacing(4);
        for (int side = 0; side < 2; ++side) {
            const int type = 2 * group + side + 1;
            auto* list = new TFraTOWSList(type, box);
            list->setObjectName(QStringLiteral("FraList%1").arg(type));
            list->setStyleSheet(QStringLiteral("font-weight: normal;"));
            FLists[type - 1] = list;
            row->addWidget(list, side == 0 ? 0 : 1);
            connect(list, &TFraTOWSList::AddClick, this, [this, list] { ClickAdd(list); });
            connect(list, &TFraTOWSList::EditClick, this, [this, list] { ClickEdit(list); });
            connect(list, &TFraTOWSList::DelClick, this, [this, list] { ClickDel(list); });
            connect(list, &TFraTOWSList::SelectionChange, this, [this, list] { SelectItem(list); });
        }
        (group == 0 ? GroupBox1 : GroupBox2) = box;
        layout->addWidget(box, group == 0 ? 0 : 1);
    }
}

void TFraTOWSMat::UpdateView() {
    TModelFrame::UpdateView();
    const QScopedValueRollback updating(Updating, true);
    TitleGroups();
    FillLists();
}

void TFraTOWSMat::ShowFactor(const TTOWSItem& factor) {
    if (factor.SwotType >= stStrength && factor.SwotType <= stThreat)
        List(factor.SwotType)->SelectFactor(&factor);
}

void TFraTOWSMat::TitleGroups() {
    const TProject* project = FHost.Project();
    if (!project)
        return;
    for (const auto& [box, heading] :
         {std::pair(GroupBox1, hdInternalFactors), std::pair(GroupBox2, hdExternalFactors)}) {
        // A box's title sets its minimum width: a long heading is cut instead.
        const QString full = project->Labels.Value(heading);
        const QString shown =
            box->fontMetrics().elidedText(full, Qt::ElideRight, std::max(width() - 30, 0));
        box->setTitle(shown);
        box->setToolTip(shown == full ? QString() : full);
    }
}

void TFraTOWSMat::FillLists() {
    const QScopedValueRollback updating(Updating, true);
    for (TFraTOWSList* list : FLists)
        list->FillList(FHost.Project());
}

void TFraTOWSMat::resizeEvent(QResizeEvent* event) {
    TModelFrame::resizeEvent(event);
    TitleGroups();
    GroupBox1->setFixedHeight(height() / 2);
    List(stStrength)->setFixedWidth(width() / 2);
    List(stOpportunity)->setFixedWidth(width() / 2);
}

void TFraTOWSMat::ClickAdd(TFraTOWSList* list) {
    TDocument* document = FHost.Document();
    if (!document)
        return;
    auto factor = std::make_unique<TTOWSItem>();
    factor->SwotType = list->SwotType;
    if (FHost.EditFactor(*factor, true))
        document->Apply(AddFactorChange(*document, std::move(factor)));
}

void TFraTOWSMat::ClickEdit(TFraTOWSList* list) {
    TDocument* document = FHost.Document();
    const TTOWSItem* factor = list->SelectedFactor();
    if (!document || !factor)
        return;
    // The dialog edits a copy: the project changes through its history only.
    TTOWSItem edited = *factor;
    if (FHost.EditFactor(edited, false))
        document->Apply(
            EditFactorChange(*document, document->Project().IndexOfItem(factor), edited));
}

void TFraTOWSMat::ClickDel(TFraTOWSList* list) {
    TDocument* document = FHost.Document();
    const TTOWSItem* factor = list->SelectedFactor();
    if (document && factor)
        document->Apply(DeleteFactorChange(*document, document->Project().IndexOfItem(factor)));
}

void TFraTOWSMat::SelectItem(TFraTOWSList* list) {
    if (Updating)
        return;
    const QScopedValueRollback updating(Updating, true);
    // At most one internal and one external factor are selected.
    const int partner = list->SwotType % 2 == 1 ? list->SwotType + 1 : list->SwotType - 1;
    List(partner)->ClearSelection();
    const TTOWSItem* internal = List(stStrength)->SelectedFactor();
    if (!internal)
        internal = List(stWeakness)->SelectedFactor();
    const TTOWSItem* external = List(stOpportunity)->SelectedFactor();
    if (!external)
        external = List(stThreat)->SelectedFactor();
    emit CoupleSelected(internal, external);
}
