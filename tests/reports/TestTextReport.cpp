#include "ProjectBuilder.h"
#include "ReportTemplate.h"
#include "reports/UntOOExport.h"
#include "storage/UntRtf.h"

#include <QLocale>
#include <QStringList>
#include <ranges>

namespace {

// The body the report appended: "h3 text" for headings, "p text" for plain
// paragraphs, "p [style:text][style:text]" for comment paragraphs.
QStringList Body(const TProject& project) {
    pugi::xml_document document = LoadReportTemplate("writer/contentwriter.xml");
    pugi::xml_node body = document.document_element().child("office:body");
    const auto before = std::distance(body.children().begin(), body.children().end());
    BuildTextReport(document, project);
    QStringList lines;
    auto child = body.children().begin();
    std::advance(child, before);
    for (; child != body.children().end(); ++child) {
        const QString name = QString::fromUtf8(child->name());
        if (name == "text:h") {
            EXPECT_EQ(QString(child->attribute("text:style-name").value()),
                      QString("Heading ") + child->attribute("text:level").value());
            lines << QString("h%1 %2").arg(child->attribute("text:level").value(),
                                           QString::fromUtf8(child->text().get()));
        } else if (child->first_child().type() == pugi::node_element) {
            QString spans;
            for (const pugi::xml_node span : child->children())
                spans += QString("[%1:%2]").arg(span.attribute("text:style-name").value(),
                                                QString::fromUtf8(span.text().get()));
            lines << "p " + spans;
        } else {
            EXPECT_EQ(QString(child->attribute("text:style-name").value()), "Text body indent");
            lines << "p " + QString::fromUtf8(child->text().get());
        }
    }
    return lines;
}

} // namespace

TEST(TextReport, EmptyProjectHasItsHeadingsOnly) {
    const TProject project;
    EXPECT_EQ(Body(project),
              (QStringList{"h1 Analyse Swot", "h2 Situation analysis",
                           "h3 Key factors linked to our position", "h4 Our strengths",
                           "h4 Our weaknesses", "h3 Key factors linked to our surroundings",
                           "h4 External Opportunities", "h4 External Threats"}));
}

TEST(TextReport, EverySpanStyleIsDeclaredWithItsFormat) {
    // One run of each format, its text naming the format: "b", "iu", "biu"...
    TRtfParagraph runs;
    for (int format = 0; format < 8; ++format) {
        const bool bold = format & 1, italic = format & 2, underline = format & 4;
        const QString name =
            QString(bold ? "b" : "") + (italic ? "i" : "") + (underline ? "u" : "");
        runs.push_back({"[" + name + "]", bold, italic, underline});
    }
    auto project = MakeProject({});
    project->Comments = WriteRtf({runs});
    pugi::xml_document document = LoadReportTemplate("writer/contentwriter.xml");
    BuildTextReport(document, *project);
    const pugi::xml_node root = document.document_element();
    const pugi::xml_node styles = root.child("office:automatic-styles");

    QStringList seen;
    for (const pugi::xml_node span : root.child("office:body").select_nodes("//text:span") |
                                         std::views::transform(&pugi::xpath_node::node)) {
        const QString text = QString::fromUtf8(span.text().get()).trimmed();
        if (!text.startsWith('[') || !text.endsWith(']'))
            continue;
        const QString style = span.attribute("text:style-name").value();
        QString format;
        if (style != "Standard") {
            const pugi::xml_node declared =
                styles.find_child_by_attribute("style:style", "style:name", qPrintable(style));
            ASSERT_TRUE(declared) << style.toStdString() << " is not declared";
            EXPECT_STREQ(declared.attribute("style:family").value(), "text");
            const pugi::xml_node properties = declared.child("style:properties");
            format +=
                properties.attribute("fo:font-weight").value() == std::string("bold") ? "b" : "";
            format +=
                properties.attribute("fo:font-style").value() == std::string("italic") ? "i" : "";
            format += properties.attribute("style:text-underline").value() == std::string("single")
                          ? "u"
                          : "";
        }
        EXPECT_EQ("[" + format + "]", text) << style.toStdString();
        seen << text;
    }
    EXPECT_EQ(seen.size(), 8) << seen.join(' ').toStdString();
}

TEST(TextReport, FactorsConclusionsAndCouplings) {
    // Positions: 0 S1 (2), 1 O1 (3), 2 S2 (3), 3 S3 (2), 4 T1 (1), 5 W1 (1).
    auto project = MakeProject(
        {{"S1", stStrength, 2},
         {"O1", stOpportunity, 3},
         {"S2", stStrength, 3},
         {"S3", stStrength, 2},
         {"T1", stThreat, 1},
         {"W1", stWeakness, 1}},
        {{"Grow", {{0, 1}, {2, 1}}}, {"Guard", {{0, 1}, {0, 4}, {0, 4}}}, {"Idle", {}}});
    project->Title = "Plan";
    // Two paragraphs, the second bold; the mark after it ends the comment.
    project->Items[2]->Comments = WriteRtf({{{"First"}}, {{"Second", true}}});
    // A comment read back from a file without any text in it.
    project->Items[0]->Comments = {"{\\rtf1\\ansi\r\\pard \r\\par }"};

    EXPECT_EQ(Body(*project), (QStringList{
                                  "h1 Plan",
                                  "h2 Situation analysis",
                                  "h3 Key factors linked to our position",
                                  "h4 Our strengths",
                                  "h6 S2 - High importance",
                                  "p [Standard:First\r\n]",
                                  "p [Tbold: Second\r\n]",
                                  "h6 S1 - Medium importance",
                                  "h6 S3 - Medium importance",
                                  "h4 Our weaknesses",
                                  "h6 W1 - Low importance",
                                  "h3 Key factors linked to our surroundings",
                                  "h4 External Opportunities",
                                  "h6 O1 - High importance",
                                  "h4 External Threats",
                                  "h6 T1 - Low importance",
                                  "h2 Synthesis of conclusions",
                                  "h6 Grow - Weight of associated couplings : 15",
                                  "h6 Guard - Weight of associated couplings : 10",
                                  "h6 Idle - Weight of associated couplings : 0",
                                  "h2 Strategic “SWOT” analysis – Conclusions by coupling",
                                  "h3 Pieces of luck",
                                  "h4 9 : S2 / O1",
                                  "h5 Resulting conclusions :",
                                  "p Grow",
                                  "h4 6 : S1 / O1",
                                  "h5 Resulting conclusions :",
                                  "p Grow ; Guard",
                                  "h3 Conflicts",
                                  "h4 2 : S1 / T1",
                                  "h5 Resulting conclusions :",
                                  "p Guard ; Guard",
                                  "h2 Strategic “SWOT” analysis – Couplings for each conclusion",
                                  "h3 Grow",
                                  "h4 Pieces of luck",
                                  "p 9 : S2 / O1",
                                  "p 6 : S1 / O1",
                                  "h3 Guard",
                                  "h4 Pieces of luck",
                                  "p 6 : S1 / O1",
                                  "h4 Conflicts",
                                  "p 2 : S1 / T1",
                                  "p 2 : S1 / T1",
                                  "h3 Idle",
                              }));
}

TEST(TextReport, ConclusionsWithoutLinksLeaveTheCouplingSectionsBare) {
    auto project = MakeProject({{"S", stStrength, 3}, {"O", stOpportunity, 3}}, {{"Alone", {}}});
    const QStringList body = Body(*project);
    const auto at = body.indexOf("h2 Strategic “SWOT” analysis – Conclusions by coupling");
    ASSERT_GE(at, 0);
    EXPECT_EQ(
        body.mid(at),
        (QStringList{"h2 Strategic “SWOT” analysis – Conclusions by coupling",
                     "h2 Strategic “SWOT” analysis – Couplings for each conclusion", "h3 Alone"}));
}

TEST(TextReport, CommentsKeepTheirStylesAcrossParagraphs) {
    auto project = MakeProject({});
    project->Comments =
        WriteRtf({{{"a "}, {"b", true, true}}, {}, {{"c", false, false, true}, {" d"}}});
    const QStringList body = Body(*project);
    // The switches' delimiter spaces stay in the text, as the tag markup keeps them.
    EXPECT_EQ(body.mid(1, 3).join(" | ").toStdString(),
              "p [Standard:a ][Tbold: ][Tboldital:b\r\n] | p [Tboldital:\r\n] | "
              "p [Tital: ][Standard: ][Tunderl: c][Standard:  d\r\n]");
}

TEST(TextReport, MarkupTokens) {
    const QString markup = "a<b><i><u><br>b</b>";
    qsizetype position = 0;
    QStringList tokens;
    while (position < markup.size()) {
        const TMarkupToken token = NextMarkupToken(markup, position);
        tokens << token.Text + token.Tags.join("");
    }
    EXPECT_EQ(tokens, (QStringList{"a", "<b><i><u>", "<br>", "b", "</b>"}));
}

// The table of contents is titled in the interface's language, in the report
// and in the title template from which the suite makes the title anew.
TEST(TextReport, ContentsAreTitledInTheInterfacesLanguage) {
    const struct {
        QLocale locale;
        const char* title;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "Contents"},
        {QLocale(QLocale::French, QLocale::France), "Table des matières"},
    };
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        pugi::xml_document document = LoadReportTemplate("writer/contentwriter.xml");
        BuildTextReport(document, TProject());
        const pugi::xml_node contents =
            document.document_element().child("office:body").child("text:table-of-content");
        EXPECT_STREQ(contents.child("text:table-of-content-source")
                         .child("text:index-title-template")
                         .text()
                         .get(),
                     c.title);
        EXPECT_STREQ(contents.child("text:index-body")
                         .child("text:index-title")
                         .child("text:p")
                         .text()
                         .get(),
                     c.title);
    }
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
}
