#pragma once

#include <QStringList>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

// Clicks the item of the list whose first column reads the name, as a user does.
inline void ClickItem(QTreeWidget* list, const QString& name) {
    const auto found = list->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << name.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(found[0]).center());
}

// The list's rows, their two columns joined by a blank: "Brand 3".
inline QStringList RowTexts(const QTreeWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        rows << list->topLevelItem(i)->text(0) + " " + list->topLevelItem(i)->text(1);
    return rows;
}
