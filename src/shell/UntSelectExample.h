#pragma once

#include "workspace/UntMPDialog.h"

#include <functional>

class QListWidget;

// The choice of the example project among the project files of the
// templates folder.
class TDlgSelectExample : public TMPDialog {
    Q_OBJECT

public:
    TDlgSelectExample(TMainHost& host, QWidget* parent);

    // Reads the chosen file as the example; false when it could not.
    std::function<bool(const QString& path)> LoadExample;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BtOkClick();

    QListWidget* LstExamples;
};
