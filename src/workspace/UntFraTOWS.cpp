#include "UntFraTOWS.h"

#include "UntClassProject.h"
#include "UntFraTabTop.h"
#include "UntHelpContext.h"
#include "UntMainHost.h"

#include <QVBoxLayout>

TFraTOWS::TFraTOWS(TMainHost& host, QWidget* parent) : TModelFrame(parent), FHost(host) {
    setObjectName(QStringLiteral("Workspace"));
    SetHelpContext(this, 13);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    FraTabTop1 = new TFraTabTop(host, this);
    FraTabTop1->setObjectName(QStringLiteral("FraTabTop1"));
    FraTabTop1->SetShowStatus(false);
    FraTabTop1->BindProps(host.PropertiesAction());
    layout->addWidget(FraTabTop1);
    layout->addStretch(1);
}

void TFraTOWS::UpdateView() {
    TModelFrame::UpdateView();
    Updating = true;
    if (const TProject* project = FHost.Project())
        FraTabTop1->SetTitle(project->Title);
    Updating = false;
}
