#include "MainWindowTest.h"
#include "ProgramRun.h"
#include "ProjectBuilder.h"
#include "history/UntProjectChanges.h"
#include "storage/UntIO.h"
#include "storage/UntJson.h"
#include "storage/UntRecovery.h"

#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

namespace {

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

class InterchangeCommands : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(Window->StartUp({"-n"}));
    }
};

// An import is a new project that no file holds yet: it is asked for after
// "Save changes?", stays modified, and the recovery copy keeps it. A file
// that cannot be read changes nothing.
TEST_F(InterchangeCommands, ImportMakesANewUnsavedProject) {
    auto data = MixedProject({{"Grow", {{0, 1}}}});
    data->Title = "From the web";
    WriteFile(Path("web.json"), ProjectJson(*data));
    WriteFile(Path("bad.csv"), "type,name\nS,Brand\nX,Market\n");
    Window->Document()->MarkUnsaved();

    Seam->Answer({QMessageBox::No});
    Seam->AnswerFile(Path("web.json"));
    Action("AcnFileImport")->trigger();
    EXPECT_EQ(Seam->Messages, QStringList{"Save changes?"});
    EXPECT_EQ(
        Seam->FileRequests.last().Filters,
        (QStringList{"JSON or CSV file (*.json *.csv)", "JSON file (*.json)", "CSV file (*.csv)"}));
    ASSERT_EQ(Window->Project()->Title, "From the web");
    EXPECT_EQ(Window->Project()->Guidelines.at(0)->Couples, data->Guidelines[0]->Couples);
    EXPECT_EQ(Window->DocumentPath(), std::nullopt);
    EXPECT_EQ(Window->windowTitle(), "Merovan - New document");
    EXPECT_TRUE(Window->Project()->Modified());
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return Window->Documents().Recovery().Copy().Exists() &&
                   ReadProject(Window->Documents().Recovery().Copy().Path())->Title ==
                       "From the web";
        },
        30000));

    Seam->Messages.clear();
    Seam->Answer({QMessageBox::No});
    Seam->AnswerFile(Path("bad.csv"));
    Action("AcnFileImport")->trigger();
    EXPECT_EQ(
        Seam->Messages,
        (QStringList{"Save changes?", "Line 3: the type “X” is unknown; write strength, weakness, "
                                      "opportunity or threat, or S, W, O or T."}));
    EXPECT_EQ(Window->Project()->Title, "From the web") << "the project shown stays";
}

// A hand-made JSON file whose coupling joins two internal factors imports
// whole; a message after the import names the coupling.
TEST_F(InterchangeCommands, ImportRemarksFollowTheImport) {
    WriteFile(Path("hand.json"), R"({"format": "merovan-project", "version": 1, "title": "Hand",
        "factors": [{"type": "strength", "name": "S"}, {"type": "weakness", "name": "W"}],
        "conclusions": [{"name": "C", "couplings": [[0, 1]]}]})");
    Seam->AnswerFile(Path("hand.json"));
    Action("AcnFileImport")->trigger();
    ASSERT_EQ(Window->Project()->Title, "Hand");
    EXPECT_EQ(Window->Project()->Guidelines.at(0)->Couples, (std::vector<TTOWSCouple>{{0, 1}}));
    EXPECT_EQ(Seam->Messages,
              QStringList{"The file was imported with these remarks:\n\n"
                          "conclusions[0].couplings[0]: the coupling does not join an internal "
                          "factor (strength or weakness) to an external one (opportunity or "
                          "threat); it was kept, but no view or report shows it."});
}

TEST_F(InterchangeCommands, ExportWritesTheChosenForm) {
    Window->Document()->Apply(
        AddFactorChange(*Window->Document(), std::move(MixedProject()->Items[0])));
    const struct {
        const char* typed;
        int filter;
        const char* written;
        QByteArray start;
    } cases[] = {
        {"plan", 1, "plan.json", "{"},
        {"plan", 2, "plan.csv", "\xEF\xBB\xBFtype,name,mark,comment\r\nstrength,S1,2,\r\n"},
        {"typed.json", 2, "typed.json", "{"},
    };
    for (const auto& c : cases) {
        Seam->AnswerFile(Path(c.typed), c.filter);
        Action("AcnFileExport")->trigger();
        QFile written(Path(c.written));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << c.written;
        EXPECT_TRUE(written.readAll().startsWith(c.start)) << c.written;
        EXPECT_EQ(Window->statusBar()->currentMessage(), "Written to " + Path(c.written));
    }
    EXPECT_EQ(Seam->FileRequests.last().FilterIndex, 2) << "the type chosen last";
    EXPECT_TRUE(Seam->Messages.isEmpty()) << Seam->Messages.join('|').toStdString();
    EXPECT_TRUE(Seam->Opened.isEmpty()) << "data files are not opened";

    WriteFile(Path("kept.csv"), "kept");
    Seam->Answer({QMessageBox::No});
    Seam->AnswerFile(Path("kept.csv"), 2);
    Action("AcnFileExport")->trigger();
    EXPECT_EQ(Seam->Messages.last(), "This file is already there. Do you want to replace it?");
    QFile kept(Path("kept.csv"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "kept");
}

// Import and export join the other requests of one call, without a display;
// each failure names its file.
TEST(InterchangeCommandLine, ImportAndExportRequests) {
    QTemporaryDir folder;
    const QString bakery = MEROVAN_TEMPLATES_DIR "/Family bakery - online sales.swot";
    const QString bad = folder.filePath("bad.csv");
    WriteFile(bad, "S,Brand\nO,\"Market\n");
    const auto path = [&folder](const char* name) {
        return folder.filePath(name);
    };

    const TRun run =
        RunProgram({"--export",    bakery,           path("b.json"), "--export",     bakery,
                    path("b.csv"), "--import",       path("b.json"), path("b.swot"), "--import",
                    bad,           path("bad.swot"), "--import",     path("b.csv"),  path("c.swot"),
                    "--import",    path("b.json"),   path("b.txt"),  "--export",     bakery,
                    path("b.xml")});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Error, "merovan: " + bad + ": Line 2: a quoted field is not closed.\n" +
                             "merovan: " + path("b.txt") +
                             ": A project file has the extension swot.\n" +
                             "merovan: " + path("b.xml") +
                             ": The format follows the extension of the file: json, csv.\n");
    EXPECT_EQ(ProjectArchive(*ReadProject(path("b.swot"))), ProjectArchive(*ReadProject(bakery)));
    EXPECT_EQ(ReadProject(path("c.swot"))->Items.size(), ReadProject(bakery)->Items.size());
    for (const char* none : {"bad.swot", "b.txt", "b.xml"})
        EXPECT_FALSE(QFile::exists(path(none))) << none;

    // A remark is no failure.
    WriteFile(path("hand.json"), R"({"format": "merovan-project", "version": 1,
        "factors": [{"type": "threat", "name": "T"}, {"type": "strength", "name": "S"}],
        "conclusions": [{"name": "C", "couplings": [[0, 1]]}]})");
    const TRun remarked = RunProgram({"--import", path("hand.json"), path("hand.swot")});
    EXPECT_EQ(remarked.Status, 0);
    EXPECT_EQ(remarked.Error, "merovan: " + path("hand.json") +
                                  ": conclusions[0].couplings[0]: the coupling does not join an "
                                  "internal factor (strength or weakness) to an external one "
                                  "(opportunity or threat); it was kept, but no view or report "
                                  "shows it.\n");
    EXPECT_EQ(ReadProject(path("hand.swot"))->Guidelines.at(0)->Couples,
              (std::vector<TTOWSCouple>{{0, 1}}));

    const TRun missing = RunProgram({"--import", path("b.json")});
    EXPECT_EQ(missing.Status, 2);
    EXPECT_TRUE(missing.Error.startsWith(
        "merovan: --import takes a JSON or CSV file and a project file.\nUsage: merovan"))
        << missing.Error.toStdString();
    EXPECT_TRUE(missing.Error.contains("--export PROJECT OUTPUT"));
    EXPECT_TRUE(missing.Error.contains("--import INPUT OUTPUT"));
}
