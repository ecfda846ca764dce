#include "ProjectBuilder.h"
#include "ReportTemplate.h"
#include "reports/UntCalcExport.h"

#include <QBuffer>
#include <QStringList>

namespace {

// A cell as "style:text", with "{columns x rows}" when spanned, "*n" when
// repeated and "[line|line]" for its note; "cov" for a covered cell.
QString Cell(pugi::xml_node cell) {
    const QString repeat =
        cell.attribute("table:number-columns-repeated")
            ? QString("*") + cell.attribute("table:number-columns-repeated").value()
            : QString();
    if (QString(cell.name()) == "table:covered-table-cell")
        return "cov" + repeat;
    QString text = QString(cell.attribute("table:style-name").value()) + ":" +
                   QString::fromUtf8(cell.child("text:p").text().get());
    if (cell.attribute("table:number-columns-spanned"))
        text += QString("{%1x%2}").arg(cell.attribute("table:number-columns-spanned").value(),
                                       cell.attribute("table:number-rows-spanned").value());
    text += repeat;
    if (const pugi::xml_node note = cell.child("office:annotation")) {
        QStringList lines;
        for (const pugi::xml_node paragraph : note.children("text:p"))
            lines << QString::fromUtf8(paragraph.text().get());
        text += "[" + lines.join("|") + "]";
    }
    return text;
}

QString Row(pugi::xml_node row) {
    EXPECT_STREQ(row.attribute("table:style-name").value(), "ro1");
    QStringList cells;
    for (const pugi::xml_node cell : row.children())
        cells << Cell(cell);
    return cells.join(", ");
}

// A sheet: its name, its columns, then its rows; rows of a row group start
// with "g ", and an empty row group shows as "(empty group)".
QStringList Sheet(pugi::xml_node table) {
    QStringList lines = {QString::fromUtf8(table.attribute("table:name").value())};
    EXPECT_STREQ(table.attribute("table:style-name").value(), "ta1");
    QStringList columns;
    const auto column = [](pugi::xml_node node) {
        EXPECT_STREQ(node.attribute("table:default-cell-style-name").value(), "Default");
        return QString(node.attribute("table:style-name").value()) +
               (node.attribute("table:number-columns-repeated")
                    ? QString("*") + node.attribute("table:number-columns-repeated").value()
                    : QString());
    };
    for (const pugi::xml_node child : table.children()) {
        const QString name = child.name();
        if (name == "table:table-column")
            columns << column(child);
        else if (name == "table:table-column-group")
            columns << "(" + column(child.first_child()) + ")";
        else if (name == "table:table-row")
            lines << Row(child);
        else if (name == "table:table-row-group") {
            if (!child.first_child())
                lines << "(empty group)";
            for (const pugi::xml_node row : child.children())
                lines << "g " + Row(row);
        }
    }
    lines.insert(1, columns.join(" "));
    return lines;
}

// The content document of the project's table report.
pugi::xml_document TableReport(const TProject& project) {
    pugi::xml_document content = LoadReportTemplate("calc/Content.xml");
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    WriteTableReport(buffer, content, project);
    pugi::xml_document document;
    EXPECT_TRUE(
        document.load_buffer(buffer.data().constData(), static_cast<size_t>(buffer.data().size())));
    return document;
}

QList<QStringList> Sheets(const TProject& project) {
    const pugi::xml_document document = TableReport(project);
    QList<QStringList> sheets;
    for (const pugi::xml_node table : document.document_element().child("office:body").children())
        sheets << Sheet(table);
    return sheets;
}

void ExpectSheet(const QStringList& actual, const QStringList& expected) {
    EXPECT_EQ(actual.join("\n").toStdString(), expected.join("\n").toStdString());
}

// Positions: 0 S1 (3), 1 S2 (2), 2 W1, 3 O1 (3), 4 O2 (1), 5 T1 (2).
std::unique_ptr<TProject> ExampleProject() {
    auto project = MakeProject({{"S1", stStrength, 3},
                                {"S2", stStrength, 2},
                                {"W1", stWeakness, 2},
                                {"O1", stOpportunity, 3},
                                {"O2", stOpportunity, 1},
                                {"T1", stThreat, 2}},
                               {{"C1", {{0, 3}, {0, 5}}}, {"C2", {{0, 5}}}});
    project->Title = "Title";
    return project;
}

} // namespace

TEST(TableReport, MatrixSheet) {
    const auto sheets = Sheets(*ExampleProject());
    ASSERT_EQ(sheets.size(), 2);
    ExpectSheet(
        sheets[0],
        {"SWOT matrix", "co2 co4 (co4*2) co4 (co4)",
         "Titre:Title, V1:External Opportunities, V2:O1[], V2:O2[], V1:External Threats, V2:T1[]",
         "H1:Our strengths, H3:, H3:Pieces of luck{2x1}, cov, H5:, H5:Conflicts{1x1}",
         "g H2:S1[], V3:Pieces of luck{1x2}, Contenu1:X[Resulting conclusions :|\n - C1], "
         "Contenu1:, "
         "V5:Conflicts{1x2}, Contenu3:X[Resulting conclusions :|\n - C1|\n - C2]",
         "g H2:S2[], cov, Contenu1:*2, cov, Contenu3:",
         "H1:Our weaknesses, H4:, H4:Challenges{2x1}, cov, H6:, H6:Dangers{1x1}",
         "g H2:W1[], V4:Challenges{1x1}, Contenu2:*2, V6:Dangers{1x1}, Contenu4:"});
}

TEST(TableReport, SynthesisSheet) {
    const auto sheets = Sheets(*ExampleProject());
    ASSERT_EQ(sheets.size(), 2);
    ExpectSheet(sheets[1],
                {"Synthesis of conclusions", "co2 co4*2",
                 "Standard:, H1:Synthesis of conclusions{2x1}, cov",
                 "Titre:Title, V2:C1[], V2:C2[]", "H3:Pieces of luck, H3:*2",
                 "g H2:9 : S1 / O1, Contenu:X, Contenu:", "H4:Challenges, H4:*2", "(empty group)",
                 "H5:Conflicts, H5:*2", "g H2:6 : S1 / T1, Contenu:X, Contenu:X",
                 "H6:Dangers, H6:*2", "(empty group)"});
}

TEST(TableReport, EdgesOfTheMatrix) {
    const auto noConclusions = MakeProject({{"S", stStrength, 3}, {"O", stOpportunity, 3}});
    const auto sheets = Sheets(*noConclusions);
    ASSERT_EQ(sheets.size(), 1) << "no synthesis sheet without conclusions";
    EXPECT_FALSE(sheets[0].join("\n").contains(":X"));

    auto internalOnly = MakeProject({{"S", stStrength, 3}, {"W", stWeakness, 1}});
    ExpectSheet(Sheets(*internalOnly)[0],
                {"SWOT matrix", "co2", "Titre:Analyse Swot", "H1:Our strengths", "g H2:S[]",
                 "H1:Our weaknesses", "g H2:W[]"});

    const auto externalOnly = MakeProject({{"O", stOpportunity, 3}});
    ExpectSheet(
        Sheets(*externalOnly)[0],
        {"SWOT matrix", "co2 co4 (co4)", "Titre:Analyse Swot, V1:External Opportunities, V2:O[]"});

    auto three = MakeProject({{"S", stStrength, 3},
                              {"O1", stOpportunity, 3},
                              {"O2", stOpportunity, 2},
                              {"O3", stOpportunity, 1}});
    three->Labels.SetValue(12, "Lucky");
    three->Labels.SetValue(4, "Assets");
    const QStringList matrix = Sheets(*three)[0];
    EXPECT_EQ(matrix[3], "H1:Assets, H3:, H3:Lucky{3x1}, cov*2");
    EXPECT_EQ(matrix[0], "SWOT matrix") << "the sheet name does not follow the headings";
}

// Empty cells come as runs around the held ones, whatever order, repetition
// or validity the records have.
TEST(TableReport, EmptyCellsComeInRuns) {
    auto project = MakeProject({{"S", stStrength, 3},
                                {"O1", stOpportunity, 3},
                                {"O2", stOpportunity, 3},
                                {"O3", stOpportunity, 3},
                                {"O4", stOpportunity, 3},
                                {"O5", stOpportunity, 3}},
                               {{"A", {}},
                                {"B", {{0, 3}, {0, 99}, {0, 0}}},
                                {"C", {}},
                                {"D", {}},
                                {"E", {{0, 3}, {0, 3}}},
                                {"F", {}}});
    project->Guidelines[1]->Couples.push_back({0, 3});
    const auto sheets = Sheets(*project);
    ASSERT_EQ(sheets.size(), 2);
    EXPECT_EQ(sheets[0][4].toStdString(),
              "g H2:S[], V3:Pieces of luck{1x1}, Contenu1:*2, "
              "Contenu1:X[Resulting conclusions :|\n - B|\n - E], Contenu1:*2");
    EXPECT_EQ(sheets[1][5].toStdString(),
              "g H2:9 : S / O3, Contenu:, Contenu:X, Contenu:*2, Contenu:X, Contenu:");
}

TEST(TableReport, NotesOfFactorsHoldTheirPlainComments) {
    auto project = MakeProject({{"S", stStrength, 3}, {"O", stOpportunity, 3}});
    project->Items[0]->Comments = {"{\\rtf1\\ansi\\pard First\\par \\b Second\\b0\\par }"};
    EXPECT_EQ(Sheets(*project)[0][4], "g H2:S[First|\nSecond], V3:Pieces of luck{1x1}, Contenu1:");
}

// The size the report is checked against is the size it has.
TEST(TableReport, SizeIsTheSheetsOwn) {
    const auto count = [](pugi::xml_node table, const char* what) {
        qint64 total = 0;
        for (const pugi::xpath_node node :
             table.select_nodes((QString(".//table:") + what).toUtf8().constData())) {
            const pugi::xml_attribute repeated =
                node.node().attribute("table:number-columns-repeated");
            total += QString(what) == "table-column" && repeated ? repeated.as_llong() : 1;
        }
        return total;
    };
    const auto example = ExampleProject();
    const auto wide = MakeProject({{"S", stStrength, 3},
                                   {"O1", stOpportunity, 1},
                                   {"O2", stOpportunity, 2},
                                   {"T1", stThreat, 2},
                                   {"T2", stThreat, 2},
                                   {"T3", stThreat, 2}},
                                  {{"A", {{0, 1}}},
                                   {"B", {}},
                                   {"C", {}},
                                   {"D", {}},
                                   {"E", {}},
                                   {"F", {}},
                                   {"G", {}},
                                   {"H", {{0, 3}}}});
    const auto bare = MakeProject({});
    for (const TProject* project : {example.get(), wide.get(), bare.get()}) {
        const pugi::xml_document document = TableReport(*project);
        TSheetSize actual;
        for (const pugi::xml_node table :
             document.document_element().child("office:body").children("table:table")) {
            actual.Columns = std::max(actual.Columns, count(table, "table-column"));
            actual.Rows = std::max(actual.Rows, count(table, "table-row"));
        }
        const TSheetSize computed = TableReportSize(*project);
        EXPECT_EQ(computed.Columns, actual.Columns);
        EXPECT_GE(computed.Rows, actual.Rows);
        EXPECT_LE(computed.Rows, actual.Rows + 4) << "at most the kinds without couplings";
    }
}
