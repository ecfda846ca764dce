#include "workspace/UntKeyboard.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QSet>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QToolButton>
#include <QToolTip>
#include <algorithm>
#include <functional>
#include <vector>

QChar AccessKey(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] != QLatin1Char('&'))
            return caption[i + 1].toUpper();
        ++i;
    }
    return {};
}

namespace {

// A caption of a dialog and the way to change it.
struct TCaption {
    QString Text;
    std::function<void(const QString&)> Set;
};

std::vector<TCaption> Captions(QWidget* dialog) {
    std::vector<TCaption> captions;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        // Tool buttons are pictures or styles that keys of their own reach.
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !qobject_cast<QToolButton*>(button) && !button->text().isEmpty())
            captions.push_back({button->text(), [button](const QString& text) {
                                    button->setText(text);
                                }});
        else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
            captions.push_back({label->text(), [label](const QString& text) {
                                    label->setText(text);
                                }});
        else if (auto* box = qobject_cast<QGroupBox*>(widget); box && !box->title().isEmpty())
            captions.push_back({box->title(), [box](const QString& text) {
                                    box->setTitle(text);
                                }});
        else if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                captions.push_back({tabs->tabText(i), [tabs, i](const QString& text) {
                                        tabs->setTabText(i, text);
                                    }});
    }
    return captions;
}

// Where a letter may go, best first: the start of a word, then any letter
// or digit; letters of a plain keyboard before accented ones.
std::vector<qsizetype> Candidates(const QString& text) {
    std::vector<std::pair<int, qsizetype>> ranked;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        if (!text[i].isLetterOrNumber())
            continue;
        const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
        const bool plain = text[i].unicode() < 0x80;
        ranked.emplace_back((plain ? 0 : 2) + (wordStart ? 0 : 1), i);
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<qsizetype> positions;
    for (const auto& [rank, position] : ranked)
        positions.push_back(position);
    return positions;
}

} // namespace

void AssignAccessKeys(QWidget* dialog) {
    std::vector<TCaption> captions = Captions(dialog);
    QSet<QChar> used;
    std::vector<TCaption*> waiting;
    for (TCaption& caption : captions) {
        const QChar key = AccessKey(caption.Text);
        if (key.isNull())
            waiting.push_back(&caption);
        else
            used.insert(key);
    }
    // The captions with the fewest choices choose first.
    std::stable_sort(waiting.begin(), waiting.end(), [](const TCaption* a, const TCaption* b) {
        return Candidates(a->Text).size() < Candidates(b->Text).size();
    });
    for (TCaption* caption : waiting)
        for (const qsizetype position : Candidates(caption->Text)) {
            const QChar key = caption->Text[position].toUpper();
            if (used.contains(key))
                continue;
            used.insert(key);
            QString text = caption->Text;
            caption->Set(text.insert(position, QLatin1Char('&')));
            break;
        }
}

QList<QWidget*> FocusChain(QWidget* area) {
    QList<QWidget*> chain;
    for (QWidget* widget = area->nextInFocusChain(); widget != area;
         widget = widget->nextInFocusChain())
        if (area->isAncestorOf(widget) && (widget->focusPolicy() & Qt::TabFocus) &&
            !widget->focusProxy())
            chain << widget;
    return chain;
}

void SetTabOrder(const QList<QWidget*>& widgets) {
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

void TabToCheckedChoice(QButtonGroup* group) {
    const auto follow = [group] {
        const QList<QAbstractButton*> choices = group->buttons();
        QAbstractButton* entry = group->checkedButton();
        if (!entry && !choices.isEmpty())
            entry = choices.front();
        // The others stay a click or an arrow away.
        for (QAbstractButton* choice : choices)
            choice->setFocusPolicy(choice == entry ? Qt::StrongFocus : Qt::ClickFocus);
    };
    QObject::connect(group, &QButtonGroup::buttonToggled, group, follow);
    follow();
}

namespace {

// Drawn over an empty list that has the focus.
class TFocusMark : public QWidget {
public:
    explicit TFocusMark(QAbstractItemView* view) : QWidget(view->viewport()), FView(view) {
        setObjectName(QStringLiteral("FocusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        Follow();
    }

    void Follow() {
        const QAbstractItemModel* model = FView->model();
        const bool empty = !model || model->rowCount(FView->rootIndex()) == 0;
        setGeometry(FView->viewport()->rect());
        setVisible(FView->hasFocus() && empty);
        raise();
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // A view being destroyed still loses the focus, after its own part
        // is gone: it is then no item view to ask.
        if (!qobject_cast<QAbstractItemView*>(static_cast<QObject*>(FView)))
            return false;
        switch (event->type()) {
        case QEvent::FocusIn:
        case QEvent::FocusOut:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::LayoutRequest:
            Follow();
            break;
        default:
            break;
        }
        return false;
    }

    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }

private:
    QAbstractItemView* FView;
};

class TItemTips : public QObject {
public:
    explicit TItemTips(QAbstractItemView* view) : QObject(view), FView(view) {
        view->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ToolTip)
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        const QModelIndex index = FView->indexAt(help->pos());
        const QString text = index.data(Qt::DisplayRole).toString();
        if (index.isValid() && Elided(index, text))
            QToolTip::showText(help->globalPos(), text, FView->viewport(),
                               FView->visualRect(index));
        else
            QToolTip::hideText();
        return true;
    }

private:
    bool Elided(const QModelIndex& index, const QString& text) const {
        QStyleOptionViewItem option;
        option.initFrom(FView);
        option.rect = FView->visualRect(index);
        option.text = text;
        option.features = QStyleOptionViewItem::HasDisplay;
        if (index.data(Qt::CheckStateRole).isValid())
            option.features |= QStyleOptionViewItem::HasCheckIndicator;
        if (!index.data(Qt::DecorationRole).isNull()) {
            option.features |= QStyleOptionViewItem::HasDecoration;
            option.decorationSize = FView->iconSize();
        }
        QStyle* style = FView->style();
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, FView) + 1;
        const int room =
            style->subElementRect(QStyle::SE_ItemViewItemText, &option, FView).width() - 2 * margin;
        return FView->fontMetrics().horizontalAdvance(text) > room;
    }

    QAbstractItemView* FView;
};

class TFirstArrow : public QObject {
public:
    explicit TFirstArrow(QAbstractItemView* view) : QObject(view), FView(view) {
        view->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() != Qt::Key_Down && key->key() != Qt::Key_Up) ||
            (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
            return false;
        const QAbstractItemModel* model = FView->model();
        QItemSelectionModel* selection = FView->selectionModel();
        const int rows = model ? model->rowCount(FView->rootIndex()) : 0;
        if (rows == 0 || !selection || selection->hasSelection())
            return false;
        const QModelIndex end =
            model->index(key->key() == Qt::Key_Down ? 0 : rows - 1, 0, FView->rootIndex());
        selection->setCurrentIndex(end,
                                   QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        FView->scrollTo(end);
        return true;
    }

private:
    QAbstractItemView* FView;
};

// Asks for no width of its own: the list gives each row its whole width and
// the text is cut to it.
class TNarrowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return {0, QStyledItemDelegate::sizeHint(option, index).height()};
    }
};

} // namespace

void ShowFocusWhenEmpty(QAbstractItemView* view) {
    auto* mark = new TFocusMark(view);
    QAbstractItemModel* model = view->model();
    for (const auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        QObject::connect(model, signal, mark, [mark] { mark->Follow(); });
    QObject::connect(model, &QAbstractItemModel::modelReset, mark, [mark] { mark->Follow(); });
}

void SelectEndOnFirstArrow(QAbstractItemView* view) {
    new TFirstArrow(view);
}

void TipElidedItems(QAbstractItemView* view) {
    new TItemTips(view);
}

void ElideListItems(QListWidget* list) {
    list->setItemDelegate(new TNarrowDelegate(list));
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideRight);
}

TModalKeyGuard::TModalKeyGuard(QObject* parent) : QObject(parent) {}

namespace {

// The widget an object belongs to: itself, or the widget of its owner (the
// window of an action, the widget of a shortcut).
QWidget* WidgetOf(QObject* object) {
    while (object && !object->isWidgetType())
        object = object->parent();
    return static_cast<QWidget*>(object);
}

// Whether the modal dialog blocks the window, as the toolkit decides for
// the mouse.
bool Blocks(const QWidget* modal, const QWidget* window) {
    for (const QWidget* owner = window; owner; owner = owner->parentWidget())
        if (owner->window() == modal)
            return false;
    if (modal->windowModality() == Qt::ApplicationModal)
        return true;
    for (const QWidget* owner = modal->parentWidget(); owner; owner = owner->parentWidget())
        if (owner->window() == window)
            return true;
    return false;
}

} // namespace

bool TModalKeyGuard::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::Shortcut:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        break;
    default:
        return false;
    }
    const QWidget* modal = QApplication::activeModalWidget();
    const QWidget* widget = WidgetOf(watched);
    return modal && widget && Blocks(modal, widget->window());
}

TFocusReturn::TFocusReturn(QObject* parent) : QObject(parent) {}

bool TFocusReturn::eventFilter(QObject* watched, QEvent* event) {
    if ((event->type() != QEvent::Show && event->type() != QEvent::Hide) || event->spontaneous() ||
        !watched->isWidgetType())
        return false;
    auto* window = static_cast<QWidget*>(watched);
    if (!window->isWindow() ||
        (window->windowType() != Qt::Window && window->windowType() != Qt::Dialog))
        return false;
    if (event->type() == QEvent::Show) {
        QWidget* origin = QApplication::activeWindow();
        if (!origin && window->parentWidget())
            origin = window->parentWidget()->window();
        if (origin != window)
            FOrigins.insert(window, origin);
        return false;
    }
    QPointer<QWidget> origin = FOrigins.take(window);
    // The keyboard went elsewhere meanwhile: it stays there.
    if (QWidget* active = QApplication::activeWindow(); active && active != window)
        return false;
    // A window closed before the one it came from goes back to that one's owner.
    while (origin && !origin->isVisible())
        origin = origin->parentWidget() ? origin->parentWidget()->window() : nullptr;
    if (origin)
        origin->activateWindow();
    return false;
}
