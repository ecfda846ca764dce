#include "workspace/UntModelFrame.h"

TModelFrame::TModelFrame(QWidget* parent) : QFrame(parent) {
    setAutoFillBackground(true);
}

void TModelFrame::UpdateView() {
    Updating = false;
}

bool TModelFrame::CloseView() {
    return true;
}

bool TModelFrame::CommitView() {
    return true;
}
