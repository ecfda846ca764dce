#include "shell/UntDlgCompare.h"

#include "model/UntStrings.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

enum TChosen { chNone, chFactor, chGuideline };

constexpr int ChosenRole = Qt::UserRole;
constexpr int PositionRole = Qt::UserRole + 1;

QString OneLine(const QString& cell) {
    return QString(cell).replace(QLatin1Char('\n'), QStringLiteral(", "));
}

// The three columns of the list: a line's first cell, its second, and the
// rest, each named by its column when there are more than three.
QStringList ListColumns(const QStringList& columns, const QStringList& cells) {
    QStringList shown{cells.value(0), OneLine(cells.value(1))};
    if (columns.size() <= 3) {
        shown << OneLine(cells.value(2));
        return shown;
    }
    QStringList rest;
    for (qsizetype c = 2; c < cells.size(); ++c)
        if (!cells[c].isEmpty())
            rest << columns.value(c) + QStringLiteral(": ") + OneLine(cells[c]);
    shown << rest.join(QStringLiteral("; "));
    return shown;
}

} // namespace

TDlgCompare::TDlgCompare(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("DlgCompare"));
    setWindowTitle(LoadStr(StrComparisonTitle));
    resize(760, 520);
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(LoadStr(StrDifferences), this);
    LstDifferences = new QTreeWidget(this);
    LstDifferences->setObjectName(QStringLiteral("LstDifferences"));
    LstDifferences->setColumnCount(3);
    LstDifferences->setHeaderHidden(true);
    LstDifferences->setRootIsDecorated(true);
    LstDifferences->setWordWrap(true);
    caption->setBuddy(LstDifferences);
    LstDifferences->setAccessibleName(caption->text().remove(QLatin1Char('&')));
    LbHint = new QLabel(this);
    LbHint->setObjectName(QStringLiteral("LbHint"));
    LbHint->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* swap = buttons->addButton(LoadStr(StrSwapVersions), QDialogButtonBox::ActionRole);
    swap->setObjectName(QStringLiteral("BtSwap"));
    swap->setAutoDefault(false);
    QPushButton* close = buttons->addButton(LoadStr(StrCompareClose), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("BtClose"));
    layout->addWidget(caption);
    layout->addWidget(LstDifferences, 1);
    layout->addWidget(LbHint);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(swap, &QPushButton::clicked, this, &TDlgCompare::BtSwapClick);
    connect(LstDifferences, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ItemChosen(item); });
}

void TDlgCompare::ShowComparison() {
    FShownIsNewer = true;
    Fill(Compare(FShownIsNewer));
}

void TDlgCompare::BtSwapClick() {
    FShownIsNewer = !FShownIsNewer;
    Fill(Compare(FShownIsNewer));
}

void TDlgCompare::Fill(const TComparison& comparison) {
    const QSignalBlocker quiet(LstDifferences);
    LstDifferences->clear();
    LbHint->setText(LoadStr(FShownIsNewer ? StrChooseToShow : StrShownIsOlder));
    QTreeWidgetItem* part = nullptr;
    for (const TComparisonSection& section : ComparisonSections(comparison)) {
        // The heading names the columns that the list shows as they are.
        const QStringList heading{section.Heading, section.Columns.value(1),
                                  section.Columns.size() <= 3 ? section.Columns.value(2)
                                                              : QString()};
        auto* group = section.Level == 3 && part ? new QTreeWidgetItem(part, heading)
                                                 : new QTreeWidgetItem(LstDifferences, heading);
        if (section.Level < 3)
            part = group;
        QFont bold = group->font(0);
        bold.setBold(true);
        for (int c = 0; c < 3; ++c)
            group->setFont(c, bold);
        group->setFlags(Qt::ItemIsEnabled);
        if (!section.Note.isEmpty())
            new QTreeWidgetItem(group, {section.Note});
        for (const TComparisonRow& row : section.Rows) {
            auto* line = new QTreeWidgetItem(group, ListColumns(section.Columns, row.Cells));
            // Long details go past the dialog's edge.
            for (int c = 0; c < 3; ++c)
                line->setToolTip(c, line->text(c));
            if (row.Factor) {
                line->setData(0, ChosenRole, chFactor);
                line->setData(0, PositionRole, *row.Factor);
            } else if (row.Guideline) {
                line->setData(0, ChosenRole, chGuideline);
                line->setData(0, PositionRole, static_cast<qulonglong>(*row.Guideline));
            }
        }
        group->setExpanded(true);
    }
    for (int c = 0; c < 3; ++c)
        LstDifferences->resizeColumnToContents(c);
}

void TDlgCompare::ItemChosen(QTreeWidgetItem* item) {
    if (!item || !FShownIsNewer)
        return;
    switch (item->data(0, ChosenRole).toInt()) {
    case chFactor:
        emit FactorChosen(item->data(0, PositionRole).toInt());
        break;
    case chGuideline:
        emit GuidelineChosen(item->data(0, PositionRole).toInt());
        break;
    default:
        break;
    }
}
