#pragma once

class QWidget;

// Help context numbers of windows and controls: 0 means no topic of its own.
void SetHelpContext(QWidget* widget, int context);
int HelpContext(const QWidget* widget);

// The context of the widget, or of the nearest of its parents that has one.
int InheritedHelpContext(const QWidget* widget);
