#pragma once

#include <QFrame>
#include <cstdint>

class TElidedLabel;
class QTreeWidget;
class TFraListBar;
class TProject;
class TTOWSItem;

// One list of the factor matrix: the factors of one type, most important
// first, under the heading of the type, with add, edit and delete buttons.
class TFraTOWSList : public QFrame {
    Q_OBJECT

public:
    TFraTOWSList(std::int32_t swotType, QWidget* parent);

    // Refills the list from the project; no item is selected afterwards.
    void FillList(const TProject* project);

    // The factor of the selected item, or none.
    TTOWSItem* SelectedFactor() const;
    void ClearSelection();
    // Selects the factor and brings it into view; nothing when it is not listed.
    void SelectFactor(const TTOWSItem* factor);

    // The list, then its buttons: the order of the Tab key.
    QList<QWidget*> TabOrder() const;

    const std::int32_t SwotType;

signals:
    void AddClick();
    // The edit button, or a double click on a factor.
    void EditClick();
    void DelClick();
    void SelectionChange();

private:
    TElidedLabel* ListTitle;
    TFraListBar* FraListBar1;
    QTreeWidget* LstTOWS;
};
