#pragma once

#include "workspace/UntModelFrame.h"

#include <QAbstractItemView>
#include <QPointer>
#include <QToolButton>

// The small tool bar above a list: add, edit, delete, move down, move up.
// The frame that embeds it connects to its signals; buttons it removes are
// gone for good.
class TFraListBar : public TModelFrame {
    Q_OBJECT

public:
    explicit TFraListBar(QWidget* parent);

    // False takes the captions off the add and delete buttons; true changes nothing.
    void SetAffBtCaptions(bool show);
    // True shows the edit button as a picture; false removes it.
    void SetAffBtEdit(bool show);
    // True shows the down and up buttons; false removes them.
    void SetAffUpDown(bool show);

    // Names the buttons for screen readers after what they act on: the
    // string-table texts from the first, in the order add, edit, delete,
    // down, up.
    void NameButtons(int firstTextId);

    // Gives the list the keys of the bar: Insert adds, Delete deletes, Enter
    // edits.
    void BindKeys(QAbstractItemView* list);

signals:
    void BtAddClick();
    void BtEditClick();
    void BtDelClick();
    void BtDownClick();
    void BtUpClick();

private:
    QToolButton* BtAdd;
    QPointer<QToolButton> BtEdit;
    QToolButton* BtDel;
    QPointer<QToolButton> BtDown;
    QPointer<QToolButton> BtUp;
};
