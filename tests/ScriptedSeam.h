#pragma once

#include "UntModalSeam.h"

#include <QDialog>
#include <QStringList>
#include <deque>

// Answers modal interactions from a queue and records what was asked, so that
// no test blocks on a modal window.
class TScriptedSeam : public TModalSeam {
public:
    int ExecDialog(QDialog& dialog) override {
        Asked << dialog.objectName();
        if (DialogResults.empty())
            return QDialog::Rejected;
        const int result = DialogResults.front();
        DialogResults.pop_front();
        return result;
    }

    std::deque<int> DialogResults;
    QStringList Asked;
};
