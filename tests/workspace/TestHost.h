#pragma once

#include "ScriptedSeam.h"
#include "UntClassProject.h"
#include "UntMainHost.h"

#include <QAction>
#include <functional>
#include <memory>

// Stands in for the main window around the workspace and the dialogs: holds
// the project, answers through a scripted seam, records help requests, and
// edits factors and conclusions through scripted answers.
class TTestHost : public TMainHost {
public:
    TProject* Project() override { return CurrentProject.get(); }
    TModalSeam& Seam() override { return ScriptedSeam; }
    void ShowHelpTopic(int context) override { Topics << context; }
    QAction* PropertiesAction() override { return &Properties; }
    TCouplingViewSettings& CouplingViewSettings() override { return Settings; }

    bool EditFactor(TTOWSItem& factor, bool isNew) override {
        ++FactorEdits;
        return FactorAnswer && FactorAnswer(factor, isNew);
    }
    bool EditGuideline(TGuideline& guideline) override {
        ++GuidelineEdits;
        return GuidelineAnswer && GuidelineAnswer(guideline);
    }

    std::unique_ptr<TProject> CurrentProject;
    TScriptedSeam ScriptedSeam;
    QList<int> Topics;
    QAction Properties{QStringLiteral("&Properties")};
    TCouplingViewSettings Settings;
    // No answer cancels the dialog.
    std::function<bool(TTOWSItem&, bool)> FactorAnswer;
    std::function<bool(TGuideline&)> GuidelineAnswer;
    int FactorEdits = 0;
    int GuidelineEdits = 0;
};
