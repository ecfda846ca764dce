#pragma once

#include <QFrame>

class QAction;
class QButtonGroup;
class QLabel;
class TElidedLabel;
class QToolButton;

// The title band at the top of the workspace: the project title, a button for
// the project properties, a help button, and three status buttons.
class TFraTabTop : public QFrame {
    Q_OBJECT

public:
    TFraTabTop(class TMainHost& host, QWidget* parent);

    QString Title() const;
    void SetTitle(const QString& title);

    bool ShowStatus() const;
    void SetShowStatus(bool show);

    // 0 not started, 1 in progress, 2 finished; another value presses none.
    int Status() const { return FStatus; }
    void SetStatus(int status);

    // Makes BtProps show and run the command; unbound, it asks for help.
    void BindProps(QAction* action);

    // Shows the topic of the window that holds the band.
    void BtHelpClick();

signals:
    // A status button was clicked.
    void StatusClicked();

private:
    TMainHost& FHost;
    int FStatus = 0;
    TElidedLabel* LbTitle;
    QFrame* Panel1;
    QButtonGroup* FStatusGroup;
    QToolButton* BtProps;
    QToolButton* BtHelp;
};
