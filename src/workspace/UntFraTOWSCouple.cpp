#include "workspace/UntFraTOWSCouple.h"

#include "model/UntStrings.h"
#include "storage/UntUtils.h"
#include "workspace/UntElidedLabel.h"
#include "workspace/UntMainHost.h"

#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

TFraTOWSCouple::TFraTOWSCouple(TMainHost& host, QWidget* parent)
    : TModelFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("FraTOWSCouple1"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    GBCouple = new QGroupBox(LoadStr(StrSelectedCoupling), this);
    GBCouple->setObjectName(QStringLiteral("GBCouple"));
    GBCouple->setStyleSheet(QStringLiteral("QGroupBox#GBCouple { font-weight: bold; }"));
    auto* inner = new QVBoxLayout(GBCouple);
    inner->setContentsMargins(4, 2, 4, 2);
    LbCouple = new TElidedLabel(GBCouple);
    LbCouple->setObjectName(QStringLiteral("LbCouple"));
    LbCouple->setAlignment(Qt::AlignCenter);
    LbCouple->setStyleSheet(QStringLiteral("font-weight: normal;"));
    // Three lines, whatever it shows, so that nothing below moves.
    LbCouple->setFixedHeight(3 * LbCouple->fontMetrics().lineSpacing() + 2);
    inner->addWidget(LbCouple);
    layout->addWidget(GBCouple);
}

void TFraTOWSCouple::SetCouple(const std::optional<TTOWSCouple>& couple) {
    FCouple = couple;
    UpdateView();
}

void TFraTOWSCouple::UpdateView() {
    TModelFrame::UpdateView();
    const std::optional<TTOWSCouple>& couple = FCouple;
    const TProject* project = FHost.Project();
    if (!couple || !project) {
        LbCouple->SetFullText(LoadStr(StrNoCouplingShown));
        return;
    }
    const TTOWSItem& internal = *project->Items[couple->Index1];
    const TTOWSItem& external = *project->Items[couple->Index2];
    const auto kind = GetCouplingKind(internal.SwotType, external.SwotType);
    const QString rating =
        QString::number(GetCouplingRating(*project, couple->Index1, couple->Index2)) +
        QStringLiteral("/9");
    const QString first =
        FillTemplate(LoadStr(StrRating), kind ? LoadStr(KindNameId(*kind)) : QString(), rating);
    LbCouple->SetFullText(first + QLatin1Char('\n') + internal.Name + QLatin1Char('\n') +
                          external.Name);
}
