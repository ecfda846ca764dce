#pragma once

class QAction;
class TModalSeam;
class TProject;

// What the screens of the workspace and the editing dialogs reach through the
// main window: the project shown, the modal seam, help and the commands they
// show as buttons.
class TMainHost {
public:
    virtual ~TMainHost() = default;

    // The project shown and edited; none before the first document.
    virtual TProject* Project() = 0;
    virtual TModalSeam& Seam() = 0;
    virtual void ShowHelpTopic(int context) = 0;
    // The project properties command, which the workspace's title band shows.
    virtual QAction* PropertiesAction() = 0;
};
