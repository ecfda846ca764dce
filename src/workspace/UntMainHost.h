#pragma once

#include "history/UntDocument.h"

class QAction;
class TGuideline;
class TModalSeam;
class TTOWSItem;

// The coupling view's filter and threshold: they belong to the run, not to a
// view or a project, and last until the program ends.
struct TCouplingViewSettings {
    int FilterIndex = 0;
    int TrackPosition = 4;
};

// What the screens of the workspace and the editing dialogs reach through the
// main window: the project shown, the modal seam, help, the editing dialogs
// and the commands they show as buttons.
class TMainHost {
public:
    virtual ~TMainHost() = default;

    // The document shown and edited, whose history takes every change; none
    // before the first document.
    virtual TDocument* Document() = 0;
    // Its project, to read.
    const TProject* Project() {
        const TDocument* document = Document();
        return document ? &document->Project() : nullptr;
    }
    virtual TModalSeam& Seam() = 0;
    virtual void ShowHelpTopic(int context) = 0;
    // The project properties command, which the workspace's title band shows.
    virtual QAction* PropertiesAction() = 0;
    virtual TCouplingViewSettings CouplingViewSettings() const = 0;
    virtual void SetCouplingViewSettings(const TCouplingViewSettings& settings) = 0;
    // The share of the workspace's width that its view side takes; kept
    // between runs.
    virtual double SplitRatio() const = 0;
    virtual void SetSplitRatio(double ratio) = 0;

    // The factor and conclusion dialogs; true when the user accepted, and
    // only then is the object changed.
    virtual bool EditFactor(TTOWSItem& factor, bool isNew) = 0;
    // original: the project's conclusion that guideline copies; none for a
    // new one.
    virtual bool EditGuideline(TGuideline& guideline, const TGuideline* original) = 0;
};
