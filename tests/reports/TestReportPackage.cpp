#include "ProjectBuilder.h"
#include "reports/UntConvert.h"
#include "reports/UntReportExport.h"
#include "storage/UntDataModule.h"
#include "storage/UntProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pugixml.hpp>
#include <sys/stat.h>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The entry names of an archive, in their order, as Python's zipfile sees them.
QStringList EntryNames(const QByteArray& archive) {
    QTemporaryDir folder;
    QFile file(folder.filePath("package.zip"));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(archive);
    file.close();
    QProcess python;
    python.start("python3", {"-c",
                             "import sys, zipfile\n"
                             "z = zipfile.ZipFile(sys.argv[1])\n"
                             "assert z.testzip() is None\n"
                             "print('\\n'.join(i.filename for i in z.infolist()))\n",
                             file.fileName()});
    EXPECT_TRUE(python.waitForFinished(10000));
    return QString::fromUtf8(python.readAllStandardOutput()).trimmed().split('\n');
}

} // namespace

TEST(ReportPackage, HoldsContentStylesAndManifestInOrder) {
    const auto project =
        MakeProject({{"S", stStrength, 3}, {"O", stOpportunity, 2}}, {{"G", {{0, 1}}}});
    for (const TReportKind kind : {TReportKind::Text, TReportKind::Table}) {
        const TReportKindInfo& info = ReportInfo(kind);
        const QByteArray package = BuildReportPackage(kind, *project, ProgramFolder());
        EXPECT_EQ(EntryNames(package),
                  (QStringList{"content.xml", "styles.xml", "meta.xml", "META-INF/manifest.xml"}));
        const QString folder = ProgramFolder() + info.Folder;
        EXPECT_EQ(ExtractEntryFromMemory(package, "styles.xml", 1 << 24),
                  ReadAll(folder + "styles.xml"))
            << "styles byte for byte";
        const QByteArray manifest =
            ExtractEntryFromMemory(package, "META-INF/manifest.xml", 1 << 20);
        EXPECT_TRUE(manifest.contains(kind == TReportKind::Text ? "application/vnd.sun.xml.writer"
                                                                : "application/vnd.sun.xml.calc"));
        EXPECT_TRUE(manifest.contains(R"(manifest:full-path="meta.xml")"));
        const QByteArray content = ExtractEntryFromMemory(package, "content.xml", 1 << 24);
        EXPECT_TRUE(content.contains(kind == TReportKind::Text ? "<text:h" : "<table:table "));
    }
}

// The templates come from the folder the caller names, not from the program's.
TEST(ReportPackage, TemplatesComeFromTheGivenFolder) {
    const auto project = MakeProject({{"S", stStrength, 3}});
    QTemporaryDir other;
    for (const TReportKind kind : {TReportKind::Text, TReportKind::Table}) {
        const TReportKindInfo& info = ReportInfo(kind);
        SCOPED_TRACE(info.Folder.toStdString());
        EXPECT_THROW(BuildReportPackage(kind, *project, other.path()), EStorageError)
            << "an empty folder has no templates";

        const QString source = ProgramFolder() + info.Folder;
        const QString copy = other.filePath(info.Folder);
        ASSERT_TRUE(QDir().mkpath(copy + "META-INF"));
        for (const QString& name : {info.ContentTemplate, QString("META-INF/manifest.xml")})
            ASSERT_TRUE(QFile::copy(source + name, copy + name)) << name.toStdString();
        QFile styles(copy + "styles.xml");
        ASSERT_TRUE(styles.open(QIODevice::WriteOnly));
        styles.write("<styles of our own/>");
        styles.close();
        EXPECT_EQ(ExtractEntryFromMemory(BuildReportPackage(kind, *project, other.path()),
                                         "styles.xml", 1 << 20),
                  "<styles of our own/>");
    }
}

TEST(ReportPackage, FormatsFollowTheExtension) {
    struct Case {
        TReportKind kind;
        const char* path;
        int format;
    };
    const Case cases[] = {
        {TReportKind::Text, "a.sxw", 1},  {TReportKind::Text, "a.DOC", 2},
        {TReportKind::Text, "a.pdf", 3},  {TReportKind::Text, "a.sxc", 0},
        {TReportKind::Table, "a.sxc", 1}, {TReportKind::Table, "a.xls", 2},
        {TReportKind::Table, "a.pdf", 3}, {TReportKind::Table, "a", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReportFormatOf(c.kind, c.path), c.format) << c.path;
}

TEST(ReportPackage, FormatOneWritesThePackage) {
    QTemporaryDir folder;
    const auto project = MakeProject({{"S", stStrength, 3}});
    ExportReport(TReportKind::Text, *project, ProgramFolder(), folder.filePath("r.sxw"), 1);
    EXPECT_EQ(EntryNames(ReadAll(folder.filePath("r.sxw"))).size(), 4);
    EXPECT_THROW(ExportReport(TReportKind::Text, *project, ProgramFolder(),
                              folder.filePath("none/r.sxw"), 1),
                 EStorageError);
}

// A matrix wider than a format's sheets is refused before anything is
// written or converted, with the sizes in the message.
TEST(ReportPackage, TablesBeyondTheFormatsSheetsAreRefused) {
    const auto withOpportunities = [](int count) {
        auto project = MakeProject({{"S", stStrength, 3}});
        for (int i = 0; i < count; ++i)
            project->Items.push_back(std::move(MakeProject({{"O", stOpportunity, 2}})->Items[0]));
        return project;
    };
    struct Case {
        int opportunities;
        int format;
        const char* refusal; // empty: written
    };
    // Excel 97 sheets hold 256 columns; the suite's own sheets, and those of
    // every other format it writes, 16,384 since its release 7.4.
    const Case cases[] = {
        {300, 2,
         "sheets would need 302 × 3 columns and rows, where the format allows at most "
         "256 × 65536."},
        {1100, 1, ""},
        {16382, 1, ""},
        {16383, 1,
         "sheets would need 16385 × 3 columns and rows, where the format allows at most "
         "16384 × 1048576."},
        {16383, 3, "16384 × 1048576."},
        {16383, 4, "16384 × 1048576."},
        {16383, 5, "16384 × 1048576."},
    };
    QTemporaryDir folder;
    for (const Case& c : cases) {
        const QString target =
            folder.filePath(QString("matrix%1.%2")
                                .arg(c.opportunities)
                                .arg(ReportInfo(TReportKind::Table).Extensions[c.format - 1]));
        try {
            ExportReport(TReportKind::Table, *withOpportunities(c.opportunities), ProgramFolder(),
                         target, c.format);
            EXPECT_STREQ(c.refusal, "") << c.opportunities;
            EXPECT_TRUE(QFile::exists(target));
        } catch (const EMerovanError& error) {
            EXPECT_TRUE(*c.refusal && error.Message().endsWith(QString::fromUtf8(c.refusal)))
                << c.opportunities << ": " << error.what();
            EXPECT_FALSE(QFile::exists(target));
        }
    }
}

// A file manager or a search shows a report by its project's title, which
// its properties carry whole: markup characters, any script, no character
// that XML forbids.
TEST(ReportPackage, PropertiesCarryTheProjectsTitle) {
    auto project = MakeProject({{"S", stStrength, 3}});
    project->Title = QString::fromUtf8("Bäckerei <Nord> & Söhne – 面包店") + QChar(0x01);
    for (const TReportKind kind : {TReportKind::Text, TReportKind::Table}) {
        const QByteArray meta = ExtractEntryFromMemory(
            BuildReportPackage(kind, *project, ProgramFolder()), "meta.xml", 1 << 20);
        pugi::xml_document document;
        ASSERT_TRUE(document.load_buffer(meta.constData(), static_cast<size_t>(meta.size())))
            << meta.constData();
        const pugi::xml_node root = document.document_element();
        EXPECT_STREQ(root.name(), "office:document-meta");
        EXPECT_STREQ(root.attribute("xmlns:dc").value(), "http://purl.org/dc/elements/1.1/");
        EXPECT_EQ(QString::fromUtf8(root.child("office:meta").child("dc:title").text().get()),
                  QString::fromUtf8("Bäckerei <Nord> & Söhne – 面包店"));
    }
}

// The step that puts a converted report in place: whatever file the suite
// stored under the reserved name, the report gets the bits of the file it
// replaces, or those the reserved name was made with; a name the suite left
// empty fails with the reason, and nothing stays.
TEST(ReportPackage, AConvertedReportGetsTheBitsOfTheFileItReplaces) {
    QTemporaryDir folder;
    const QString target = folder.filePath("report.pdf");
    const auto bits = [](const QString& path) {
        struct stat status {};
        return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777
                                                                         : 0u;
    };
    for (const mode_t existing : {0u, 0604u}) {
        SCOPED_TRACE(existing);
        if (existing != 0) {
            ASSERT_TRUE(QFile(target).open(QIODevice::WriteOnly));
            ::chmod(QFile::encodeName(target).constData(), existing);
        }
        TNewFile converted(PiecePattern(target), StrReportUnwritable);
        const mode_t fresh = bits(converted.FileName());
        converted.File().close();
        QFile suite(folder.filePath("suite"));
        ASSERT_TRUE(suite.open(QIODevice::WriteOnly));
        suite.write("converted");
        suite.close();
        ::chmod(QFile::encodeName(suite.fileName()).constData(), 0600);
        ASSERT_TRUE(QFile::remove(converted.FileName()));
        ASSERT_TRUE(QFile::rename(suite.fileName(), converted.FileName()));
        converted.Replace(target);
        EXPECT_EQ(bits(target), existing != 0 ? existing : fresh);
        EXPECT_EQ(ReadAll(target), "converted");
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{"report.pdf"});
    }
    {
        TNewFile converted(PiecePattern(target), StrReportUnwritable);
        ASSERT_TRUE(QFile::remove(converted.FileName()));
        try {
            converted.Replace(target);
            ADD_FAILURE() << "replaced";
        } catch (const EStorageError& error) {
            EXPECT_EQ(error.Message(), "The report cannot be written: No such file or directory");
        }
    }
    EXPECT_EQ(ReadAll(target), "converted");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});
}

// A conversion that fails leaves neither the copy handed to the suite nor
// the name reserved beside the report.
TEST(ReportPackage, AFailedConversionLeavesNoFileBehind) {
    QTemporaryDir folder;
    const QByteArray converter = qgetenv("MEROVAN_CONVERT");
    qputenv("MEROVAN_CONVERT", QFile::encodeName(folder.filePath("missing-converter")));
    const auto restore = qScopeGuard([&converter] {
        if (converter.isNull())
            qunsetenv("MEROVAN_CONVERT");
        else
            qputenv("MEROVAN_CONVERT", converter);
    });
    const QStringList working = QDir(WorkFolder()).entryList(QDir::Files | QDir::Hidden);
    for (const TReportKind kind : {TReportKind::Text, TReportKind::Table}) {
        EXPECT_THROW(ExportReport(kind, *MakeProject({{"S", stStrength, 3}}), ProgramFolder(),
                                  folder.filePath("report.pdf"), 3),
                     EConversionError);
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{});
        EXPECT_EQ(QDir(WorkFolder()).entryList(QDir::Files | QDir::Hidden), working);
    }
}
