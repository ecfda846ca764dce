#include "ProjectBuilder.h"
#include "model/UntStrings.h"
#include "storage/UntIO.h"
#include "storage/UntRtf.h"
#include "storage/UntUtils.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <zip.h>

namespace {

QString Fixture(const char* name) {
    return QStringLiteral(MEROVAN_FIXTURES_DIR "/") + QString::fromLatin1(name);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Comment(const TRtfDocument& document) {
    return WriteRtf(document);
}

// A project with every kind of content, non-Latin text included.
std::unique_ptr<TProject> RichProject() {
    auto project = MakeProject(
        {{"Marque réputée", stStrength, 3},
         {"Dette", stWeakness, 1},
         {"市场 growth", stOpportunity, 2},
         {"Rival <&> \"quoted\"", stThreat, 3},
         {"Second strength", stStrength, 2}},
        {{"Grow abroad", {{0, 2}, {4, 2}, {0, 2}}}, {"Pay debts", {{1, 3}}}, {"Unlinked", {}}});
    project->Title = QString::fromUtf8("Analyse – Zürich ✓");
    project->Comments = Comment({{{"Project "}, {"notes", true}}, {{"tab\there {x} \\ <BR>"}}});
    project->Items[0]->Comments = Comment({{{"東京 ", false, true}, {"😀", false, false, true}}});
    project->Guidelines[1]->Comments = Comment({{{"Café", true, true, true}}, {}});
    project->Labels.SetValue(4, "Atouts & forces");
    project->Labels.SetValue(12, "");
    project->Labels.SetValue(19, "<très> important");
    return project;
}

void ExpectSameProject(const TProject& read, const TProject& written) {
    const auto stored = [](const QStringList& comments) {
        return StoredTextToLines(LinesToStoredText(comments));
    };
    EXPECT_EQ(read.Title, written.Title);
    EXPECT_EQ(read.Comments, stored(written.Comments));
    for (int number = 1; number <= TLabels::Count; ++number)
        EXPECT_EQ(read.Labels.Value(number), written.Labels.Value(number)) << "heading " << number;
    ASSERT_EQ(read.Items.size(), written.Items.size());
    for (std::size_t i = 0; i < read.Items.size(); ++i) {
        EXPECT_EQ(read.Items[i]->Name, written.Items[i]->Name) << i;
        EXPECT_EQ(read.Items[i]->Mark, written.Items[i]->Mark) << i;
        EXPECT_EQ(read.Items[i]->SwotType, written.Items[i]->SwotType) << i;
        EXPECT_EQ(read.Items[i]->Comments, stored(written.Items[i]->Comments)) << i;
        EXPECT_EQ(RtfToPlainText(read.Items[i]->Comments),
                  RtfToPlainText(written.Items[i]->Comments));
    }
    ASSERT_EQ(read.Guidelines.size(), written.Guidelines.size());
    for (std::size_t g = 0; g < read.Guidelines.size(); ++g) {
        EXPECT_EQ(read.Guidelines[g]->Name, written.Guidelines[g]->Name) << g;
        EXPECT_EQ(read.Guidelines[g]->Comments, stored(written.Guidelines[g]->Comments)) << g;
        EXPECT_EQ(read.Guidelines[g]->Couples, written.Guidelines[g]->Couples) << g;
    }
    EXPECT_FALSE(read.Modified());
}

struct ProjectFile : ::testing::Test {
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    QTemporaryDir folder;
};

} // namespace

TEST_F(ProjectFile, WrittenProjectReadsBackEqual) {
    const auto written = RichProject();
    WriteProject(*written, Path("rich.swot"));
    const auto read = ReadProject(Path("rich.swot"));
    ExpectSameProject(*read, *written);
    EXPECT_EQ(RtfToPlainText(read->Comments), "Project notes\r\ntab\there {x} \\ <BR>");

    // What was read once is stable under further saves.
    WriteProject(*read, Path("again.swot"));
    const auto again = ReadProject(Path("again.swot"));
    ExpectSameProject(*again, *read);
    EXPECT_EQ(again->Comments, read->Comments);
    WriteProject(*again, Path("third.swot"));
    const auto content = [this](const char* name) {
        return ExtractEntry(Path(name), "content.xml", MaxContentSize);
    };
    EXPECT_EQ(content("third.swot"), content("again.swot"));
}

TEST_F(ProjectFile, EmptyProjectReadsBackEmpty) {
    TProject empty;
    WriteProject(empty, Path("empty.swot"));
    const auto read = ReadProject(Path("empty.swot"));
    EXPECT_TRUE(read->Items.empty());
    EXPECT_TRUE(read->Guidelines.empty());
    EXPECT_EQ(read->Title, "Analyse Swot");
    EXPECT_EQ(read->Comments, QStringList{""});
}

TEST(ProjectContent, FollowsTheElementTreeToTheByte) {
    auto project = MakeProject({{"S & co", stStrength, 3}, {"O", stOpportunity, 1}},
                               {{"G \"1\"", {{0, 1}, {0, 1}}}, {"H", {}}});
    project->Title = "T<1>";
    project->Comments = {"{\\rtf1 a", "b}"};
    project->Items[1]->Comments = {"x"};
    for (int number = 1; number <= TLabels::Count; ++number)
        project->Labels.SetValue(number, QString("L%1").arg(number));
    project->Labels.SetValue(4, "");
    project->Labels.SetValue(5, QString::fromUtf8("é"));

    const QByteArray expected = ReadAll(QStringLiteral(MEROVAN_FIXTURES_DIR "/golden-content.xml"));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(ProjectContent(*project).toStdString(), expected.trimmed().toStdString());
}

// A comment's stored form comes back to the byte through reading and
// writing: its "<BR>" separators stay separators, and text that the filter
// puts together never becomes one.
TEST(ProjectContent, CommentsKeepTheirSeparatorsAndNoneIsMade) {
    struct Case {
        const char* what;
        const char* stored;  // in the document, as read
        const char* written; // in the document, as written
        const char* plain;
    };
    const Case cases[] = {
        {"separators between the lines of an editor",
         R"({\rtf1\ansi\pard one.&lt;BR&gt;\par two&lt;BR&gt;\par })",
         R"({\rtf1\ansi\pard one.&lt;BR&gt;\par two&lt;BR&gt;\par })", "one.\r\ntwo"},
        {"a separator made of pieces around a dropped group",
         R"({\rtf1\ansi\pard a&lt;B{}R&gt;b\par })", R"({\rtf1\ansi\pard a\'3cBR&gt;b\par })",
         "a<BR>b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QByteArray content =
            QByteArray(
                R"(<document-content class="swot" version="1.0"><swot name="T"><comments>)") +
            c.stored + "</comments></swot></document-content>";
        const auto project = ReadProjectContent(content);
        EXPECT_EQ(project->Comments.size(), 1);
        EXPECT_EQ(RtfToPlainText(project->Comments), c.plain);
        const QByteArray written = ProjectContent(*project);
        EXPECT_TRUE(written.contains(QByteArray("<comments>") + c.written + "</comments>"))
            << written.toStdString();
        const auto again = ReadProjectContent(written);
        EXPECT_EQ(again->Comments, project->Comments);
        EXPECT_EQ(ProjectContent(*again), written);
    }
}

TEST_F(ProjectFile, ArchiveHoldsOneDeflatedEntryThatCommonToolsAccept) {
    const auto project = RichProject();
    WriteProject(*project, Path("tools.swot"));

    QProcess unzip;
    unzip.start("unzip", {"-tq", Path("tools.swot")});
    ASSERT_TRUE(unzip.waitForFinished(10000));
    EXPECT_EQ(unzip.exitCode(), 0) << unzip.readAllStandardOutput().toStdString();

    QProcess python;
    python.start("python3", {"-c",
                             "import sys, zipfile\n"
                             "z = zipfile.ZipFile(sys.argv[1])\n"
                             "assert z.testzip() is None\n"
                             "print([(i.filename, i.compress_type) for i in z.infolist()])\n"
                             "sys.stdout.buffer.write(z.read('content.xml'))\n",
                             Path("tools.swot")});
    ASSERT_TRUE(python.waitForFinished(10000));
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QByteArray output = python.readAllStandardOutput();
    EXPECT_TRUE(output.startsWith("[('content.xml', 8)]\n")) << output.left(80).toStdString();
    EXPECT_TRUE(output.endsWith(ProjectContent(*project)));
}

// A project saved again, at any time of any day, makes the very same file:
// its entry carries one fixed time, noon of 1 January 1980, not the time of
// the save.
TEST(ProjectArchive, TheSameProjectMakesTheSameBytes) {
    const auto project = MakeProject({{"Brand", stStrength, 3}});
    const QByteArray first = ProjectArchive(*project);
    EXPECT_EQ(ProjectArchive(*project), first);

    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(
        first.constData(), static_cast<zip_uint64_t>(first.size()), 0, &error);
    ASSERT_NE(source, nullptr);
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    ASSERT_NE(archive, nullptr);
    ASSERT_EQ(zip_get_num_entries(archive, 0), 1);
    zip_stat_t entry;
    ASSERT_EQ(zip_stat_index(archive, 0, 0, &entry), 0);
    zip_discard(archive);
    zip_error_fini(&error);
    ASSERT_TRUE(entry.valid & ZIP_STAT_MTIME);
    EXPECT_EQ(QDateTime::fromSecsSinceEpoch(entry.mtime),
              QDateTime(QDate(1980, 1, 1), QTime(12, 0), Qt::UTC));
}

TEST_F(ProjectFile, SavingReplacesTheTargetWhole) {
    const auto first = RichProject();
    const auto second = MakeProject({{"Only", stThreat, 1}});
    WriteProject(*first, Path("target.swot"));
    WriteProject(*second, Path("target.swot"));
    const auto read = ReadProject(Path("target.swot"));
    ExpectSameProject(*read, *second);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"target.swot"})
        << "no working file is left behind";

    try {
        WriteProject(*first, Path("missing-folder/target.swot"));
        FAIL() << "writing into a missing folder succeeded";
    } catch (const EStorageError& error) {
        EXPECT_TRUE(error.Message().startsWith("The file cannot be written")) << error.what();
    }
    EXPECT_FALSE(QFile::exists(Path("missing-folder")));
    ExpectSameProject(*ReadProject(Path("target.swot")), *second);
}

TEST(ProjectFixtures, ReadAsWritten) {
    struct Case {
        const char* file;
        std::function<void(const TProject&)> check;
    };
    const Case cases[] = {
        {"foreign-rtf.swot",
         [](const TProject& project) {
             const QString plain =
                 QString::fromUtf8("Café crème\r\nSecond line {ok}\r\nThird line");
             EXPECT_EQ(RtfToPlainText(project.Comments), plain);
             ASSERT_EQ(project.Items.size(), 1u);
             EXPECT_EQ(RtfToPlainText(project.Items[0]->Comments), plain);
             const QString markup = RtfToTagMarkup(project.Comments).front();
             EXPECT_TRUE(markup.contains(QString::fromUtf8("Café <b> crème</b>")))
                 << markup.toStdString();
             EXPECT_TRUE(HasVisibleText(LinesToStream(project.Comments)));
             EXPECT_EQ(project.Labels.Value(7), "Heading 7");
         }},
        {"only-label4.swot",
         [](const TProject& project) {
             for (int number = 1; number <= TLabels::Count; ++number)
                 EXPECT_EQ(project.Labels.Value(number), number == 4 ? "Assets" : "") << number;
         }},
        {"foreign-children.swot",
         [](const TProject& project) {
             ASSERT_EQ(project.Items.size(), 2u);
             EXPECT_EQ(project.Items[1]->Name, "O");
             ASSERT_EQ(project.Guidelines.size(), 1u);
             EXPECT_EQ(GetCouplingCaption(project, 0, 1), "6 : S / O");
             EXPECT_TRUE(project.Guidelines[0]->HasCouple(0, 1));
         }},
        {"version-9.9.swot",
         [](const TProject& project) {
             EXPECT_EQ(project.Title, "Fixture");
             EXPECT_EQ(project.Labels.Value(hdSituationAnalysis), "Situation analysis")
                 << "no labels: defaults";
         }},
        {"records-out-of-range.swot",
         [](const TProject& project) {
             ASSERT_EQ(project.Guidelines.size(), 1u);
             // Records naming no factor go; a record of unsuitable types stays.
             EXPECT_EQ(project.Guidelines[0]->Couples, (std::vector<TTOWSCouple>{{0, 1}, {1, 0}}));
         }},
        {"declared-utf16.swot",
         [](const TProject& project) {
             EXPECT_EQ(project.Title, QString::fromUtf8("Déclaré"));
             ASSERT_EQ(project.Items.size(), 1u);
             EXPECT_EQ(project.Items[0]->Name, QString::fromUtf8("Zürich – 東京 ✓"));
             EXPECT_EQ(project.Items[0]->SwotType, stThreat);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        std::unique_ptr<TProject> project;
        try {
            project = ReadProject(Fixture(c.file));
        } catch (const EStorageError& error) {
            ADD_FAILURE() << error.what();
            continue;
        }
        c.check(*project);
        EXPECT_FALSE(project->Modified());
    }
}

// Every failure ends the read with a message that says what is wrong.
TEST(ProjectFixtures, RefusedWithTheirMessages) {
    struct Case {
        const char* file;
        QString message;
    };
    const Case cases[] = {
        {"class-Swot.swot", "The document is not a valid Merovan document"},
        {"missing-mark.swot",
         "The element “swot-item” lacks its attribute “mark”. (line 1, column 157)"},
        {"not-a-zip.swot", "The file is not a Merovan project: it is not a ZIP archive."},
        {"no-content.swot",
         "The file is not a Merovan project: its archive holds no “content.xml” document."},
        {"malformed.swot", "The “content.xml” document of the project is not well-formed XML: "
                           "Start-end tags mismatch (line 1, column 59)"},
        {"wrong-root.swot",
         "The document element of the project is “project” instead of “document-content”."},
        {"does-not-exist.swot", "The file cannot be opened: "},
        // Hostile files.
        {"hostile/zip-bomb.swot",
         "The “content.xml” document of the project is larger than 64 MiB; it is refused."},
        {"hostile/entities.swot", LoadStr(3013)},
        {"hostile/deep.swot", FillTemplate(LoadStr(3014), "256")},
    };
    for (const Case& c : cases) {
        try {
            ReadProject(Fixture(c.file));
            ADD_FAILURE() << c.file << " was read";
        } catch (const EStorageError& error) {
            EXPECT_TRUE(error.Message().startsWith(c.message))
                << c.file << ": " << error.what() << "\n  expected: " << c.message.toStdString();
        }
    }
}

TEST(ProjectFixtures, ArchivesInMemoryReadAlike) {
    const auto fromFile = ReadProject(Fixture("foreign-children.swot"));
    const auto fromMemory = ReadProjectArchive(ReadAll(Fixture("foreign-children.swot")));
    ExpectSameProject(*fromMemory, *fromFile);
    EXPECT_THROW(ReadProjectArchive(QByteArray("PK\x03\x04 truncated")), EStorageError);
    EXPECT_THROW(ReadProjectArchive(QByteArray()), EStorageError);
}

TEST(ProjectFixtures, TooManyTagsAreRefusedBeforeParsing) {
    const QByteArray content = "<document-content class=\"swot\">" +
                               QByteArray("<a/>").repeated(MaxContentTags) + "</document-content>";
    try {
        ReadProjectContent(content);
        FAIL() << "read";
    } catch (const EStorageError& error) {
        EXPECT_EQ(error.Message(), FillTemplate(LoadStr(3007), "2000000"));
    }
}

// Elements nested 256 levels below the document element are refused; one
// level less is read.
TEST(ProjectFixtures, NestingIsRefusedAtItsBound) {
    for (const int levels : {MaxContentDepth - 1, MaxContentDepth}) {
        const QByteArray content = "<document-content class=\"swot\">" +
                                   QByteArray("<a>").repeated(levels) +
                                   QByteArray("</a>").repeated(levels) + "</document-content>";
        try {
            ReadProjectContent(content);
            EXPECT_LT(levels, MaxContentDepth) << "read";
        } catch (const EStorageError& error) {
            EXPECT_EQ(levels, MaxContentDepth) << error.what();
            EXPECT_EQ(error.Message(), FillTemplate(LoadStr(3014), "256"));
        }
    }
}

// Marks and positions are 32-bit integers; what is no integer and what lies
// beyond them are refused, each with its own message.
TEST(ProjectFixtures, NumbersOutsideTheirRangeAreRefusedAsSuch) {
    struct Case {
        const char* mark;
        const char* message; // empty: read
    };
    const Case cases[] = {
        {"2147483647", ""},
        {"-2147483648", ""},
        {"+3", ""},
        {"2147483648",
         "The attribute “mark” of the element “swot-item” holds a number out of range."},
        {"-2147483649",
         "The attribute “mark” of the element “swot-item” holds a number out of range."},
        {"99999999999999999999",
         "The attribute “mark” of the element “swot-item” holds a number out of range."},
        {"3x", "The attribute “mark” of the element “swot-item” is not a whole number."},
        {"", "The attribute “mark” of the element “swot-item” is not a whole number."},
        {"1e3", "The attribute “mark” of the element “swot-item” is not a whole number."},
    };
    for (const Case& c : cases) {
        const QByteArray content =
            QByteArray("<document-content class=\"swot\"><swot><swot-items><swot-item name=\"F\" "
                       "swot-type=\"1\" mark=\"") +
            c.mark + "\"/></swot-items></swot></document-content>";
        try {
            const auto project = ReadProjectContent(content);
            EXPECT_STREQ(c.message, "") << c.mark << " was read";
            EXPECT_EQ(project->Items.at(0)->Mark, QByteArray(c.mark).toLongLong()) << c.mark;
        } catch (const EStorageError& error) {
            EXPECT_TRUE(error.Message().startsWith(QString::fromUtf8(c.message)) && *c.message)
                << c.mark << ": " << error.what();
        }
    }
}
