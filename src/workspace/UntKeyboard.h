#pragma once

#include <QChar>
#include <QHash>
#include <QList>
#include <QObject>
#include <QPointer>

class QAbstractItemView;
class QButtonGroup;
class QListWidget;
class QString;
class QWidget;

// The access letter of a caption: the character after a single "&", in
// upper case; a null character for none.
QChar AccessKey(const QString& caption);

// Gives every labelled control of a dialog an access letter that no other
// control of the dialog uses: buttons, labels of a field, group boxes and
// tabs. Letters already given stay; the shown text is otherwise unchanged.
// Safe to call again after the captions changed.
void AssignAccessKeys(QWidget* dialog);

// The widgets inside the area that Tab reaches, in the order it reaches them.
QList<QWidget*> FocusChain(QWidget* area);

// Makes Tab go through the widgets in this order.
void SetTabOrder(const QList<QWidget*>& widgets);

// Tab and Shift+Tab enter a group of choices at its checked one; the arrows
// move between the choices.
void TabToCheckedChoice(QButtonGroup* group);

// An empty list shows that it has the focus, as a list with items does.
void ShowFocusWhenEmpty(QAbstractItemView* view);

// In a list where nothing is selected, the first Down selects the first item
// and the first Up the last, whichever item the list made current when it
// took the focus.
void SelectEndOnFirstArrow(QAbstractItemView* view);

// A name cut with an ellipsis shows its whole text in a tooltip; a name
// shown whole shows none, and neither shows the tooltip of a parent.
void TipElidedItems(QAbstractItemView* view);

// A list of names one per line: a name too long for the list is cut with an
// ellipsis instead of widening the list beyond its window.
void ElideListItems(QListWidget* list);

// While a modal dialog is open, the windows it blocks take no keys and no
// shortcuts, also when the window manager gives them the focus or a key
// arrives before the dialog has it: nothing behind the dialog changes the
// project meanwhile.
class TModalKeyGuard : public QObject {
    Q_OBJECT

public:
    explicit TModalKeyGuard(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// A window of ours that closes while it has the keyboard gives it back to
// the window that had it when it opened, whose widget that had the focus
// has it again. A window manager would do so; without one, keys would go
// nowhere until a click.
class TFocusReturn : public QObject {
    Q_OBJECT

public:
    explicit TFocusReturn(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QHash<const QWidget*, QPointer<QWidget>> FOrigins;
};
