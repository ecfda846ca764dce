#include "ProjectBuilder.h"
#include "ReportTemplate.h"
#include "reports/UntComparisonReport.h"
#include "storage/UntDataModule.h"
#include "storage/UntUtils.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Positions of MixedProject: S1 0 (mark 2), O1 1 (3), W1 2 (3), T1 3 (1),
// S2 4 (3), O2 5 (2). From the older to the newer version: S1's mark goes up,
// W1's comment changes, O2 becomes "Market"; "Grow" trades a coupling and
// gains a comment, "Keep" goes and "New" comes. The strengths have a heading
// of their own in the newer version.
TComparison SampleComparison() {
    auto older = MixedProject({{"Grow", {{0, 1}, {0, 1}}}, {"Keep", {}}});
    auto newer = MixedProject({{"Grow", {{0, 1}, {4, 1}}}, {"New", {}}});
    older->Title = "2025";
    newer->Title = "2026";
    newer->Labels.SetValue(hdStrengths, "Assets");
    newer->Items[0]->Mark = mkHigh;
    newer->Items[2]->Comments = PlainTextToLines("Fewer staff");
    newer->Items[5]->Name = "Market";
    newer->Guidelines[0]->Comments = PlainTextToLines("Online first");
    TComparison comparison = CompareProjects(*older, *newer);
    comparison.Old.File = "old.swot";
    return comparison;
}

// The document's headings and table cells in order, one line each: "h2
// Factors", "| S1 | Changed | ...".
QStringList DocumentLines(const pugi::xml_document& document) {
    QStringList lines;
    const pugi::xml_node body = document.document_element().child("office:body");
    for (const pugi::xml_node node : body.children()) {
        const QString name = QString::fromUtf8(node.name());
        if (name == "text:h") {
            lines << "h" + QString::fromUtf8(node.attribute("text:level").value()) + ' ' +
                         QString::fromUtf8(node.text().get());
        } else if (name == "text:p" && node.text()) {
            lines << QString::fromUtf8(node.text().get());
        } else if (name == "table:table") {
            for (const pugi::xpath_node row : node.select_nodes(".//table:table-row")) {
                QStringList cells;
                for (const pugi::xml_node cell : row.node().children("table:table-cell")) {
                    QStringList paragraphs;
                    for (const pugi::xml_node p : cell.children("text:p"))
                        paragraphs << QString::fromUtf8(p.child_value()) +
                                          QString::fromUtf8(p.child("text:span").child_value());
                    cells << paragraphs.join('+');
                }
                lines << "| " + cells.join(" | ");
            }
        }
    }
    return lines;
}

} // namespace

TEST(ComparisonReport, JsonHasTheDocumentedShape) {
    const QByteArray expected = R"({
        "format": "merovan-comparison", "version": 1,
        "old": {"file": "old.swot", "title": "2025"},
        "new": {"file": null, "title": "2026"},
        "factors": [
            {"type": "strength", "name": "S1", "change": "changed", "mark": [2, 3]},
            {"type": "weakness", "name": "W1", "change": "changed", "comment": true},
            {"type": "opportunity", "name": "Market", "change": "added"},
            {"type": "opportunity", "name": "O2", "change": "removed"}
        ],
        "conclusions": [
            {"name": "New", "change": "added"},
            {"name": "Keep", "change": "removed"},
            {"name": "Grow", "change": "changed", "weight": [12, 18],
             "couplings": {"added": [["S2", "O1"]], "removed": [["S1", "O1"]]},
             "comment": true}
        ]
    })";
    EXPECT_EQ(QJsonDocument::fromJson(ComparisonJson(SampleComparison())),
              QJsonDocument::fromJson(expected))
        << ComparisonJson(SampleComparison()).toStdString();

    const QJsonDocument same =
        QJsonDocument::fromJson(ComparisonJson(CompareProjects(*MixedProject(), *MixedProject())));
    EXPECT_EQ(same["factors"].toArray().size(), 0);
    EXPECT_EQ(same["conclusions"].toArray().size(), 0);
    EXPECT_TRUE(same["old"]["file"].isNull());
}

// The document lists, in the text report's styles: both versions, the
// factors by type, the conclusions, then the quadrant weights side by side.
TEST(ComparisonReport, DocumentShowsTheSectionsInTheTextReportStyles) {
    pugi::xml_document document = LoadReportTemplate("writer/contentwriter.xml");
    BuildComparisonDocument(document, SampleComparison());
    const QStringList expected{
        "h1 Comparison of two versions",
        "|  | Title | File",
        "| Older version | 2025 | old.swot",
        "| Newer version | 2026 | (no file)",
        "h2 Factors",
        "h3 Assets",
        "| Factor | Change | Importance | Comment",
        "| S1 | Changed | Medium importance → High importance | ",
        "h3 Our weaknesses",
        "| Factor | Change | Importance | Comment",
        "| W1 | Changed | High importance | Changed",
        "h3 External Opportunities",
        "| Factor | Change | Importance | Comment",
        "| Market | Added | Medium importance | ",
        "| O2 | Removed | Medium importance | ",
        "h2 Synthesis of conclusions",
        "| Conclusion | Change | Weight | Couplings gained | Couplings lost | Comment",
        "| New | Added | 0 |  |  | ",
        "| Keep | Removed | 0 |  |  | ",
        "| Grow | Changed | 12 → 18 | S2 / O1 | S1 / O1 | Changed",
        "h2 Weights of the strategy quadrants",
        "| Strategy | Older version | Newer version",
        "| Pieces of luck | 12 | 18",
        "| Challenges | 0 | 0",
        "| Conflicts | 0 | 0",
        "| Dangers | 0 | 0",
    };
    EXPECT_EQ(DocumentLines(document).join('\n').toStdString(), expected.join('\n').toStdString());

    const pugi::xml_node root = document.document_element();
    EXPECT_STREQ(root.select_node("//text:index-title-template").node().child_value(), "Contents");
    // Header cells are bold; every cell has the report's bordered cell style,
    // and every column a width, the table's summing to the report's width.
    EXPECT_STREQ(root.select_node("//table:table-header-rows//text:span")
                     .node()
                     .attribute("text:style-name")
                     .value(),
                 "Tbold");
    for (const pugi::xpath_node cell : root.select_nodes("//table:table-cell"))
        EXPECT_STREQ(cell.node().attribute("table:style-name").value(), "Cell1");
    double width = 0;
    for (const pugi::xpath_node column :
         root.select_nodes("//table:table[@table:name='Comparison3']/table:table-column")) {
        const std::string style = column.node().attribute("table:style-name").value();
        const pugi::xml_node properties =
            root.select_node(
                    ("//style:style[@style:name='" + style + "']/style:properties").c_str())
                .node();
        width += QString::fromUtf8(properties.attribute("style:column-width").value())
                     .chopped(2)
                     .toDouble();
    }
    EXPECT_NEAR(width, 17.0, 0.01);
}

TEST(ComparisonReport, DocumentSaysWhenAPartHasNoDifference) {
    pugi::xml_document document = LoadReportTemplate("writer/contentwriter.xml");
    BuildComparisonDocument(document, CompareProjects(*MixedProject(), *MixedProject()));
    const QStringList lines = DocumentLines(document);
    const QStringList parts = lines.mid(lines.indexOf("h2 Factors"), 4);
    EXPECT_EQ(parts, (QStringList{"h2 Factors", "No difference.", "h2 Synthesis of conclusions",
                                  "No difference."}));
}

// A page of its own: its language, its styles inside, names escaped, lines
// of a cell kept apart.
TEST(ComparisonReport, HtmlIsAStandalonePage) {
    auto older =
        MakeProject({{"R&D <core>", stStrength, 2}, {"Market", stOpportunity, 2}}, {{"Grow", {}}});
    auto newer = MakeProject(
        {{"R&D <core>", stStrength, 2}, {"Market", stOpportunity, 2}, {"Web", stOpportunity, 2}},
        {{"Grow", {{0, 1}, {0, 2}}}});
    const QString page = QString::fromUtf8(ComparisonHtml(CompareProjects(*older, *newer)));
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>\n<html lang=\"en\">"));
    EXPECT_TRUE(page.contains("<style>"));
    EXPECT_FALSE(page.contains("<link")) << "nothing outside the page";
    EXPECT_TRUE(
        page.contains("<td>R&amp;D &lt;core&gt; / Market<br>R&amp;D &lt;core&gt; / Web</td>"))
        << page.toStdString();
    EXPECT_TRUE(page.contains("<h2>Weights of the strategy quadrants</h2>"));
}

// The extension chooses the format; another one is refused before anything
// is written.
TEST(ComparisonReport, WriteChoosesTheFormatByExtension) {
    const QTemporaryDir folder;
    const TComparison comparison = SampleComparison();
    WriteComparison(comparison, MEROVAN_RESOURCES_DIR, folder.filePath("c.JSON"));
    WriteComparison(comparison, MEROVAN_RESOURCES_DIR, folder.filePath("c.html"));
    QFile json(folder.filePath("c.JSON"));
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    EXPECT_EQ(json.readAll(), ComparisonJson(comparison));
    QFile html(folder.filePath("c.html"));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    EXPECT_EQ(html.readAll(), ComparisonHtml(comparison));

    try {
        WriteComparison(comparison, MEROVAN_RESOURCES_DIR, folder.filePath("c.txt"));
        ADD_FAILURE() << "a .txt comparison was written";
    } catch (const EStorageError& error) {
        EXPECT_EQ(error.Message(), "The format of the comparison follows the extension of its "
                                   "file: json, html, odt, docx, pdf.");
    }
    EXPECT_FALSE(QFile::exists(folder.filePath("c.txt")));
}
