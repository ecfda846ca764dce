#include "workspace/UntFraListBar.h"

#include "model/UntStrings.h"

#include <QHBoxLayout>
#include <QShortcut>

namespace {

QToolButton* MakeButton(QWidget* parent, const char* name, const char* icon, const char* caption,
                        int width, const char* hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setIcon(QIcon(QLatin1String(icon)));
    button->setIconSize(QSize(16, 16));
    button->setText(QString::fromUtf8(caption));
    button->setToolTip(QString::fromUtf8(hint));
    button->setToolButtonStyle(*caption ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
    button->setAutoRaise(true);
    // The raised frame of a flat button is too faint to show the focus.
    button->setStyleSheet(QStringLiteral(
        "QToolButton:focus { border: 2px solid palette(highlight); border-radius: 3px; }"));
    button->setFixedSize(width, 22);
    return button;
}

void PictureOnly(QToolButton* button) {
    button->setText(QString());
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFixedSize(22, 22);
}

} // namespace

TFraListBar::TFraListBar(QWidget* parent) : TModelFrame(parent) {
    setObjectName(QStringLiteral("FraListBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    BtAdd = MakeButton(this, "BtAdd", ":/icons/add.svg", "Ajouter", 80,
                       "Cliquez ici pour ajouter un nouvel élément");
    BtEdit = MakeButton(this, "BtEdit", ":/icons/edit.svg", "Editer", 65,
                        "Cliquez ici pour afficher l'élément sélectionné");
    BtDel = MakeButton(this, "BtDel", ":/icons/delete.svg", "Supprimer", 80,
                       "Cliquez ici pour supprimer l'élément sélectionné");
    BtDown =
        MakeButton(this, "BtDown", ":/icons/down.svg", "", 23, "Descendre l'élément sélectionné");
    BtUp = MakeButton(this, "BtUp", ":/icons/up.svg", "", 23, "Remonter l'élément sélectionné");
    for (QToolButton* button : {BtAdd, BtEdit.data(), BtDel, BtDown.data(), BtUp.data()})
        layout->addWidget(button);
    layout->addStretch(1);
    connect(BtAdd, &QToolButton::clicked, this, &TFraListBar::BtAddClick);
    connect(BtEdit, &QToolButton::clicked, this, &TFraListBar::BtEditClick);
    connect(BtDel, &QToolButton::clicked, this, &TFraListBar::BtDelClick);
    connect(BtDown, &QToolButton::clicked, this, &TFraListBar::BtDownClick);
    connect(BtUp, &QToolButton::clicked, this, &TFraListBar::BtUpClick);
    SetAffBtCaptions(false);
}

void TFraListBar::SetAffBtCaptions(bool show) {
    if (show)
        return;
    PictureOnly(BtAdd);
    PictureOnly(BtDel);
}

void TFraListBar::SetAffBtEdit(bool show) {
    if (!BtEdit)
        return;
    if (show) {
        PictureOnly(BtEdit);
        BtEdit->show();
    } else {
        delete BtEdit;
    }
}

void TFraListBar::SetAffUpDown(bool show) {
    for (QPointer<QToolButton>* button : {&BtDown, &BtUp}) {
        if (!*button)
            continue;
        if (show)
            (*button)->show();
        else
            delete button->data();
    }
}

void TFraListBar::NameButtons(int firstTextId) {
    int id = firstTextId;
    for (QToolButton* button : {BtAdd, BtEdit.data(), BtDel, BtDown.data(), BtUp.data()}) {
        if (button)
            button->setAccessibleName(LoadStr(id));
        ++id;
    }
}

void TFraListBar::BindKeys(QAbstractItemView* list) {
    const auto bind = [list](QKeySequence key, QToolButton* button) {
        auto* shortcut = new QShortcut(key, list, nullptr, nullptr, Qt::WidgetShortcut);
        QObject::connect(shortcut, &QShortcut::activated, button, [button] {
            if (button)
                button->click();
        });
    };
    bind(QKeySequence(Qt::Key_Insert), BtAdd);
    bind(QKeySequence::Delete, BtDel);
    if (BtEdit) {
        QToolButton* edit = BtEdit;
        QObject::connect(list, &QAbstractItemView::activated, edit, [edit] { edit->click(); });
    }
}
