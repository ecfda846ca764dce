#pragma once

#include "ScriptedSeam.h"
#include "history/UntDocument.h"
#include "model/UntClassProject.h"
#include "workspace/UntFraTOWS.h"
#include "workspace/UntMainHost.h"

#include <QAction>
#include <functional>
#include <memory>

// Stands in for the main window around the workspace and the dialogs: holds
// the project with its history, answers through a scripted seam, records help
// requests, and edits factors and conclusions through scripted answers.
class TTestHost : public TMainHost {
public:
    void Open(std::unique_ptr<TProject> project) {
        FDocument = std::make_unique<TDocument>(std::move(project));
    }

    TDocument* Document() override { return FDocument.get(); }
    TModalSeam& Seam() override { return ScriptedSeam; }
    void ShowHelpTopic(int context) override { Topics << context; }
    QAction* PropertiesAction() override { return &Properties; }
    TCouplingViewSettings CouplingViewSettings() const override { return Settings; }
    void SetCouplingViewSettings(const TCouplingViewSettings& settings) override {
        Settings = settings;
    }
    double SplitRatio() const override { return Ratio; }
    void SetSplitRatio(double ratio) override { Ratio = ratio; }

    bool EditFactor(TTOWSItem& factor, bool isNew) override {
        ++FactorEdits;
        if (!FactorAnswer) {
            ADD_FAILURE() << "unscripted factor dialog";
            return false;
        }
        return FactorAnswer(factor, isNew);
    }
    bool EditGuideline(TGuideline& guideline, const TGuideline*) override {
        ++GuidelineEdits;
        if (!GuidelineAnswer) {
            ADD_FAILURE() << "unscripted conclusion dialog";
            return false;
        }
        return GuidelineAnswer(guideline);
    }

    std::unique_ptr<TDocument> FDocument;
    TScriptedSeam ScriptedSeam;
    QList<int> Topics;
    QAction Properties{QStringLiteral("&Properties")};
    TCouplingViewSettings Settings;
    double Ratio = 0.66;
    // The user's answer to the factor and conclusion dialogs; a dialog
    // nobody answered fails the test. Cancel answers false.
    std::function<bool(TTOWSItem&, bool)> FactorAnswer;
    std::function<bool(TGuideline&)> GuidelineAnswer;
    int FactorEdits = 0;
    int GuidelineEdits = 0;
};
