#include "workspace/UntFraTOWS.h"

#include "history/UntProjectChanges.h"
#include "model/UntStrings.h"
#include "workspace/UntElidedLabel.h"
#include "workspace/UntFraList.h"
#include "workspace/UntFraListBar.h"
#include "workspace/UntFraStrategies.h"
#include "workspace/UntFraTOWS2.h"
#include "workspace/UntFraTOWSCouple.h"
#include "workspace/UntFraTOWSMat.h"
#include "workspace/UntFraTabTop.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntMainHost.h"
#include "workspace/UntModalSeam.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSplitter>
#include <QVBoxLayout>
#include <cmath>

TFraTOWS::TFraTOWS(TMainHost& host, QWidget* parent) : TModelFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("Workspace"));
    SetHelpContext(this, hcWorkspace);
    resize(443, 270);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);

    FraTabTop1 = new TFraTabTop(host, this);
    FraTabTop1->setObjectName(QStringLiteral("FraTabTop1"));
    FraTabTop1->SetShowStatus(false);
    FraTabTop1->BindProps(host.PropertiesAction());
    connect(FraTabTop1, &TFraTabTop::StatusClicked, this, &TFraTOWS::DataChange);
    layout->addWidget(FraTabTop1);

    Splitter = new QSplitter(Qt::Horizontal, this);
    Splitter->setObjectName(QStringLiteral("PnlSplit"));
    Splitter->setHandleWidth(3);
    Splitter->setChildrenCollapsible(false);
    layout->addWidget(Splitter, 1);

    // The view side.
    auto* panel3 = new QWidget(Splitter);
    panel3->setObjectName(QStringLiteral("Panel3"));
    auto* viewSide = new QVBoxLayout(panel3);
    viewSide->setContentsMargins(2, 2, 2, 2);
    viewSide->setSpacing(5);
    RGVisuBox = new QGroupBox(LoadStr(StrSwotMatrix), panel3);
    RGVisuBox->setObjectName(QStringLiteral("RGVisu"));
    RGVisuBox->setStyleSheet(QStringLiteral("QGroupBox#RGVisu { font-weight: bold; }"));
    auto* switchLayout = new QHBoxLayout(RGVisuBox);
    switchLayout->setContentsMargins(8, 2, 8, 4);
    RGVisu = new QButtonGroup(this);
    const struct {
        int Caption;
        const char* Name;
    } choices[] = {{StrEnterFactors, "RGVisuMatrix"},
                   {StrCouplingView, "RGVisuCouplings"},
                   {StrStrategyView, "RGVisuStrategies"}};
    for (int id = 0; id < 3; ++id) {
        auto* choice = new QRadioButton(LoadStr(choices[id].Caption), RGVisuBox);
        choice->setObjectName(QLatin1String(choices[id].Name));
        choice->setStyleSheet(QStringLiteral("font-weight: normal;"));
        RGVisu->addButton(choice, id);
        switchLayout->addWidget(choice, 1);
    }
    RGVisu->button(0)->setChecked(true);
    TabToCheckedChoice(RGVisu);
    connect(RGVisu, &QButtonGroup::idClicked, this, [this](int view) {
        // The view shown stays as it is, with its selection.
        if (view != FViewShown)
            RGVisuClick();
    });
    viewSide->addWidget(RGVisuBox);
    Panel1 = new QWidget(panel3);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto* viewHost = new QVBoxLayout(Panel1);
    viewHost->setContentsMargins(0, 0, 0, 0);
    viewSide->addWidget(Panel1, 1);

    // The conclusion side.
    auto* panel4 = new QWidget(Splitter);
    panel4->setObjectName(QStringLiteral("Panel4"));
    auto* conclusionSide = new QVBoxLayout(panel4);
    conclusionSide->setContentsMargins(2, 2, 2, 2);
    conclusionSide->setSpacing(2);
    FraTOWSCouple1 = new TFraTOWSCouple(host, panel4);
    // 65 pixels, or what three lines of the desktop's font need.
    FraTOWSCouple1->setMinimumHeight(65);
    FraTOWSCouple1->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    conclusionSide->addWidget(FraTOWSCouple1);
    LbConclusions = new TElidedLabel(panel4);
    LbConclusions->setObjectName(QStringLiteral("LbConclusions"));
    LbConclusions->setStyleSheet(QStringLiteral("font-weight: bold;"));
    conclusionSide->addWidget(LbConclusions);
    FraListBar1 = new TFraListBar(panel4);
    FraListBar1->setObjectName(QStringLiteral("FraListBar1"));
    FraListBar1->SetAffUpDown(true);
    FraListBar1->SetAffBtEdit(true);
    FraListBar1->SetAffBtCaptions(false);
    FraListBar1->NameButtons(StrConclusionButtonsBase);
    conclusionSide->addWidget(FraListBar1);
    LstGuidelines = new QListWidget(panel4);
    LstGuidelines->setObjectName(QStringLiteral("LstGuidelines"));
    ElideListItems(LstGuidelines);
    TipElidedItems(LstGuidelines);
    ShowFocusWhenEmpty(LstGuidelines);
    SelectEndOnFirstArrow(LstGuidelines);
    conclusionSide->addWidget(LstGuidelines, 1);

    Splitter->setStretchFactor(0, 0);
    Splitter->setStretchFactor(1, 1);
    connect(Splitter, &QSplitter::splitterMoved, this, [this] {
        const int total = Splitter->width();
        if (total > 0)
            FHost.SetSplitRatio(static_cast<double>(Splitter->sizes().front()) / total);
    });

    connect(FraListBar1, &TFraListBar::BtAddClick, this, &TFraTOWS::ClickAddGuideLine);
    connect(FraListBar1, &TFraListBar::BtEditClick, this, &TFraTOWS::ClickEditGuideline);
    connect(FraListBar1, &TFraListBar::BtDelClick, this, &TFraTOWS::ClickDelGuideline);
    connect(FraListBar1, &TFraListBar::BtDownClick, this, &TFraTOWS::FraListBar1BtDownClick);
    connect(FraListBar1, &TFraListBar::BtUpClick, this, &TFraTOWS::FraListBar1BtUpClick);
    FraListBar1->BindKeys(LstGuidelines);
    connect(LstGuidelines, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!Updating)
            LstGuidelinesClickCheck(item);
    });
}

const TProject* TFraTOWS::Project() const {
    return FHost.Project();
}

void TFraTOWS::UpdateView() {
    TModelFrame::UpdateView();
    const QScopedValueRollback updating(Updating, true);
    // The document shown tells what each of its changes touched.
    disconnect(FFollowing);
    if (TDocument* document = FHost.Document())
        FFollowing = connect(document, &TDocument::Changed, this, &TFraTOWS::ShowChange);
    if (const TProject* project = Project()) {
        FraTabTop1->SetTitle(project->Title);
        LbConclusions->SetFullText(project->Labels.Value(hdConclusions));
        const QString heading = project->Labels.Value(hdConclusions);
        LstGuidelines->setAccessibleName(
            heading.trimmed().isEmpty() ? TLabels::DefaultValue(hdConclusions) : heading);
    }
    RGVisuClick();
    FillGuidelines();
    FraTOWSCouple1->UpdateView();
    CheckGuidelines();
    if (QWidget* first = OrderTabs().value(0))
        first->setFocus(Qt::OtherFocusReason);
}

bool TFraTOWS::CloseView() {
    delete ViewFrame;
    delete FraTOWSCouple1;
    FraTOWSCouple1 = nullptr;
    FSelectedCouple.reset();
    return true;
}

int TFraTOWS::SelectedGuideline() const {
    const QList<QListWidgetItem*> selected = LstGuidelines->selectedItems();
    return selected.isEmpty() ? -1 : LstGuidelines->row(selected.front());
}

void TFraTOWS::RGVisuClick() {
    FViewShown = RGVisu->checkedId();
    delete ViewFrame;
    SetSelectedCouple(nullptr, nullptr);
    TModelFrame* view = nullptr;
    if (RGVisu->checkedId() == 1) {
        auto* group = new TFraTOWSGroup(FHost, Panel1);
        connect(group, &TFraTOWSGroup::CoupleSelected, this, &TFraTOWS::SetSelectedCouple);
        view = group;
    } else if (RGVisu->checkedId() == 2) {
        view = new TFraStrategies(FHost, Panel1);
    } else {
        auto* matrix = new TFraTOWSMat(FHost, Panel1);
        connect(matrix, &TFraTOWSMat::CoupleSelected, this, &TFraTOWS::SetSelectedCouple);
        view = matrix;
    }
    ViewFrame = view;
    view->UpdateView();
    Panel1->layout()->addWidget(view);
    OrderTabs();
}

QList<QWidget*> TFraTOWS::OrderTabs() {
    // As the screen reads: the factors, left to right and top to bottom,
    // then the conclusions; the view choice and the title band last.
    QList<QWidget*> order;
    if (qobject_cast<TFraTOWSMat*>(ViewFrame.data()))
        for (const std::int32_t type : {stStrength, stWeakness, stOpportunity, stThreat})
            order += ViewFrame->findChild<TFraTOWSList*>(QStringLiteral("FraList%1").arg(type))
                         ->TabOrder();
    else if (ViewFrame)
        order += FocusChain(ViewFrame);
    order += FocusChain(FraTOWSCouple1);
    order << LstGuidelines;
    order += FocusChain(FraListBar1);
    for (QAbstractButton* choice : RGVisu->buttons())
        order << choice;
    order += FocusChain(FraTabTop1);
    SetTabOrder(order);
    return order;
}

void TFraTOWS::SetSelectedCouple(const TTOWSItem* internal, const TTOWSItem* external) {
    FSelectedCouple.reset();
    if (internal && external && Project())
        FSelectedCouple =
            TTOWSCouple{Project()->IndexOfItem(internal), Project()->IndexOfItem(external)};
    if (FraTOWSCouple1)
        FraTOWSCouple1->SetCouple(FSelectedCouple);
    CheckGuidelines();
}

void TFraTOWS::FillGuidelines() {
    const QScopedValueRollback updating(Updating, true);
    LstGuidelines->clear();
    if (const TProject* project = Project())
        for (const auto& guideline : project->Guidelines) {
            auto* item = new QListWidgetItem(guideline->Name, LstGuidelines);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    CheckGuidelines();
}

void TFraTOWS::CheckGuidelines() {
    const TProject* project = Project();
    const QScopedValueRollback updating(Updating, true);
    for (int i = 0; i < LstGuidelines->count(); ++i) {
        const bool holds =
            FSelectedCouple && project &&
            project->Guidelines[i]->HasCouple(FSelectedCouple->Index1, FSelectedCouple->Index2);
        LstGuidelines->item(i)->setCheckState(holds ? Qt::Checked : Qt::Unchecked);
    }
}

void TFraTOWS::ShowChange(const TChange& change) {
    switch (change.Scope) {
    case TChangeScope::Properties:
        UpdateView();
        return;
    case TChangeScope::Factors:
        if (ViewFrame)
            ViewFrame->UpdateView();
        SetSelectedCouple(nullptr, nullptr);
        return;
    case TChangeScope::Conclusions:
        FillGuidelines();
        break;
    case TChangeScope::Links:
        CheckGuidelines();
        break;
    }
    const QScopedValueRollback updating(Updating, true);
    LstGuidelines->setCurrentRow(change.Guideline);
}

void TFraTOWS::ShowFactor(std::int32_t position) {
    const TProject* project = Project();
    if (!project || !project->IsValidPosition(position))
        return;
    if (RGVisu->checkedId() != 0) {
        RGVisu->button(0)->setChecked(true);
        RGVisuClick();
    }
    if (auto* matrix = qobject_cast<TFraTOWSMat*>(ViewFrame.data()))
        matrix->ShowFactor(*project->Items[position]);
}

void TFraTOWS::ShowGuideline(int position) {
    if (position < 0 || position >= LstGuidelines->count())
        return;
    LstGuidelines->setCurrentRow(position);
    LstGuidelines->scrollToItem(LstGuidelines->item(position));
}

void TFraTOWS::LstGuidelinesClickCheck(QListWidgetItem* item) {
    TDocument* document = FHost.Document();
    if (!document || !item)
        return;
    const int i = LstGuidelines->row(item);
    if (!FSelectedCouple) {
        LstGuidelines->setCurrentItem(item);
        FHost.Seam().Error(this, LoadStr(StrNoCoupling));
        const QScopedValueRollback updating(Updating, true);
        item->setCheckState(Qt::Unchecked);
        return;
    }
    document->Apply(LinkChange(*document, i, *FSelectedCouple, item->checkState() == Qt::Checked));
}

void TFraTOWS::ClickAddGuideLine() {
    TDocument* document = FHost.Document();
    if (!document)
        return;
    if (!FSelectedCouple) {
        FHost.Seam().Error(this, LoadStr(StrSelectCouplingFirst));
        return;
    }
    auto guideline = std::make_unique<TGuideline>();
    if (!FHost.EditGuideline(*guideline, nullptr))
        return;
    // The new conclusion holds the selected coupling, as if its mark had
    // been clicked.
    guideline->AddCouple(FSelectedCouple->Index1, FSelectedCouple->Index2);
    document->Apply(AddGuidelineChange(*document, std::move(guideline)));
}

void TFraTOWS::ClickEditGuideline() {
    TDocument* document = FHost.Document();
    const int i = SelectedGuideline();
    if (!document || i < 0)
        return;
    // The dialog edits a copy: the project changes through its history only.
    const TGuideline& original = *document->Project().Guidelines[i];
    TGuideline edited = original;
    if (FHost.EditGuideline(edited, &original))
        document->Apply(EditGuidelineChange(*document, i, edited));
}

void TFraTOWS::ClickDelGuideline() {
    TDocument* document = FHost.Document();
    const int i = SelectedGuideline();
    if (document && i >= 0)
        document->Apply(DeleteGuidelineChange(*document, i));
}

void TFraTOWS::FraListBar1BtDownClick() {
    TDocument* document = FHost.Document();
    const int i = SelectedGuideline();
    if (document && i >= 0 && i + 1 < LstGuidelines->count())
        document->Apply(MoveGuidelineChange(*document, i, i + 1));
}

void TFraTOWS::FraListBar1BtUpClick() {
    TDocument* document = FHost.Document();
    const int i = SelectedGuideline();
    if (document && i > 0)
        document->Apply(MoveGuidelineChange(*document, i, i - 1));
}

void TFraTOWS::DataChange() {
    if (TDocument* document = FHost.Document(); document && !Updating)
        document->MarkUnsaved();
}

void TFraTOWS::ApplySplitRatio() {
    const int total = Splitter->width();
    const int left = static_cast<int>(std::ceil(total * FHost.SplitRatio()));
    Splitter->setSizes({left, std::max(total - left - Splitter->handleWidth(), 0)});
}

void TFraTOWS::resizeEvent(QResizeEvent* event) {
    TModelFrame::resizeEvent(event);
    ApplySplitRatio();
}
