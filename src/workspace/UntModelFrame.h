#pragma once

#include <QFrame>

// Base of every frame the main window drives: rebuild from the project,
// release before destruction, commit before saving.
class TModelFrame : public QFrame {
    Q_OBJECT

public:
    explicit TModelFrame(QWidget* parent = nullptr);

    // Rebuilds everything the frame shows from the open project. The base
    // makes the frame live; an override calls it first, then guards its own
    // changes with a QScopedValueRollback of Updating.
    virtual void UpdateView();
    // Releases what the frame holds; true means it may now be destroyed.
    virtual bool CloseView();
    // Called before the project is written; false stops the save.
    virtual bool CommitView();

protected:
    // True while the frame changes its controls or the project by program;
    // change notifications are suppressed meanwhile. A frame is not live
    // before its first UpdateView.
    bool Updating = true;
};
