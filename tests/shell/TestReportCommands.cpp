#include "DocumentEditing.h"
#include "MainWindowTest.h"
#include "ProjectBuilder.h"
#include "UntDlgWaitReport.h"
#include "UntIO.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QStatusBar>
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
};

TEST_F(ReportCommands, WritesThePackageAndOpensIt) {
    Seam->AnswerFile(Path("report"), 1);
    Action("AcnProjTextReport")->trigger();
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
        Action("AcnProjTextReport")->trigger();
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

TEST_F(ReportCommands, SavesEitherPictureAndOpensIt) {
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
    };
    for (const auto& c : cases) {
        Seam->Opened.clear();
        Seam->AnswerFile(Path(c.typed), c.filter);
        Action(c.action)->trigger();
        EXPECT_TRUE(ReadAll(Path(c.written)).startsWith(c.start)) << c.written;
        EXPECT_EQ(Seam->Opened, QStringList{Path(c.written)});
    }
    EXPECT_EQ(Seam->FileRequests.last().Filters,
              (QStringList{"SVG picture (*.svg)", "PNG image (*.png)"}));
    EXPECT_EQ(Seam->FileRequests.last().FilterIndex, 2) << "the type chosen last";
    EXPECT_TRUE(Seam->Messages.isEmpty()) << Seam->Messages.join('|').toStdString();
}

TEST_F(ReportCommands, AnExistingFileIsReplacedOnlyAfterYes) {
    QFile existing(Path("matrix.sxc"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("old");
    existing.close();

    Seam->AnswerFile(Path("matrix.sxc"), 1);
    Seam->Answer({QMessageBox::No});
    Action("AcnProjTableReport")->trigger();
    EXPECT_TRUE(Seam->Messages.value(0).startsWith("Take care, this file already exists\n"));
    EXPECT_EQ(QFileInfo(Path("matrix.sxc")).size(), 3);
    EXPECT_TRUE(Seam->Opened.isEmpty());

    Seam->AnswerFile(Path("matrix.sxc"), 1);
    Seam->Answer({QMessageBox::Yes});
    Action("AcnProjTableReport")->trigger();
    EXPECT_GT(QFileInfo(Path("matrix.sxc")).size(), 3);
}

TEST_F(ReportCommands, AFailedConversionSaysSoAndOpensNothing) {
    Seam->AnswerFile(Path("report.pdf"), 3);
    Action("AcnProjTableReport")->trigger();
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
    Action("AcnProjTextReport")->trigger();
    EXPECT_EQ(Seam->FileRequests.last().FilterIndex, 3);
    EndRun();
    EXPECT_TRUE(SettingsText().contains("DefaultOfficeFormat=3"));
}

TEST_F(ReportCommands, ReportsTheExampleWhileItIsDisplayed) {
    Retitle(*Window->Document(), "Mine");
    Action("AcnProjExampDisp")->trigger();
    Seam->AnswerFile(Path("example.sxw"), 1);
    Action("AcnProjTextReport")->trigger();
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
    Action("AcnProjTableReport")->trigger();
    EXPECT_TRUE(QFileInfo(Path("link.sxc")).isSymLink());
    EXPECT_GT(QFileInfo(Path("matrix.sxc")).size(), 3);

    ::chmod(QFile::encodeName(Path("matrix.sxc")).constData(), 0444);
    const QByteArray kept = ReadAll(Path("matrix.sxc"));
    Seam->Messages.clear();
    Seam->Opened.clear();
    for (const char* chosen : {"matrix.sxc", "link.sxc"}) {
        Seam->AnswerFile(Path(chosen), 1);
        Action("AcnProjTableReport")->trigger();
    }
    EXPECT_EQ(Seam->Messages, QStringList(2, "The file " + Path("matrix.sxc") +
                                                 " is write-protected; it was not replaced."));
    EXPECT_EQ(ReadAll(Path("matrix.sxc")), kept);
    EXPECT_TRUE(Seam->Opened.isEmpty());
}
