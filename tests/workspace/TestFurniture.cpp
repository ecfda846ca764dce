#include "TestHost.h"
#include "workspace/UntFraListBar.h"
#include "workspace/UntFraTabTop.h"
#include "workspace/UntHelpContext.h"
#include "workspace/UntMPDialog.h"
#include "workspace/UntMainHost.h"

#include <QAction>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QString BandText(const QWidget& widget) {
    return widget.findChild<QLabel*>("LbTitle")->text();
}

} // namespace

TEST(Furniture, DialogHelpFollowsItsContext) {
    TTestHost host;
    TMPDialog withHelp(host, 22, nullptr);
    auto* help = withHelp.findChild<QPushButton*>("BtHelp");
    ASSERT_NE(help, nullptr);
    withHelp.show();
    withHelp.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&withHelp));
    QTest::mouseClick(help, Qt::LeftButton);
    QTest::keyClick(&withHelp, Qt::Key_F1);
    EXPECT_EQ(host.Topics, (QList<int>{22, 22}));

    host.Topics.clear();
    TMPDialog without(host, 0, nullptr);
    EXPECT_EQ(without.findChild<QPushButton*>("BtHelp"), nullptr) << "no help button";
    without.show();
    without.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&without));
    QTest::keyClick(&without, Qt::Key_F1);
    EXPECT_TRUE(host.Topics.isEmpty());
}

TEST(Furniture, DialogTitleBandAndKeys) {
    TTestHost host;
    TMPDialog dialog(host, 0, nullptr);
    dialog.SetTitle("Strength");
    EXPECT_EQ(dialog.windowTitle(), "Strength");
    EXPECT_EQ(BandText(dialog), "Strength");
    dialog.setWindowTitle("SWOT matrix element");
    EXPECT_EQ(BandText(dialog), "Strength") << "the caption alone leaves the band";

    QSignalSpy okClicks(dialog.findChild<QPushButton*>("BtOk"), &QPushButton::clicked);
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_EQ(okClicks.count(), 1) << "Enter runs the OK handler";
    EXPECT_TRUE(dialog.isVisible()) << "OK alone sets no result";
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(Furniture, TitleBand) {
    TTestHost host;
    QWidget holder;
    SetHelpContext(&holder, 13);
    TFraTabTop band(host, &holder);
    band.SetTitle("My analysis");
    EXPECT_EQ(band.Title(), "My analysis");

    const auto pressed = [&band](const char* name) {
        return band.findChild<QToolButton*>(name)->isChecked();
    };
    band.SetStatus(1);
    EXPECT_TRUE(pressed("BtSeen"));
    EXPECT_FALSE(pressed("BtNew"));
    band.SetStatus(3);
    EXPECT_EQ(band.Status(), 3);
    EXPECT_TRUE(pressed("BtSeen")) << "another value presses none; the pressed one stays";

    holder.show();
    EXPECT_TRUE(band.ShowStatus());
    band.SetShowStatus(false);
    EXPECT_FALSE(band.ShowStatus());

    QSignalSpy statusClicks(&band, &TFraTabTop::StatusClicked);
    band.SetShowStatus(true);
    QTest::mouseClick(band.findChild<QToolButton*>("BtNew"), Qt::LeftButton);
    EXPECT_EQ(statusClicks.count(), 1);

    auto* help = band.findChild<QToolButton*>("BtHelp");
    QTest::mouseClick(help, Qt::LeftButton);
    auto* props = band.findChild<QToolButton*>("BtProps");
    QTest::mouseClick(props, Qt::LeftButton);
    EXPECT_EQ(host.Topics, (QList<int>{13, 13})) << "an unbound properties button asks for help";

    QSignalSpy properties(&host.Properties, &QAction::triggered);
    band.BindProps(&host.Properties);
    EXPECT_EQ(props->text(), "Properties");
    QTest::mouseClick(props, Qt::LeftButton);
    EXPECT_EQ(properties.count(), 1);
    EXPECT_EQ(host.Topics.size(), 2);
}

TEST(Furniture, ListBarButtonsCanBeRemoved) {
    TFraListBar bar(nullptr);
    const auto button = [&bar](const char* name) {
        return bar.findChild<QToolButton*>(name);
    };
    // A button without its caption shows its picture only, and its hint names it.
    const auto pictureOnly = [](const QToolButton* shown) {
        return shown->text().isEmpty() && shown->toolButtonStyle() == Qt::ToolButtonIconOnly &&
               !shown->icon().isNull() && !shown->toolTip().isEmpty() &&
               shown->width() <= shown->height() + shown->iconSize().width();
    };
    EXPECT_TRUE(pictureOnly(button("BtAdd"))) << "captions are off from the start";

    bar.SetAffBtEdit(true);
    EXPECT_TRUE(pictureOnly(button("BtEdit")));
    bar.SetAffUpDown(false);
    bar.SetAffUpDown(false);
    EXPECT_EQ(button("BtDown"), nullptr);
    EXPECT_EQ(button("BtUp"), nullptr);
    bar.SetAffBtEdit(false);
    bar.SetAffBtEdit(true);
    EXPECT_EQ(button("BtEdit"), nullptr) << "a removed button stays gone";
    bar.SetAffUpDown(true);
    EXPECT_EQ(bar.findChildren<QToolButton*>().size(), 2);
}

// Each button of the bar, and each key it gives a list, reaches the frame
// through the bar's signal of that button.
TEST(Furniture, ListBarButtonsAndKeysSignal) {
    TFraListBar bar(nullptr);
    bar.SetAffUpDown(true);
    QListWidget list;
    list.addItem("item");
    bar.BindKeys(&list);
    QStringList heard;
    const struct {
        const char* button;
        void (TFraListBar::*signal)();
    } cases[] = {
        {"BtAdd", &TFraListBar::BtAddClick}, {"BtEdit", &TFraListBar::BtEditClick},
        {"BtDel", &TFraListBar::BtDelClick}, {"BtDown", &TFraListBar::BtDownClick},
        {"BtUp", &TFraListBar::BtUpClick},
    };
    for (const auto& s : cases)
        QObject::connect(&bar, s.signal, &bar, [&heard, &s] { heard << s.button; });
    bar.show();
    for (const auto& s : cases)
        QTest::mouseClick(bar.findChild<QToolButton*>(s.button), Qt::LeftButton);
    EXPECT_EQ(heard, (QStringList{"BtAdd", "BtEdit", "BtDel", "BtDown", "BtUp"}));

    heard.clear();
    list.show();
    list.setCurrentRow(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.activateWindow();
    list.setFocus();
    QTest::keyClick(&list, Qt::Key_Insert);
    QTest::keyClick(&list, Qt::Key_Delete);
    QTest::keyClick(&list, Qt::Key_Return);
    EXPECT_EQ(heard, (QStringList{"BtAdd", "BtDel", "BtEdit"}));
}
