#include "UntFraTOWSMat.h"

#include "UntFraList.h"
#include "UntFraListBar.h"
#include "UntFraTOWS.h"
#include "UntMainHost.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QScopedValueRollback>
#include <QTreeWidget>
#include <QVBoxLayout>

TFraTOWSMat::TFraTOWSMat(TFraTOWS& workspace) : TModelFrame(nullptr), FWorkspace(workspace) {
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
            connect(list->FraListBar1->BtAdd, &QToolButton::clicked, this,
                    [this, list] { ClickAdd(list); });
            connect(list->FraListBar1->BtEdit, &QToolButton::clicked, this,
                    [this, list] { ClickEdit(list); });
            connect(list->FraListBar1->BtDel, &QToolButton::clicked, this,
                    [this, list] { ClickDel(list); });
            connect(list->LstTOWS, &QTreeWidget::itemDoubleClicked, this,
                    [this, list] { ClickEdit(list); });
            connect(list->LstTOWS, &QTreeWidget::itemSelectionChanged, this,
                    [this, list] { SelectItem(list); });
        }
        (group == 0 ? GroupBox1 : GroupBox2) = box;
        layout->addWidget(box, group == 0 ? 0 : 1);
    }
}

void TFraTOWSMat::UpdateView() {
    TModelFrame::UpdateView();
    const QScopedValueRollback updating(Updating, true);
    if (const TProject* project = FWorkspace.Project()) {
        GroupBox1->setTitle(project->Labels.Value(2));
        GroupBox2->setTitle(project->Labels.Value(3));
    }
    FillLists();
}

void TFraTOWSMat::FillLists() {
    const QScopedValueRollback updating(Updating, true);
    for (TFraTOWSList* list : FLists)
        list->FillList(FWorkspace.Project());
}

void TFraTOWSMat::resizeEvent(QResizeEvent* event) {
    TModelFrame::resizeEvent(event);
    GroupBox1->setFixedHeight(height() / 2);
    List(stStrength)->setFixedWidth(width() / 2);
    List(stOpportunity)->setFixedWidth(width() / 2);
}

void TFraTOWSMat::ClickAdd(TFraTOWSList* list) {
    TProject* project = FWorkspace.Project();
    if (!project)
        return;
    auto factor = std::make_unique<TTOWSItem>();
    factor->SwotType = list->SwotType;
    if (FWorkspace.Host().EditFactor(*factor, true)) {
        project->Items.push_back(std::move(factor));
        FillLists();
    }
    // Even a cancelled addition counts as a change.
    FWorkspace.DataChange();
}

void TFraTOWSMat::ClickEdit(TFraTOWSList* list) {
    TTOWSItem* factor = list->SelectedFactor();
    if (!factor || !FWorkspace.Host().EditFactor(*factor, false))
        return;
    FillLists();
    FWorkspace.DataChange();
}

void TFraTOWSMat::ClickDel(TFraTOWSList* list) {
    TProject* project = FWorkspace.Project();
    const TTOWSItem* factor = list->SelectedFactor();
    if (!project || !factor)
        return;
    const int position = project->IndexOfItem(factor);
    FWorkspace.SetSelectedCouple(nullptr, nullptr);
    project->DeleteItem(position);
    FillLists();
    FWorkspace.DataChange();
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
    FWorkspace.SetSelectedCouple(internal, external);
}
