#pragma once

class QAbstractItemView;
class QFrame;
class QPalette;
class QWidget;
class TElidedLabel;

// The coloured title band of the dialogs and the workspace: a raised panel in
// the selection colour, an empty margin, then the title in white bold
// 13-pixel type, cut with an ellipsis when too long. Returns the band; *title
// receives its label.
QFrame* NewTitleBand(QWidget* parent, TElidedLabel** title);

// Whether the palette writes light text on dark backgrounds.
bool IsDarkPalette(const QPalette& palette);

// Keeps a list's selection in its colours when the list loses the focus.
void KeepSelectionVisible(QAbstractItemView* view);
