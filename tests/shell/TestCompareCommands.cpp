#include "MainWindowTest.h"
#include "ProgramRun.h"
#include "ProjectBuilder.h"
#include "reports/UntComparisonReport.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"

#include <QJsonDocument>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>

namespace {

// Positions of MixedProject: S1 0 (mark 2), O1 1 (3), W1 2 (3), T1 3 (1),
// S2 4 (3), O2 5 (2). From the older to the newer version S1's mark goes up,
// O2 becomes "Market", "Grow" trades a coupling, "Keep" goes and "New" comes.
std::unique_ptr<TProject> OlderVersion() {
    auto project = MixedProject({{"Grow", {{0, 1}}}, {"Keep", {}}});
    project->Title = "2025";
    return project;
}

std::unique_ptr<TProject> NewerVersion() {
    auto project = MixedProject({{"Grow", {{4, 1}}}, {"New", {{2, 5}}}});
    project->Title = "2026";
    project->Items[0]->Mark = mkHigh;
    project->Items[5]->Name = "Market";
    return project;
}

// The list as indented lines, its columns joined by " | ".
QStringList TreeLines(const QTreeWidget* tree) {
    QStringList lines;
    const std::function<void(const QTreeWidgetItem*, int)> add = [&](const QTreeWidgetItem* item,
                                                                     int depth) {
        QStringList columns;
        for (int c = 0; c < tree->columnCount(); ++c)
            columns << item->text(c);
        while (!columns.isEmpty() && columns.last().isEmpty())
            columns.removeLast();
        lines << QString(depth * 2, ' ') + columns.join(" | ");
        for (int i = 0; i < item->childCount(); ++i)
            add(item->child(i), depth + 1);
    };
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        add(tree->topLevelItem(i), 0);
    return lines;
}

// Clicks the line whose first column reads the text, as a user does.
void ClickLine(QTreeWidget* tree, const QString& text) {
    const auto found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    tree->scrollToItem(found[0]);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(found[0]).center());
}

} // namespace

class CompareCommands : public MainWindowTest {
protected:
    // The selected factors of the workspace's four lists, and its current conclusion.
    QStringList SelectedFactors() const {
        QStringList names;
        for (int type = stStrength; type <= stThreat; ++type)
            if (auto* list =
                    Workspace()->findChild<QWidget*>(QStringLiteral("FraList%1").arg(type)))
                for (const QTreeWidgetItem* item :
                     list->findChild<QTreeWidget*>("LstTOWS")->selectedItems())
                    names << item->text(0);
        return names;
    }
    int CurrentGuideline() const {
        return Workspace()->findChild<QListWidget*>("LstGuidelines")->currentRow();
    }
};

// The dialog lists the sections of the comparison document; a line of the
// newer version, when it is the project shown, shows its factor or
// conclusion in the workspace, the factor matrix taking the place of the
// coupling view. Once swapped, the project shown is the older version and
// its lines show nothing.
TEST_F(CompareCommands, CompareWithListsTheDifferencesAndChoosingShowsThem) {
    WriteProject(*OlderVersion(), Path("old.swot"));
    WriteProject(*NewerVersion(), Path("new.swot"));
    ASSERT_TRUE(Window->StartUp({Path("new.swot")}));
    QTest::mouseClick(Workspace()->findChild<QRadioButton*>("RGVisuCouplings"), Qt::LeftButton);
    ASSERT_EQ(Workspace()->findChild<QWidget*>("FraTOWSMat"), nullptr);

    Seam->AnswerFile(Path("old.swot"));
    Seam->ActInDialog([&](QDialog& dialog) {
        auto* tree = dialog.findChild<QTreeWidget*>("LstDifferences");
        ASSERT_NE(tree, nullptr);
        const QStringList expected{
            "Comparison of two versions | Title | File",
            "  Older version | 2025 | " + Path("old.swot"),
            "  Newer version | 2026 | " + Path("new.swot"),
            "Factors",
            "  Our strengths | Change",
            "    S1 | Changed | Importance: Medium importance → High importance",
            "  External Opportunities | Change",
            "    Market | Added | Importance: Medium importance",
            "    O2 | Removed | Importance: Medium importance",
            "Synthesis of conclusions | Change",
            "  New | Added | Weight: 6",
            "  Keep | Removed | Weight: 0",
            "  Grow | Changed | Weight: 6 → 9; Couplings gained: S2 / O1; Couplings lost: S1 / O1",
            "Weights of the strategy quadrants | Older version | Newer version",
            "  Pieces of luck | 6 | 9",
            "  Challenges | 0 | 6",
            "  Conflicts | 0 | 0",
            "  Dangers | 0 | 0",
        };
        EXPECT_EQ(TreeLines(tree).join('\n').toStdString(), expected.join('\n').toStdString());
        EXPECT_EQ(dialog.findChild<QLabel*>("LbHint")->text(),
                  "Choose a factor or a conclusion to show it in the workspace.");

        ClickLine(tree, "Market");
        EXPECT_NE(Workspace()->findChild<QWidget*>("FraTOWSMat"), nullptr);
        EXPECT_EQ(SelectedFactors(), QStringList{"Market"});
        ClickLine(tree, "New");
        EXPECT_EQ(CurrentGuideline(), 1);
        ClickLine(tree, "O2");
        ClickLine(tree, "Keep");
        EXPECT_EQ(SelectedFactors(), QStringList{"Market"}) << "O2 is not in the project shown";
        EXPECT_EQ(CurrentGuideline(), 1) << "nor is Keep";

        QTest::mouseClick(dialog.findChild<QPushButton*>("BtSwap"), Qt::LeftButton);
        EXPECT_EQ(dialog.findChild<QLabel*>("LbHint")->text(),
                  "The project shown is the older version.");
        const QStringList swapped = TreeLines(tree);
        EXPECT_TRUE(swapped.contains("    O2 | Added | Importance: Medium importance"));
        EXPECT_TRUE(swapped.contains("  Older version | 2026 | " + Path("new.swot")));
        // Keep is the older file's second conclusion, S1 its first factor.
        ClickLine(tree, "Keep");
        ClickLine(tree, "S1");
        EXPECT_EQ(CurrentGuideline(), 1);
        EXPECT_EQ(SelectedFactors(), QStringList{"Market"});

        QTest::mouseClick(dialog.findChild<QPushButton*>("BtClose"), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    });
    Action("AcnFileCompare")->trigger();
    EXPECT_EQ(Seam->Dialogs, QStringList{"DlgCompare"});
    EXPECT_EQ(Seam->FileRequests.last().Caption, "Select the Merovan file to compare with");
    EXPECT_EQ(Seam->FileRequests.last().Filters, QStringList{"Merovan files (*.swot)"});
    EXPECT_FALSE(Window->Project()->Modified()) << "comparing changes nothing";
}

// A project against its own file lists nothing; a file that cannot be read
// is told and no dialog shows; a cancelled choice does nothing.
TEST_F(CompareCommands, SameVersionUnreadableFileAndCancel) {
    WriteProject(*NewerVersion(), Path("new.swot"));
    ASSERT_TRUE(Window->StartUp({Path("new.swot")}));

    Seam->AnswerFile(Path("new.swot"));
    Seam->ActInDialog([&](QDialog& dialog) {
        const QStringList lines = TreeLines(dialog.findChild<QTreeWidget*>("LstDifferences"));
        EXPECT_EQ(lines.mid(3, 4), (QStringList{"Factors", "  No difference.",
                                                "Synthesis of conclusions", "  No difference."}));
    });
    Action("AcnFileCompare")->trigger();

    QFile bad(Path("bad.swot"));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("not a project");
    bad.close();
    Seam->AnswerFile(Path("bad.swot"));
    Action("AcnFileCompare")->trigger();
    ASSERT_EQ(Seam->Messages.size(), 1);
    EXPECT_FALSE(Seam->Messages[0].isEmpty());

    Seam->AnswerFile({});
    Action("AcnFileCompare")->trigger();
    EXPECT_EQ(Seam->Dialogs, QStringList{"DlgCompare"});
    EXPECT_EQ(Seam->Messages.size(), 1);
}

// Comparisons join the other requests of one call, without a display; the
// extension chooses the format, and each failure names its file.
TEST(CompareCommandLine, WritesTheFormatOfTheExtensionAndNamesEachFailure) {
    QTemporaryDir folder;
    const auto path = [&folder](const char* name) {
        return folder.filePath(name);
    };
    WriteProject(*OlderVersion(), path("old.swot"));
    WriteProject(*NewerVersion(), path("new.swot"));

    const TRun run = RunProgram({"--compare", path("old.swot"), path("new.swot"), path("c.json"),
                                 "--compare", path("old.swot"), path("new.swot"), path("c.txt"),
                                 "--compare", path("none.swot"), path("new.swot"), path("d.json"),
                                 "--compare", path("old.swot"), path("new.swot"), path("c.html")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Error, "merovan: " + path("c.txt") +
                             ": The format of the comparison follows the extension of its file: "
                             "json, html, odt, docx, pdf.\n" +
                             "merovan: " + path("none.swot") +
                             ": The file cannot be opened: No such file\n");
    TComparison expected = CompareProjects(*OlderVersion(), *NewerVersion());
    expected.Old.File = path("old.swot");
    expected.New.File = path("new.swot");
    QFile json(path("c.json"));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_EQ(QJsonDocument::fromJson(json.readAll()),
              QJsonDocument::fromJson(ComparisonJson(expected)));
    QFile html(path("c.html"));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    EXPECT_EQ(html.readAll(), ComparisonHtml(expected));
    for (const char* none : {"c.txt", "d.json"})
        EXPECT_FALSE(QFile::exists(path(none))) << none;

    const TRun missing = RunProgram({"--compare", path("old.swot"), path("new.swot")});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(missing.Error.startsWith("merovan: --compare takes the older and the newer "
                                         "project file and an output file.\nUsage: merovan"))
        << missing.Error.toStdString();
    EXPECT_TRUE(missing.Error.contains("--compare OLD NEW OUTPUT"));
}
