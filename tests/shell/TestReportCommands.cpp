#include "DocumentEditing.h"
#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "model/UntStringIds.h"
#include "reports/UntReportJob.h"
#include "shell/UntDlgWaitReport.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <csignal>
#include <sys/stat.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class ReportCommands : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        qputenv("MEROVAN_CONVERT", Files.filePath("no-converter").toLocal8Bit());
        ASSERT_TRUE(Window->StartUp({"-n"}));
    }
    void TearDown() override {
        qunsetenv("MEROVAN_CONVERT");
        MainWindowTest::TearDown();
    }

    TDlgWaitReport* WaitDialog() const {
        return Window->findChild<TDlgWaitReport*>("DlgWaitReport");
    }

    // Runs a report command and lets the window work until the report has ended.
    void Report(const char* action) {
        Action(action)->trigger();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !WaitDialog()->isVisible(); }, 60000));
    }

    // Starts the TOWS matrix of a large project as PNG, which takes seconds,
    // and waits until its job draws.
    void StartLargePicture() {
        const QString large = Projects.filePath("large.swot");
        WriteProject(*LargeProject(), large);
        Window->Documents().Open(large);
        Seam->AnswerFile(Path("matrix.png"), 2);
        Action("AcnProjTowsPicture")->trigger();
        auto* job = Window->Documents().findChild<TReportJob*>();
        ASSERT_NE(job, nullptr);
        QSignalSpy drawing(job, &TReportJob::StageReached);
        ASSERT_TRUE(drawing.wait(30000));
        EXPECT_EQ(drawing.value(0).value(0).toInt(), StrPictureBeingDrawn);
    }

    QTemporaryDir Projects;
};

TEST_F(ReportCommands, WritesThePackageAndOpensIt) {
    Seam->AnswerFile(Path("report"), 1);
    Report("AcnProjTextReport");
    ASSERT_EQ(Seam->FileRequests.size(), 1);
    EXPECT_EQ(Seam->FileRequests[0].Filters,
              (QStringList{"OpenOffice.org 1.0 Writer (*.sxw)", "Microsoft Word 97/2000/XP (*.doc)",
                           "Portable Document Format(*.pdf)", "OpenDocument Text (*.odt)",
                           "Microsoft Word 2007-365 (*.docx)"}));
    EXPECT_EQ(Seam->FileRequests[0].FilterIndex, 1);
    EXPECT_TRUE(QFileInfo(Path("report.sxw")).size() > 0) << "the extension of the chosen format";
    EXPECT_EQ(Seam->Opened, QStringList{Path("report.sxw")});
    EXPECT_EQ(Window->statusBar()->currentMessage(), "Written to " + Path("report.sxw"))
        << "where the report went, whether a program opens it or not";
    auto* wait = Window->findChild<TDlgWaitReport*>("DlgWaitReport");
    EXPECT_FALSE(wait->isVisible());
    EXPECT_EQ(wait->findChild<QLabel*>("LbStatus")->text(), "Generation completed");
    EXPECT_TRUE(Window->isEnabled());
}

// An extension of the report typed in the name chooses the format, whatever
// type is selected; any other name gets the selected type's extension.
TEST_F(ReportCommands, TheTypedExtensionChoosesTheFormat) {
    const struct {
        const char* typed;
        int filter;
        const char* written; // the package, or nothing when the suite is asked
    } cases[] = {
        {"typed.sxw", 3, "typed.sxw"}, {"TYPED.SXW", 5, "TYPED.SXW"}, {"plan.v2", 1, "plan.v2.sxw"},
        {"typed.pdf", 1, nullptr},     {"typed.docx", 1, nullptr},
    };
    for (const auto& c : cases) {
        Seam->Messages.clear();
        Seam->AnswerFile(Path(c.typed), c.filter);
        Report("AcnProjTextReport");
        if (c.written) {
            EXPECT_TRUE(Seam->Messages.isEmpty()) << c.typed;
            EXPECT_TRUE(ReadAll(Path(c.written)).startsWith("PK\x03\x04")) << c.typed;
        } else {
            // The absent suite was asked: the name was not given a package.
            EXPECT_TRUE(Seam->Messages.value(0).startsWith("File export to the  MS Word"))
                << c.typed;
            EXPECT_FALSE(QFile::exists(Path(c.typed))) << c.typed;
        }
    }
    EXPECT_EQ(QDir(Files.path()).entryList({"*.sxw.*", "*.pdf.*", "*.docx.*"}), QStringList{})
        << "no extension was added to a typed one";
}

// A picture is drawn by a job, as a report is made, behind the wait dialog;
// the file it writes is opened.
TEST_F(ReportCommands, SavesEachPictureByAJobAndOpensIt) {
    const struct {
        const char* action;
        const char* typed;
        int filter;
        const char* written;
        QByteArray start;
    } cases[] = {
        {"AcnProjSwotPicture", "four", 1, "four.svg", "<?xml"},
        {"AcnProjTowsPicture", "matrix", 2, "matrix.png", "\x89PNG"},
        {"AcnProjTowsPicture", "typed.svg", 2, "typed.svg", "<?xml"},
        {"AcnProjStrategyPicture", "strategies", 1, "strategies.svg", "<?xml"},
    };
    for (const auto& c : cases) {
        Seam->Opened.clear();
        Seam->AnswerFile(Path(c.typed), c.filter);
        Action(c.action)->trigger();
        const QPointer<TReportJob> job = Window->Documents().findChild<TReportJob*>();
        ASSERT_TRUE(job) << c.written;
        EXPECT_TRUE(WaitDialog()->isVisible()) << c.written;
        QSignalSpy written(job.get(), &TReportJob::Written);
        ASSERT_TRUE(written.wait(60000)) << c.written;
        EXPECT_EQ(written.value(0).value(0).toString(), Path(c.written));
        EXPECT_FALSE(WaitDialog()->isVisible());
        EXPECT_TRUE(ReadAll(Path(c.written)).startsWith(c.start)) << c.written;
        EXPECT_EQ(Seam->Opened, QStringList{Path(c.written)});
        EXPECT_TRUE(QTest::qWaitFor([&job] { return job.isNull(); })) << "the job goes";
    }
    EXPECT_TRUE(ReadAll(Path("strategies.svg")).contains(">Strategy matrix<"))
        << "the strategy picture, no other";
    EXPECT_EQ(Seam->FileRequests.last().Filters,
              (QStringList{"SVG picture (*.svg)", "PNG image (*.png)"}));
    EXPECT_EQ(Seam->FileRequests.last().FilterIndex, 2) << "the type chosen last";
    EXPECT_TRUE(Seam->Messages.isEmpty()) << Seam->Messages.join('|').toStdString();
}

// A large matrix takes seconds as PNG. Meanwhile the window takes events
// behind the wait dialog, and Cancel stops the drawing: no file, nothing
// else left behind, nothing opened; the status bar tells it.
TEST_F(ReportCommands, CancelStopsAPictureAndLeavesNoFile) {
    StartLargePicture();
    auto* job = Window->Documents().findChild<TReportJob*>();
    QSignalSpy written(job, &TReportJob::Written);
    QSignalSpy cancelled(job, &TReportJob::Cancelled);
    EXPECT_EQ(WaitDialog()->findChild<QLabel*>("LbStatus")->text(),
              "The picture is being drawn.\nPlease wait");
    EXPECT_TRUE(Window->isEnabled());
    QTest::keyClick(WaitDialog(), Qt::Key_Escape);
    ASSERT_TRUE(cancelled.wait(30000));
    EXPECT_TRUE(written.isEmpty());
    EXPECT_FALSE(WaitDialog()->isVisible());
    EXPECT_EQ(Window->statusBar()->currentMessage(),
              "The picture was interrupted; its file was left as it was.");
    EXPECT_TRUE(Seam->Messages.isEmpty()) << Seam->Messages.join('|').toStdString();
    EXPECT_TRUE(Seam->Opened.isEmpty());
    EXPECT_EQ(QDir(Files.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{});
}

TEST_F(ReportCommands, ClosingTheWindowStopsThePicture) {
    StartLargePicture();
    EndRun();
    EXPECT_EQ(QDir(Files.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{});
}

TEST_F(ReportCommands, AnExistingFileIsReplacedOnlyAfterYes) {
    QFile existing(Path("matrix.sxc"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();

    Seam->AnswerFile(Path("matrix.sxc"), 1);
    Seam->Answer({QMessageBox::No});
    Report("AcnProjTableReport");
    EXPECT_TRUE(Seam->Messages.value(0).startsWith("Take care, this file already exists\n"));
    EXPECT_EQ(QFileInfo(Path("matrix.sxc")).size(), 3);
    EXPECT_TRUE(Seam->Opened.isEmpty());

    Seam->AnswerFile(Path("matrix.sxc"), 1);
    Seam->Answer({QMessageBox::Yes});
    Report("AcnProjTableReport");
    EXPECT_GT(QFileInfo(Path("matrix.sxc")).size(), 3);
}

TEST_F(ReportCommands, AFailedConversionSaysSoAndOpensNothing) {
    Seam->AnswerFile(Path("report.pdf"), 3);
    Report("AcnProjTableReport");
    // The reason the bridge gave is kept for whoever has to mend the set-up.
    ASSERT_EQ(Seam->Messages.size(), 1);
    EXPECT_TRUE(Seam->Messages[0].startsWith(
        "File export to the  MS Excel and PDF formats\nrequires OpenOffice.org to be installed\n"
        "\nPlease see Help to install OpenOffice.org.\n\nReason given by the office suite: "))
        << Seam->Messages[0].toStdString();
    EXPECT_TRUE(Seam->Messages[0].endsWith("no-converter is missing"));
    EXPECT_TRUE(Seam->Opened.isEmpty());
    EXPECT_FALSE(QFile::exists(Path("report.pdf")));
    EXPECT_FALSE(Window->findChild<TDlgWaitReport*>("DlgWaitReport")->isVisible());
    EXPECT_TRUE(Window->isEnabled());

    // The chosen format is offered first by both commands, and in the next run.
    Seam->CancelFile();
    Report("AcnProjTextReport");
    EXPECT_EQ(Seam->FileRequests.last().FilterIndex, 3);
    EndRun();
    EXPECT_TRUE(SettingsText().contains("DefaultOfficeFormat=3"));
}

TEST_F(ReportCommands, ReportsTheExampleWhileItIsDisplayed) {
    Retitle(*Window->Document(), "Mine");
    Action("AcnProjExampDisp")->trigger();
    Seam->AnswerFile(Path("example.sxw"), 1);
    Report("AcnProjTextReport");
    EXPECT_TRUE(Window->ExampleDisplayed()) << "the report does not return from the example";
    EXPECT_FALSE(ReadAll(Path("example.sxw")).isEmpty());
}

// A report goes through a link to the file it names, and never replaces a
// write-protected one: the user is told before being asked anything.
TEST_F(ReportCommands, FollowsLinksAndRefusesWriteProtectedReports) {
    QFile old(Path("matrix.sxc"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    ASSERT_TRUE(QFile::link(Path("matrix.sxc"), Path("link.sxc")));
    Seam->AnswerFile(Path("link.sxc"), 1);
    Seam->Answer({QMessageBox::Yes});
    Report("AcnProjTableReport");
    EXPECT_TRUE(QFileInfo(Path("link.sxc")).isSymLink());
    EXPECT_GT(QFileInfo(Path("matrix.sxc")).size(), 3);

    ::chmod(QFile::encodeName(Path("matrix.sxc")).constData(), 0444);
    const QByteArray kept = ReadAll(Path("matrix.sxc"));
    Seam->Messages.clear();
    Seam->Opened.clear();
    for (const char* chosen : {"matrix.sxc", "link.sxc"}) {
        Seam->AnswerFile(Path(chosen), 1);
        Report("AcnProjTableReport");
    }
    EXPECT_EQ(Seam->Messages, QStringList(2, "The file " + Path("matrix.sxc") +
                                                 " is write-protected; it was not replaced."));
    EXPECT_EQ(ReadAll(Path("matrix.sxc")), kept);
    EXPECT_TRUE(Seam->Opened.isEmpty());
}

// The window's reports through a bridge that converts by copying: it says when
// it begins, as merovan-convert does, and holds a report whose name has "hang"
// in it until it is stopped. Each start leaves the bridge's process id in a
// log, which tells how often it started.
class ReportCommandsWithBridge : public ReportCommands {
protected:
    void SetUp() override {
        ReportCommands::SetUp();
        const QString converter = Bridge.filePath("merovan-convert");
        WriteProgram(converter, QStringLiteral(R"(#!/bin/bash
echo $$ >> '%1'
while IFS=$'\t' read -r source target filter; do
    echo converting
    source=$(printf '%b' "${source//%/\\x}")
    target=$(printf '%b' "${target//%/\\x}")
    if [[ $target == *hang* ]]; then read -r; fi
    cp "$source" "$target" && echo ok
done
)")
                                    .arg(Bridge.filePath("starts")));
        // The suite itself is never asked for: the bridge stands in for both.
        WriteProgram(Bridge.filePath("soffice"), "#!/bin/sh\n");
        qputenv("MEROVAN_CONVERT", converter.toLocal8Bit());
        qputenv("MEROVAN_OFFICE_DIR", Bridge.path().toLocal8Bit());
    }

    void TearDown() override {
        ReportCommands::TearDown();
        qunsetenv("MEROVAN_OFFICE_DIR");
        // The jobs' bridge would otherwise serve the tests that follow.
        for (const pid_t bridge : Starts())
            ::kill(bridge, SIGTERM);
        for (const pid_t bridge : Starts())
            EXPECT_TRUE(QTest::qWaitFor([bridge] { return ::kill(bridge, 0) != 0; }, 10000));
    }

    static void WriteProgram(const QString& path, const QString& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toUtf8());
        file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    }

    // The process ids of the bridges started, in order.
    QList<pid_t> Starts() const {
        QList<pid_t> started;
        for (const QByteArray& line : ReadAll(Bridge.filePath("starts")).split('\n'))
            if (!line.isEmpty())
                started << line.toInt();
        return started;
    }

    // Starts a report that the bridge holds, and waits until it converts.
    void StartHeldReport(const QString& path) {
        Seam->AnswerFile(path, 3);
        Action("AcnProjTextReport")->trigger();
        auto* job = Window->Documents().findChild<TReportJob*>();
        ASSERT_NE(job, nullptr);
        QSignalSpy begun(job, &TReportJob::ConversionBegun);
        ASSERT_TRUE(begun.wait(30000));
    }

    QStringList Leftovers() const {
        return QDir(Files.path()).entryList(QDir::Files | QDir::Hidden);
    }

    QTemporaryDir Bridge;
};

TEST_F(ReportCommandsWithBridge, TwoReportsInARowStartTheBridgeOnce) {
    Seam->AnswerFile(Path("report.pdf"), 3);
    Report("AcnProjTextReport");
    Seam->AnswerFile(Path("matrix.xlsx"), 5);
    Report("AcnProjTableReport");
    EXPECT_TRUE(Seam->Messages.isEmpty()) << Seam->Messages.join('|').toStdString();
    EXPECT_EQ(Seam->Opened, (QStringList{Path("report.pdf"), Path("matrix.xlsx")}));
    EXPECT_TRUE(ReadAll(Path("matrix.xlsx")).startsWith("PK\x03\x04"));
    EXPECT_EQ(WaitDialog()->findChild<QLabel*>("LbStatus")->text(), "Generation completed");
    EXPECT_EQ(Starts().size(), 1);
}

// While the suite converts, the window is neither disabled nor frozen; the
// dialog keeps it from input, and Escape cancels: the file is left as it was,
// nothing of the report stays behind, and the next report converts.
TEST_F(ReportCommandsWithBridge, EscapeCancelsAConversionAndLeavesTheFileAsItWas) {
    QFile old(Path("hang.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    Seam->Answer({QMessageBox::Yes});
    StartHeldReport(Path("hang.pdf"));
    TDlgWaitReport* wait = WaitDialog();
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(wait->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(Window->isEnabled());
    EXPECT_TRUE(QTest::qWaitFor([wait] {
        return wait->findChild<QLabel*>("LbStatus")->text() ==
               "Exporting to the selected format.\nPlease wait";
    }));
    Action("AcnProjTableReport")->trigger();
    EXPECT_EQ(Seam->FileRequests.size(), 1) << "no second report while one runs";

    QTest::keyClick(wait, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([wait] { return !wait->isVisible(); }, 30000));
    EXPECT_EQ(Window->statusBar()->currentMessage(),
              "The report was interrupted; its file was left as it was.");
    EXPECT_EQ(Seam->Messages.size(), 1) << "only whether to replace the file";
    EXPECT_TRUE(Seam->Opened.isEmpty());
    EXPECT_EQ(ReadAll(Path("hang.pdf")), "old");
    EXPECT_EQ(Leftovers(), QStringList{"hang.pdf"});
    EXPECT_TRUE(QDir(WorkFolder()).entryList({"report-*"}, QDir::Files).isEmpty());

    Seam->AnswerFile(Path("after.docx"), 5);
    Report("AcnProjTextReport");
    EXPECT_EQ(Seam->Opened, QStringList{Path("after.docx")});
    EXPECT_TRUE(ReadAll(Path("after.docx")).startsWith("PK\x03\x04"));
    EXPECT_EQ(Starts().size(), 2) << "the cancel stopped the bridge";
}

// A picture never waits for the office suite: it is drawn while a report is
// held in its conversion.
TEST_F(ReportCommandsWithBridge, APictureIsDrawnWhileTheSuiteConverts) {
    StartHeldReport(Path("hang.pdf"));
    QTemporaryDir pictures;
    TReportJob picture(
        [](const TProject& project, const QString& target,
           const std::function<void()>& checkpoint) {
            SavePicture(TPictureKind::Swot, project, target, checkpoint);
        },
        *MixedProject(), pictures.filePath("four.svg"));
    QSignalSpy written(&picture, &TReportJob::Written);
    picture.Start();
    ASSERT_TRUE(written.wait(30000));
    EXPECT_TRUE(ReadAll(pictures.filePath("four.svg")).startsWith("<?xml"));
    EXPECT_TRUE(WaitDialog()->isVisible()) << "the report still converts";
    QTest::keyClick(WaitDialog(), Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([this] { return !WaitDialog()->isVisible(); }, 30000));
}

TEST_F(ReportCommandsWithBridge, ClosingTheWindowCancelsTheReport) {
    StartHeldReport(Path("hang.pdf"));
    const pid_t bridge = Starts().value(0);
    EndRun();
    EXPECT_EQ(::kill(bridge, 0), -1) << "the conversion was stopped before the window went";
    EXPECT_EQ(Leftovers(), QStringList{});
    EXPECT_TRUE(QDir(WorkFolder()).entryList({"report-*"}, QDir::Files).isEmpty());
}
