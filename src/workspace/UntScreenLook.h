#pragma once

class QAbstractItemView;
class QFrame;
class QLabel;
class QWidget;

// The coloured title band of the dialogs and the workspace: a raised panel in
// the selection colour, an empty margin, then the title in white bold
// 13-pixel type. Returns the band; *title receives its label.
QFrame* NewTitleBand(QWidget* parent, QLabel** title);

// Keeps a list's selection in its colours when the list loses the focus.
void KeepSelectionVisible(QAbstractItemView* view);
