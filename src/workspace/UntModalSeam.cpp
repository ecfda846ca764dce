#include "UntModalSeam.h"

#include <QDialog>

TModalSeam::~TModalSeam() = default;

int TModalSeam::ExecDialog(QDialog& dialog) {
    return dialog.exec();
}
