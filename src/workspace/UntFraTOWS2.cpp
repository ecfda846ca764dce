#include "workspace/UntFraTOWS2.h"

#include "model/UntStrings.h"
#include "workspace/UntCouplingTreeModel.h"
#include "workspace/UntCouplingTreeView.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntScreenLook.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSlider>
#include <QVBoxLayout>
#include <array>

TFraTOWSGroup::TFraTOWSGroup(TMainHost& host, QWidget* parent) : TModelFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("FraTOWSGroup"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    auto* panel1 = new QWidget(this);
    panel1->setObjectName(QStringLiteral("Panel1"));
    panel1->setFixedHeight(33);
    auto* bar = new QHBoxLayout(panel1);
    bar->setContentsMargins(8, 2, 8, 2);
    bar->setSpacing(6);
    auto* label1 = new QLabel(LoadStr(StrDisplay), panel1);
    label1->setObjectName(QStringLiteral("Label1"));
    CbFilter = new QComboBox(panel1);
    CbFilter->setObjectName(QStringLiteral("CbFilter"));
    CbFilter->setMinimumWidth(153);
    label1->setBuddy(CbFilter);
    LbMark = new QLabel(panel1);
    LbMark->setObjectName(QStringLiteral("LbMark"));
    TrackBar1 = new QSlider(Qt::Horizontal, panel1);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(1, 6);
    TrackBar1->setPageStep(1);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setFixedWidth(110);
    bar->addWidget(label1);
    bar->addWidget(CbFilter);
    bar->addSpacing(16);
    bar->addWidget(LbMark);
    bar->addWidget(TrackBar1);
    bar->addStretch(1);
    layout->addWidget(panel1);

    Model = new TCouplingTreeModel(this);
    TOWSTree = new TCouplingTreeView(this);
    TOWSTree->setObjectName(QStringLiteral("TOWSTree"));
    TOWSTree->setAccessibleName(LoadStr(StrCouplingView));
    TOWSTree->setModel(Model);
    TOWSTree->SetIndentation(15);
    TOWSTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TOWSTree->setSelectionMode(QAbstractItemView::SingleSelection);
    TOWSTree->setSelectionBehavior(QAbstractItemView::SelectRows);
    KeepSelectionVisible(TOWSTree);
    layout->addWidget(TOWSTree, 1);

    connect(CbFilter, &QComboBox::activated, this, &TFraTOWSGroup::CbFilterChange);
    connect(TrackBar1, &QSlider::valueChanged, this, &TFraTOWSGroup::TrackBar1Change);
    connect(TOWSTree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFraTOWSGroup::TOWSTreeChange);
}

std::int64_t TFraTOWSGroup::MinRatingOf(int position) {
    static constexpr std::array<std::int64_t, 6> ratings = {1, 2, 3, 4, 6, 9};
    return ratings[static_cast<std::size_t>(std::clamp(position, 1, 6) - 1)];
}

void TFraTOWSGroup::UpdateView() {
    TModelFrame::UpdateView();
    const QScopedValueRollback updating(Updating, true);
    const TProject* project = FHost.Project();
    const TCouplingViewSettings settings = FHost.CouplingViewSettings();
    CbFilter->clear();
    CbFilter->addItem(LoadStr(StrAllKinds));
    for (const TCouplingKind kind : AllCouplingKinds)
        CbFilter->addItem(project ? project->Labels.Value(KindHeading(kind)) : QString());
    CbFilter->setCurrentIndex(settings.FilterIndex);
    {
        const QSignalBlocker blocker(TrackBar1);
        TrackBar1->setValue(settings.TrackPosition);
    }
    TrackBar1Change();
    BuildTree();
}

void TFraTOWSGroup::CbFilterChange(int index) {
    TCouplingViewSettings settings = FHost.CouplingViewSettings();
    settings.FilterIndex = index;
    FHost.SetCouplingViewSettings(settings);
    BuildTree();
}

void TFraTOWSGroup::TrackBar1Change() {
    const std::int64_t kept = MinRating;
    TCouplingViewSettings settings = FHost.CouplingViewSettings();
    settings.TrackPosition = TrackBar1->value();
    FHost.SetCouplingViewSettings(settings);
    MinRating = MinRatingOf(TrackBar1->value());
    LbMark->setText(LoadStr(StrMinimumRating) + QStringLiteral(" : ") + QString::number(MinRating) +
                    QStringLiteral("/9"));
    if (MinRating != kept)
        BuildTree();
}

void TFraTOWSGroup::BuildTree() {
    {
        // The view shows a rebuilt tree with every group unfolded.
        const QScopedValueRollback updating(Updating, true);
        Model->Rebuild(FHost.Project(), FHost.CouplingViewSettings().FilterIndex, MinRating);
    }
    // A rebuilt tree has no entry selected, and so the workspace has none.
    if (!Updating)
        emit CoupleSelected(nullptr, nullptr);
}

void TFraTOWSGroup::TOWSTreeChange() {
    if (Updating)
        return;
    const TProject* project = FHost.Project();
    // The highlighted entry: Ctrl+click takes the highlight, and the coupling.
    const QModelIndexList selected = TOWSTree->selectionModel()->selectedRows();
    const auto couple = selected.isEmpty() ? std::nullopt : Model->CoupleAt(selected.front());
    if (couple && project)
        emit CoupleSelected(project->Items[couple->Index1].get(),
                            project->Items[couple->Index2].get());
    else
        emit CoupleSelected(nullptr, nullptr);
}
