#pragma once

#include "workspace/UntMPDialog.h"

#include <functional>

class QListWidget;

// The example that a stored example file stands for: a project of the
// program's own templates folder, in either language, gives its twin in the
// interface's language when there is one; any other file stays itself.
QString ExampleOfInterfaceLanguage(const QString& path);

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
