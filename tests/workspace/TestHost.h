#pragma once

#include "ScriptedSeam.h"
#include "UntClassProject.h"
#include "UntDocument.h"
#include "UntFraTOWS.h"
#include "UntMainHost.h"

#include <QAction>
#include <functional>
#include <memory>

// Stands in for the main window around the workspace and the dialogs: holds
// the project with its history, answers through a scripted seam, records help
// requests, edits factors and conclusions through scripted answers, and shows
// changes in the workspace it is given.
class TTestHost : public TMainHost {
public:
    void Open(std::unique_ptr<TProject> project) {
        Document = std::make_unique<TDocument>(std::move(project));
    }

    TProject* Project() override { return Document ? &Document->Project() : nullptr; }
    TModalSeam& Seam() override { return ScriptedSeam; }
    void ShowHelpTopic(int context) override { Topics << context; }
    QAction* PropertiesAction() override { return &Properties; }
    TCouplingViewSettings& CouplingViewSettings() override { return Settings; }
    double& SplitRatio() override { return Ratio; }

    bool EditFactor(TTOWSItem& factor, bool isNew) override {
        ++FactorEdits;
        return FactorAnswer && FactorAnswer(factor, isNew);
    }
    bool EditGuideline(TGuideline& guideline, const TGuideline*) override {
        ++GuidelineEdits;
        return GuidelineAnswer && GuidelineAnswer(guideline);
    }
    void Apply(std::unique_ptr<QUndoCommand> change) override {
        if (change)
            Document->push(change.release());
    }
    void ProjectChanged(const TChange& change) override {
        if (Workspace)
            Workspace->ShowChange(change);
    }

    std::unique_ptr<TDocument> Document;
    TFraTOWS* Workspace = nullptr;
    TScriptedSeam ScriptedSeam;
    QList<int> Topics;
    QAction Properties{QStringLiteral("&Properties")};
    TCouplingViewSettings Settings;
    double Ratio = 0.66;
    // No answer cancels the dialog.
    std::function<bool(TTOWSItem&, bool)> FactorAnswer;
    std::function<bool(TGuideline&)> GuidelineAnswer;
    int FactorEdits = 0;
    int GuidelineEdits = 0;
};
