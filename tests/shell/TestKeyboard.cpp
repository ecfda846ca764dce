#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "model/UntStrings.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntFraList.h"
#include "workspace/UntKeyboard.h"
#include "workspace/UntModalSeam.h"

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMultiHash>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <cmath>
#include <deque>

namespace {

// Shows the dialogs as the program does, modal to their window, and acts in
// them from the dialog's own event loop, with real input events.
class TModalScriptSeam : public TScriptedSeam {
public:
    int ExecDialog(QDialog& dialog) override {
        Dialogs << dialog.objectName();
        if (Scripts.empty()) {
            ADD_FAILURE() << "unscripted dialog: " << dialog.objectName().toStdString();
            return QDialog::Rejected;
        }
        auto script = std::move(Scripts.front());
        Scripts.pop_front();
        QTimer::singleShot(0, &dialog, [&dialog, script] {
            script(dialog);
            if (dialog.isVisible())
                dialog.reject();
        });
        return TModalSeam::ExecDialog(dialog);
    }
    std::deque<std::function<void(QDialog&)>> Scripts;
};

// A key pressed on the keyboard: it goes through the window system to the
// window, which decides where it lands, modality included.
void Press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(window->window()->windowHandle(), key, modifiers);
}

} // namespace

class Keyboard : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Fresh();
    }

    // A new window whose dialogs open modally.
    void Fresh() {
        NewWindow();
        auto seam = std::make_unique<TModalScriptSeam>();
        Real = seam.get();
        Seam = seam.get();
        Window->SetSeam(std::move(seam));
    }

    void Start(std::unique_ptr<TProject> project) {
        const QString path = Path("project.swot");
        WriteProject(*project, path);
        ASSERT_TRUE(Window->StartUp({path}));
        Window->resize(1000, 700);
        Window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Window.get()));
    }

    QTreeWidget* Factors(std::int32_t type) {
        return Workspace()
            ->findChild<TFraTOWSList*>(QStringLiteral("FraList%1").arg(type))
            ->findChild<QTreeWidget*>("LstTOWS");
    }
    QListWidget* Guidelines() { return Workspace()->findChild<QListWidget*>("LstGuidelines"); }

    TModalScriptSeam* Real = nullptr;
};

// While the factor or conclusion dialog is open, keys that reach the window
// behind it (a second Insert a few milliseconds after the first, a window
// manager that hands the window the focus) neither open the dialog again nor
// change the project under it.
TEST_F(Keyboard, NothingBehindAnOpenDialogEditsTheProject) {
    struct Case {
        const char* name;
        // Where the keys go: the list, and the key that opens the dialog.
        std::function<QWidget*()> list;
        Qt::Key open;
        QStringList factors;
        QStringList conclusions;
    };
    const Case cases[] = {
        {"editing a factor",
         [this] { return Factors(stStrength); },
         Qt::Key_Return,
         {"Renamed", "O1"},
         {"Keep"}},
        {"adding a conclusion",
         [this] { return Guidelines(); },
         Qt::Key_Insert,
         {"S1", "O1"},
         {"Keep", "Renamed"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Start(MakeProject({{"S1", stStrength, 2}, {"O1", stOpportunity, 3}}, {{"Keep", {}}}));
        // The strength and the opportunity make the selected coupling.
        Factors(stOpportunity)->setCurrentItem(Factors(stOpportunity)->topLevelItem(0));
        Factors(stStrength)->setCurrentItem(Factors(stStrength)->topLevelItem(0));
        Guidelines()->setCurrentRow(0);
        QWidget* list = c.list();
        list->setFocus();

        Real->Scripts.push_back([&](QDialog& dialog) {
            // Before the dialog has the focus, and after the window took it back.
            for (const bool windowActive : {false, true}) {
                if (windowActive) {
                    Window->activateWindow();
                    list->setFocus();
                }
                for (QWidget* target : {list, static_cast<QWidget*>(Factors(stStrength))}) {
                    target->setFocus();
                    for (const Qt::Key key : {c.open, Qt::Key_Insert, Qt::Key_Delete})
                        Press(Window.get(), key);
                    Press(Window.get(), Qt::Key_Z, Qt::ControlModifier);
                }
            }
            EXPECT_EQ(Window->Project()->Items.size(), 2u);
            EXPECT_EQ(Window->Project()->Guidelines.size(), 1u);
            dialog.findChild<QLineEdit*>("EdName")->setText("Renamed");
            QTest::mouseClick(dialog.findChild<QPushButton*>("BtOk"), Qt::LeftButton);
        });
        Press(Window.get(), c.open);

        EXPECT_EQ(Real->Dialogs.size(), 1) << "one dialog, shown once";
        QStringList factors;
        for (const auto& item : Window->Project()->Items)
            factors << item->Name;
        QStringList conclusions;
        for (const auto& guideline : Window->Project()->Guidelines)
            conclusions << guideline->Name;
        EXPECT_EQ(factors, c.factors);
        EXPECT_EQ(conclusions, c.conclusions);
    }
}

// Tab goes as the screen reads: the four factor lists, left to right and
// top to bottom, each before its buttons; then the conclusions.
TEST_F(Keyboard, TabGoesThroughTheFactorListsThenTheConclusions) {
    Start(MakeProject({{"S1", stStrength, 2}}));
    const QList<QWidget*> lists = {Factors(stStrength), Factors(stWeakness), Factors(stOpportunity),
                                   Factors(stThreat), Guidelines()};
    EXPECT_EQ(QApplication::focusWidget(), lists[0]) << "the strengths list comes first";
    QList<QWidget*> reached;
    for (int press = 0; press < 40 && reached.size() < lists.size(); ++press) {
        if (lists.contains(QApplication::focusWidget()))
            reached << QApplication::focusWidget();
        else
            EXPECT_TRUE(qobject_cast<QToolButton*>(QApplication::focusWidget()))
                << "between two lists only the buttons of the first: "
                << QApplication::focusWidget()->objectName().toStdString();
        Press(Window.get(), Qt::Key_Tab);
    }
    EXPECT_EQ(reached, lists);
    // Three buttons each for the factor lists: the conclusions are 16 presses away.
    Factors(stStrength)->setFocus();
    for (int press = 0; press < 16; ++press)
        Press(Window.get(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Guidelines());
}

// In the comments Tab types a tab; Ctrl+Tab and Ctrl+Shift+Tab leave the
// editor forward and back, and Ctrl+Enter accepts the dialog.
TEST_F(Keyboard, CtrlTabLeavesTheCommentsAndCtrlEnterAccepts) {
    Start(MakeProject({{"S1", stStrength, 2}, {"O1", stOpportunity, 3}}, {{"C1", {{0, 1}}}}));
    struct Case {
        const char* name;
        std::function<void()> open;
        std::function<QString()> stored;
    };
    const Case cases[] = {
        {"factor",
         [this] {
             Factors(stStrength)->setCurrentItem(Factors(stStrength)->topLevelItem(0));
             Factors(stStrength)->setFocus();
             Press(Window.get(), Qt::Key_Return);
         },
         [this] {
             return Window->Project()->Items[0]->Name;
         }},
        {"conclusion",
         [this] {
             Guidelines()->setCurrentRow(0);
             Guidelines()->setFocus();
             Press(Window.get(), Qt::Key_Return);
         },
         [this] {
             return Window->Project()->Guidelines[0]->Name;
         }},
        {"properties", [this] { Action("AcnFileProperties")->trigger(); },
         [this] {
             return Window->Project()->Title;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString typed;
        Real->Scripts.push_back([&](QDialog& dialog) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
            auto* memo = dialog.findChild<QTextEdit*>("MmMemo");
            memo->setFocus();
            Press(memo, Qt::Key_A);
            Press(memo, Qt::Key_Tab);
            Press(memo, Qt::Key_B);
            EXPECT_EQ(memo->toPlainText(), "a\tb");
            EXPECT_EQ(QApplication::focusWidget(), memo) << "Tab types";

            Press(memo, Qt::Key_Tab, Qt::ControlModifier);
            QWidget* next = QApplication::focusWidget();
            EXPECT_NE(next, memo);
            EXPECT_EQ(next->window(), &dialog);
            Press(memo, Qt::Key_Backtab, Qt::ShiftModifier);
            ASSERT_EQ(QApplication::focusWidget(), memo);
            // Both spellings of the key: Tab with Shift, or Backtab.
            for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
                memo->setFocus();
                Press(memo, key, Qt::ControlModifier | Qt::ShiftModifier);
                EXPECT_NE(QApplication::focusWidget(), memo);
                EXPECT_NE(QApplication::focusWidget(), next);
                Press(memo, Qt::Key_Tab);
                EXPECT_EQ(QApplication::focusWidget(), memo) << "one step back";
            }
            EXPECT_EQ(memo->toPlainText(), "a\tb") << "the moves type nothing";

            // From the comments the OK button is reached forward.
            memo->setFocus();
            Press(memo, Qt::Key_Tab, Qt::ControlModifier);
            for (int press = 0; press < 10 && QApplication::focusWidget()->objectName() != "BtOk";
                 ++press)
                Press(&dialog, Qt::Key_Tab);
            EXPECT_EQ(QApplication::focusWidget()->objectName(), "BtOk");

            auto* wording = dialog.findChild<QLineEdit*>(
                QString(c.name) == "properties" ? "EdTitle" : "EdName");
            typed = wording->text() + " changed";
            wording->setText(typed);
            memo->setFocus();
            Press(memo, Qt::Key_Return, Qt::ControlModifier);
            EXPECT_FALSE(dialog.isVisible()) << "Ctrl+Enter accepts";
            EXPECT_EQ(memo->toPlainText(), "a\tb") << "and types no paragraph";
        });
        c.open();
        EXPECT_EQ(c.stored(), typed);
    }
    EXPECT_EQ(Real->Dialogs, (QStringList{"FrmTOWSItem", "FrmGuideline", "DlgProperties"}));
}

// The editor and the help pages tell the keys that leave it, in both languages.
TEST(CommentsKeys, TheTooltipAndTheHelpPagesTellThem) {
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::French)}) {
        QLocale::setDefault(locale);
        const QString tip = LoadStr(StrMemoKeys);
        for (const char* key : {"Ctrl+Tab", "Ctrl+", "Tab"})
            EXPECT_TRUE(tip.contains(key)) << key;
        for (const char* page : {"help/factor.htm", "help/conclusion.htm"}) {
            QFile file(LocalizedFile(page));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page;
            const QString text = QString::fromUtf8(file.readAll());
            EXPECT_TRUE(text.contains("<b>Ctrl+Tab</b>")) << page;
            EXPECT_TRUE(text.contains(locale.language() == QLocale::French ? "<b>Ctrl+Entrée</b>"
                                                                           : "<b>Ctrl+Enter</b>"))
                << page;
        }
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

// Tab and Shift+Tab enter the importance at its checked choice; the arrows
// change it.
TEST_F(Keyboard, TabReachesTheCheckedImportance) {
    Start(MakeProject({{"S1", stStrength, 1}}));
    Factors(stStrength)->setCurrentItem(Factors(stStrength)->topLevelItem(0));
    Factors(stStrength)->setFocus();
    Real->Scripts.push_back([&](QDialog& dialog) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
        const auto mark = [&](int choice) {
            return dialog.findChild<QRadioButton*>(QStringLiteral("ChMark%1").arg(choice));
        };
        dialog.findChild<QLineEdit*>("EdName")->setFocus();
        Press(&dialog, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), mark(2)) << "1 - Low is checked";
        Press(&dialog, Qt::Key_Tab);
        EXPECT_FALSE(QApplication::focusWidget()->inherits("QRadioButton"))
            << "the next Tab leaves the choices";
        Press(&dialog, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(QApplication::focusWidget(), mark(2));
        Press(&dialog, Qt::Key_Up);
        EXPECT_TRUE(mark(1)->isChecked());
        Press(&dialog, Qt::Key_Backtab, Qt::ShiftModifier);
        Press(&dialog, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), mark(1)) << "Tab follows the new choice";
    });
    Press(Window.get(), Qt::Key_Return);
    EXPECT_EQ(Real->Dialogs, QStringList{"FrmTOWSItem"});
}

namespace {

QString Stripped(QString caption) {
    return caption.replace(QStringLiteral("&&"), QStringLiteral("\x01"))
        .remove('&')
        .replace(QStringLiteral("\x01"), QStringLiteral("&"));
}

// The labelled controls of a dialog: buttons, labels of a field, group
// boxes, tabs.
QStringList LabelledCaptions(QWidget& dialog) {
    QStringList captions;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (auto* button = qobject_cast<QAbstractButton*>(widget);
            button && !qobject_cast<QToolButton*>(button) && !button->text().isEmpty())
            captions << button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
            captions << label->text();
        else if (auto* box = qobject_cast<QGroupBox*>(widget); box && !box->title().isEmpty())
            captions << box->title();
        else if (auto* tabs = qobject_cast<QTabWidget*>(widget))
            for (int i = 0; i < tabs->count(); ++i)
                captions << tabs->tabText(i);
    }
    return captions;
}

} // namespace

// Every labelled control of a dialog and every menu item of our own has an
// access letter, unique in its dialog or menu, in English and in French;
// the captions the program shares with the original keep their wording and
// letters, and ours that open a dialog end in "…".
TEST_F(MainWindowTest, AccessLettersAreUniquePerDialogAndMenuInBothLanguages) {
    // Captions of the original program: they keep their letters, shared or none.
    const QStringList original = {
        "AcnFileNew",        "AcnFileOpen",       "AcnFileSave",      "AcnFileSaveAs",
        "AcnFileProperties", "AcnFileQuit",       "AcnEditCut",       "AcnEditCopy",
        "AcnEditPaste",      "AcnHelpIndex",      "AcnDispLicence",   "AcnHelpWebPage",
        "AcnHelpCustPage",   "AcnHelpAbout",      "AcnProjExampDisp", "AcnProjExampleSelect",
        "AcnProjTextReport", "AcnProjTableReport"};
    const QStringList opensDialog = {"AcnFileImport", "AcnFileExport", "AcnProjSwotPicture",
                                     "AcnProjTowsPicture"};
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QLocale::French)}) {
        SCOPED_TRACE(locale.name().toStdString());
        QLocale::setDefault(locale);
        NewWindow();
        // A recent project fills the recent menu.
        WriteSettingsText("[RecentProjects]\nFile1=/tmp/Plan.swot\n");
        ASSERT_TRUE(Window->StartUp({"-n"}));

        QSet<QChar> titles;
        for (QAction* top : Window->menuBar()->actions()) {
            const QChar title = AccessKey(top->text());
            EXPECT_FALSE(title.isNull()) << top->text().toStdString();
            EXPECT_FALSE(titles.contains(title)) << top->text().toStdString();
            titles.insert(title);
            QList<QMenu*> menus = {top->menu()};
            for (QAction* item : top->menu()->actions())
                if (item->menu())
                    menus << item->menu();
            for (QMenu* menu : menus) {
                QMultiHash<QChar, QAction*> keys;
                for (QAction* item : menu->actions())
                    if (!item->isSeparator())
                        keys.insert(AccessKey(item->text()), item);
                for (QAction* item : menu->actions()) {
                    if (item->isSeparator() || original.contains(item->objectName()))
                        continue;
                    const QChar key = AccessKey(item->text());
                    EXPECT_FALSE(key.isNull()) << item->text().toStdString();
                    EXPECT_EQ(keys.count(key), 1) << item->text().toStdString();
                    if (opensDialog.contains(item->objectName())) {
                        EXPECT_TRUE(item->text().endsWith(QChar(0x2026)))
                            << item->text().toStdString();
                    }
                }
            }
        }
        EXPECT_EQ(Action("AcnFileSave")->text(), LoadStr(113)) << "the original's captions stay";
        EXPECT_EQ(Action("AcnProjTextReport")->text(), LoadStr(1023));

        const QList<QDialog*> dialogs = Window->findChildren<QDialog*>();
        ASSERT_GE(dialogs.size(), 7);
        for (QDialog* dialog : dialogs) {
            SCOPED_TRACE(dialog->objectName().toStdString());
            dialog->show();
            dialog->hide();
            QSet<QChar> used;
            for (const QString& caption : LabelledCaptions(*dialog)) {
                const QChar key = AccessKey(caption);
                EXPECT_FALSE(key.isNull()) << caption.toStdString();
                EXPECT_FALSE(used.contains(key)) << caption.toStdString();
                used.insert(key);
            }
        }
        // The letters add no text of their own.
        auto* factor = Window->findChild<QDialog*>("FrmTOWSItem");
        EXPECT_EQ(Stripped(factor->findChild<QLabel*>("LbName")->text()),
                  QString::fromUtf8("Libellé"));
        EXPECT_EQ(Stripped(factor->findChild<QGroupBox*>("ChMark")->title()), LoadStr(2652));
        EXPECT_EQ(Stripped(factor->findChild<QRadioButton*>("ChMark0")->text()),
                  "3 - " + LoadStr(2653));
        EXPECT_EQ(Stripped(factor->findChild<QPushButton*>("BtCancel")->text()), LoadStr(1));
        Window.reset();
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}

// A screen reader names every field of the dialogs and every list of the
// workspace after its label.
TEST_F(Keyboard, FieldsAndListsHaveAccessibleNames) {
    Start(MakeProject({{"S1", stStrength, 2}}));
    const auto name = [](QWidget* widget) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
        return accessible ? accessible->text(QAccessible::Name) : QString();
    };
    for (QDialog* dialog : Window->findChildren<QDialog*>()) {
        dialog->show();
        for (QWidget* field : dialog->findChildren<QWidget*>()) {
            if (!qobject_cast<QLineEdit*>(field) && !qobject_cast<QTextEdit*>(field) &&
                !qobject_cast<QAbstractItemView*>(field) && !qobject_cast<QRadioButton*>(field))
                continue;
            // A hidden part, such as a list's hidden header, is announced by nothing.
            if (!field->isVisibleTo(dialog))
                continue;
            EXPECT_FALSE(name(field).isEmpty())
                << dialog->objectName().toStdString() << " " << field->objectName().toStdString();
        }
        dialog->hide();
    }
    auto* factor = Window->findChild<QDialog*>("FrmTOWSItem");
    EXPECT_EQ(name(factor->findChild<QTextEdit*>("MmMemo")), LoadStr(StrComments));
    EXPECT_EQ(name(Window->findChild<QDialog*>("DlgProperties")->findChild<QTextEdit*>("MmMemo")),
              LoadStr(2703));
    for (QWidget* list : Workspace()->findChildren<QAbstractItemView*>())
        if (list->isVisibleTo(Window.get())) {
            EXPECT_FALSE(name(list).isEmpty()) << list->objectName().toStdString();
        }
}

// A list with items and none of them current, reached with Tab, takes the
// first Down to its first item and the first Up to its last, selected, as
// list boxes do; the next Down goes on from there.
TEST_F(Keyboard, FirstArrowInAListSelectsItsFirstOrLastItem) {
    struct Case {
        const char* name;
        std::function<QAbstractItemView*()> list;
        Qt::Key key;
        QString current;
        QString next;
    };
    const Case cases[] = {
        {"strengths, Down", [this] { return Factors(stStrength); }, Qt::Key_Down, "S1", "S2"},
        {"strengths, Up", [this] { return Factors(stStrength); }, Qt::Key_Up, "S3", "S3"},
        {"threats, Down", [this] { return Factors(stThreat); }, Qt::Key_Down, "T1", "T1"},
        {"conclusions, Down", [this] { return Guidelines(); }, Qt::Key_Down, "C1", "C2"},
        {"conclusions, Up", [this] { return Guidelines(); }, Qt::Key_Up, "C3", "C3"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Fresh();
        Start(MakeProject({{"S1", stStrength, 3},
                           {"S2", stStrength, 2},
                           {"S3", stStrength, 1},
                           {"T1", stThreat, 2}},
                          {{"C1", {}}, {"C2", {}}, {"C3", {}}}));
        QAbstractItemView* list = c.list();
        for (int press = 0; press < 40 && QApplication::focusWidget() != list; ++press)
            Press(Window.get(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), list);
        const auto selected = [list] {
            QStringList names;
            for (const QModelIndex& index : list->selectionModel()->selectedRows())
                names << index.data().toString();
            return names;
        };
        ASSERT_TRUE(selected().isEmpty());

        Press(list, c.key);
        EXPECT_EQ(list->currentIndex().data().toString(), c.current);
        EXPECT_EQ(selected(), QStringList{c.current});
        Press(list, Qt::Key_Down);
        EXPECT_EQ(selected(), QStringList{c.next});
    }

    // So do the headings of the properties.
    Real->Scripts.push_back([](QDialog& dialog) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &dialog; }));
        dialog.findChild<QTabWidget*>()->setCurrentIndex(1);
        auto* headings = dialog.findChild<QListWidget*>("LstCaptions");
        headings->setFocus();
        Press(headings, Qt::Key_Down);
        EXPECT_EQ(headings->currentRow(), 0);
        EXPECT_EQ(headings->selectedItems(), QList{headings->item(0)});
    });
    Action("AcnFileProperties")->trigger();
    EXPECT_EQ(Real->Dialogs.back(), "DlgProperties");
}

// A window that closes gives the keyboard back to the window it was opened
// from, to the widget that had the focus there: the help to the dialog it
// was asked from, the dialog to the main window.
TEST_F(Keyboard, ClosingAWindowGivesTheKeyboardBack) {
    Start(MakeProject({{"S1", stStrength, 2}}));
    // The window the toolkit gives the keys to, not only the window system.
    const auto active = [](QWidget* window) {
        return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
    };
    Factors(stWeakness)->setFocus();
    bool closed = false;
    Real->Scripts.push_back([&](QDialog& dialog) {
        ASSERT_TRUE(active(&dialog));
        QWidget* field = QApplication::focusWidget();
        ASSERT_EQ(field->window(), &dialog);
        Press(field, Qt::Key_F1);
        QWidget* help = QApplication::activeWindow();
        ASSERT_EQ(help->objectName(), "FrmHelp");
        ASSERT_TRUE(active(help));
        Press(help, Qt::Key_Escape);
        ASSERT_FALSE(help->isVisible());
        EXPECT_TRUE(active(&dialog)) << "the help gives it to the dialog";
        EXPECT_EQ(QApplication::focusWidget(), field);
        Press(field, Qt::Key_Escape);
        closed = !dialog.isVisible();
    });
    Press(Window.get(), Qt::Key_Insert);
    EXPECT_EQ(Real->Dialogs, QStringList{"FrmTOWSItem"});
    EXPECT_TRUE(closed) << "Escape closed the dialog";
    EXPECT_TRUE(active(Window.get())) << "the dialog gives it to the window";
    EXPECT_EQ(QApplication::focusWidget(), Factors(stWeakness));
}

// The file dialogs give the type of file a letter of its own: Alt and that
// letter reach it, and the arrows choose the type.
TEST(FileDialogKeys, TheTypeOfFileHasAnAccessLetter) {
    QWidget owner;
    owner.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
    bool checked = false;
    QTimer::singleShot(0, &owner, [&] {
        auto* dialog = owner.findChild<QFileDialog*>();
        ASSERT_NE(dialog, nullptr);
        // Whatever fails, the dialog closes and the test goes on.
        const auto close = qScopeGuard([dialog] { dialog->reject(); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == dialog; }));
        auto* label = dialog->findChild<QLabel*>("fileTypeLabel");
        auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_TRUE(label && types);
        const QChar key = AccessKey(label->text());
        ASSERT_FALSE(key.isNull()) << label->text().toStdString();
        QTest::keyClick(dialog->windowHandle(), Qt::Key(key.unicode()), Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), types);
        QTest::keyClick(dialog->windowHandle(), Qt::Key_Down);
        EXPECT_EQ(dialog->selectedNameFilter(), "Pictures (*.png)");
        checked = true;
    });
    TModalSeam().SaveFile(&owner, {"Save", {"Text (*.txt)", "Pictures (*.png)"}, "txt", 1, {}});
    EXPECT_TRUE(checked);
}

// A flat button of a list bar that Tab reaches shows the focus by a frame
// that stands out from the bar, at a contrast of 3:1 at least, not by a
// faint raise.
TEST_F(Keyboard, AListBarButtonShowsItsFocus) {
    Start(MakeProject({{"S1", stStrength, 2}}));
    auto* button = Workspace()
                       ->findChild<TFraTOWSList*>(QStringLiteral("FraList%1").arg(stStrength))
                       ->findChild<QToolButton*>("BtAdd");
    const auto edge = [button] {
        const QImage image = button->grab().toImage();
        return image.pixelColor(1, image.height() / 2);
    };
    const auto luminance = [](const QColor& colour) {
        const auto channel = [](double value) {
            return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
               0.0722 * channel(colour.blueF());
    };
    Factors(stStrength)->setFocus();
    const double plain = luminance(edge());
    Press(Window.get(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), button);
    const double focused = luminance(edge());
    EXPECT_GE((std::max(plain, focused) + 0.05) / (std::min(plain, focused) + 0.05), 3.0);
}
