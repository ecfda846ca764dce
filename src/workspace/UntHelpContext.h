#pragma once

class QWidget;

// Help context numbers: each opens a page of the help (see TFrmHelp).
enum THelpContext : int {
    hcNone = 0, // no topic of its own
    hcMainWindow = 1,
    hcWorkspace = 13,
    hcFactor = 22,
    hcConclusion = 241,
};

// Help context numbers of windows and controls.
void SetHelpContext(QWidget* widget, int context);
int HelpContext(const QWidget* widget);

// The context of the widget, or of the nearest of its parents that has one.
int InheritedHelpContext(const QWidget* widget);
