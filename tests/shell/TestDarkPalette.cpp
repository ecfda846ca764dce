#include "MainWindowTest.h"
#include "shell/UntBranding.h"

#include <QApplication>
#include <QImage>
#include <QLocale>
#include <QPalette>
#include <QStyle>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextTable>
#include <algorithm>
#include <cmath>

namespace {

double Luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double Contrast(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QPalette MakeDarkPalette() {
    QPalette dark;
    const QColor text(0xe6, 0xe6, 0xe6);
    dark.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    dark.setColor(QPalette::AlternateBase, QColor(0x33, 0x33, 0x33));
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::Mid, QColor(0x55, 0x55, 0x55));
    dark.setColor(QPalette::Link, QColor(0x8a, 0xb4, 0xf8));
    dark.setColor(QPalette::LinkVisited, QColor(0xc5, 0x8a, 0xf9));
    dark.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    return dark;
}

// The colour behind a block: its own, its table cell's, or the page's.
QColor BlockBackground(const QTextBlock& block, const QColor& page) {
    if (block.blockFormat().hasProperty(QTextFormat::BackgroundBrush))
        return block.blockFormat().background().color();
    const QTextCursor cursor(block);
    if (const QTextTable* table = cursor.currentTable()) {
        const QTextTableCellFormat cell = table->cellAt(cursor).format().toTableCellFormat();
        if (cell.hasProperty(QTextFormat::BackgroundBrush))
            return cell.background().color();
    }
    return page;
}

class DarkPalette : public MainWindowTest {
protected:
    void SetUp() override {
        Kept = QApplication::palette();
        QApplication::setPalette(MakeDarkPalette());
        MainWindowTest::SetUp();
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        QApplication::setPalette(Kept);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    }
    QPalette Kept;
};

} // namespace

// Every run of text of every help page, in both languages and under a light
// and a dark palette, stands out from what is behind it by 4.5:1 at least.
TEST_F(DarkPalette, EveryHelpTextReadsUnderEitherPalette) {
    for (const QPalette& palette : {QApplication::style()->standardPalette(), MakeDarkPalette()}) {
        QApplication::setPalette(palette);
        for (const QLocale& locale :
             {QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::French)}) {
            QLocale::setDefault(locale);
            for (const int context : {0, 1, 13, 22, 241}) {
                // A window each time, so that every page is read afresh.
                NewWindow();
                Window->ShowHelpTopic(context);
                // The help window is a window of its own, not the main window's child.
                QTextBrowser* browser = nullptr;
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (window->objectName() == QLatin1String("FrmHelp"))
                        browser = window->findChild<QTextBrowser*>("HelpBrowser");
                ASSERT_NE(browser, nullptr);
                const QColor page = browser->palette().color(QPalette::Base);
                const QColor text = browser->palette().color(QPalette::Text);
                int runs = 0;
                for (QTextBlock block = browser->document()->begin(); block.isValid();
                     block = block.next()) {
                    const QColor behind = BlockBackground(block, page);
                    for (auto it = block.begin(); !it.atEnd(); ++it) {
                        const QTextCharFormat format = it.fragment().charFormat();
                        if (it.fragment().text().trimmed().isEmpty())
                            continue;
                        const QColor fore = format.hasProperty(QTextFormat::ForegroundBrush)
                                                ? format.foreground().color()
                                                : text;
                        const QColor back = format.hasProperty(QTextFormat::BackgroundBrush)
                                                ? format.background().color()
                                                : behind;
                        ++runs;
                        EXPECT_GE(Contrast(fore, back), 4.5)
                            << locale.name().toStdString() << " topic " << context << " \""
                            << it.fragment().text().left(40).toStdString() << "\" "
                            << fore.name().toStdString() << " on " << back.name().toStdString();
                    }
                }
                EXPECT_GT(runs, 3) << context;
            }
        }
    }
}

// The product's name beside the tool bar's end takes the palette's text
// colour: it reads on a dark tool bar.
TEST_F(DarkPalette, TheToolBarLogoReadsOnADarkToolBar) {
    auto* logo = Window->findChild<TToolBarLogo*>("ToolBarLogo");
    ASSERT_NE(logo, nullptr);
    const QImage picture = logo->grab().toImage();
    const QColor window = logo->palette().color(QPalette::Window);
    // The strongest pixel of the name, right of the four squares.
    double best = 1;
    const int from = picture.width() * 28 / 150;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = from; x < picture.width(); ++x) {
            const QColor pixel = picture.pixelColor(x, y);
            if (pixel.alpha() == 255)
                best = std::max(best, Contrast(pixel, window));
        }
    EXPECT_GE(best, 4.5);
}
