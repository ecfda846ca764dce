#include "reports/UntComparisonReport.h"

#include "model/UntStrings.h"
#include "reports/UntOOExport.h"
#include "reports/UntReportExport.h"
#include "reports/UntReportXml.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntJson.h"
#include "storage/UntUtils.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <numeric>

namespace {

QString Arrow(const QString& before, const QString& after) {
    return before + QStringLiteral(" → ") + after;
}

int ChangeId(TDifference change) {
    switch (change) {
    case TDifference::Added:
        return StrAdded;
    case TDifference::Removed:
        return StrRemoved;
    default:
        return StrChanged;
    }
}

// The words of a mark in the newer version's headings; a mark outside the
// scale has none.
QString MarkText(const TLabels& headings, std::int32_t mark) {
    return mark >= mkLow && mark <= mkHigh ? headings.Value(MarkHeading(mark))
                                           : QString::number(mark);
}

QString FactorImportance(const TLabels& headings, const TFactorDifference& factor) {
    if (factor.MarkChanged())
        return Arrow(MarkText(headings, *factor.OldMark), MarkText(headings, *factor.NewMark));
    return MarkText(headings, factor.NewMark ? *factor.NewMark : *factor.OldMark);
}

QString GuidelineWeight(const TGuidelineDifference& guideline) {
    if (guideline.WeightChanged())
        return Arrow(QString::number(*guideline.OldWeight), QString::number(*guideline.NewWeight));
    return QString::number(guideline.NewWeight ? *guideline.NewWeight : *guideline.OldWeight);
}

QString CouplingLines(const std::vector<TNamedCoupling>& couplings) {
    QStringList lines;
    for (const TNamedCoupling& coupling : couplings)
        lines << coupling.Internal + QStringLiteral(" / ") + coupling.External;
    return lines.join(QLatin1Char('\n'));
}

QString FileText(const TComparedVersion& version) {
    return version.File ? *version.File : LoadStr(StrNoFile);
}

const char* ChangeWord(TDifference change) {
    switch (change) {
    case TDifference::Added:
        return "added";
    case TDifference::Removed:
        return "removed";
    default:
        return "changed";
    }
}

QJsonObject VersionJson(const TComparedVersion& version) {
    return {{QStringLiteral("file"), version.File ? QJsonValue(*version.File) : QJsonValue()},
            {QStringLiteral("title"), version.Title}};
}

QJsonArray CouplingsJson(const std::vector<TNamedCoupling>& couplings) {
    QJsonArray list;
    for (const TNamedCoupling& coupling : couplings)
        list.append(QJsonArray{coupling.Internal, coupling.External});
    return list;
}

// The page's language: the interface's.
QString PageLanguage() {
    return QLocale().language() == QLocale::French ? QStringLiteral("fr") : QStringLiteral("en");
}

QString HtmlLines(const QString& cell) {
    return cell.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>"));
}

// Widths of the document's tables: the text report's tables are 17 cm wide.
constexpr double TableWidthCm = 16.999;

} // namespace

std::vector<TComparisonSection> ComparisonSections(const TComparison& comparison) {
    const TLabels& headings = comparison.Headings;
    std::vector<TComparisonSection> sections;
    sections.push_back(
        {1,
         LoadStr(StrComparisonTitle),
         {QString(), LoadStr(StrComparedTitle), LoadStr(StrComparedFile)},
         {3, 6, 8},
         {{{LoadStr(StrOlderVersion), comparison.Old.Title, FileText(comparison.Old)}, {}, {}},
          {{LoadStr(StrNewerVersion), comparison.New.Title, FileText(comparison.New)}, {}, {}}},
         {}});

    sections.push_back({2, LoadStr(StrComparedFactors), {}, {}, {}, {}});
    if (comparison.Factors.empty())
        sections.back().Note = LoadStr(StrNoDifference);
    for (const std::int32_t type : {stStrength, stWeakness, stOpportunity, stThreat}) {
        TComparisonSection section{3,
                                   headings.Value(TypeHeading(type)),
                                   {LoadStr(StrComparedFactor), LoadStr(StrComparedChange),
                                    LoadStr(StrComparedImportance), LoadStr(StrComparedComment)},
                                   {6, 3, 5, 3},
                                   {},
                                   {}};
        for (const TFactorDifference& factor : comparison.Factors)
            if (factor.SwotType == type)
                section.Rows.push_back({{factor.Name, LoadStr(ChangeId(factor.Change)),
                                         FactorImportance(headings, factor),
                                         factor.CommentChanged ? LoadStr(StrChanged) : QString()},
                                        factor.NewPosition,
                                        {}});
        if (!section.Rows.empty())
            sections.push_back(std::move(section));
    }

    TComparisonSection conclusions{2,
                                   headings.Value(hdConclusions),
                                   {LoadStr(StrComparedConclusion), LoadStr(StrComparedChange),
                                    LoadStr(StrComparedWeight), LoadStr(StrCouplingsGained),
                                    LoadStr(StrCouplingsLost), LoadStr(StrComparedComment)},
                                   {6, 7, 4, 7, 7, 7},
                                   {},
                                   {}};
    for (const TGuidelineDifference& guideline : comparison.Guidelines)
        conclusions.Rows.push_back(
            {{guideline.Name, LoadStr(ChangeId(guideline.Change)), GuidelineWeight(guideline),
              CouplingLines(guideline.CouplingsGained), CouplingLines(guideline.CouplingsLost),
              guideline.CommentChanged ? LoadStr(StrChanged) : QString()},
             {},
             guideline.NewPosition});
    if (conclusions.Rows.empty()) {
        conclusions.Columns.clear();
        conclusions.Widths.clear();
        conclusions.Note = LoadStr(StrNoDifference);
    }
    sections.push_back(std::move(conclusions));

    TComparisonSection quadrants{
        2,
        LoadStr(StrQuadrantWeights),
        {LoadStr(StrComparedStrategy), LoadStr(StrOlderVersion), LoadStr(StrNewerVersion)},
        {7, 5, 5},
        {},
        {}};
    for (std::size_t k = 0; k < std::size(AllCouplingKinds); ++k)
        quadrants.Rows.push_back({{headings.Value(KindHeading(AllCouplingKinds[k])),
                                   QString::number(comparison.Old.QuadrantWeights[k]),
                                   QString::number(comparison.New.QuadrantWeights[k])},
                                  {},
                                  {}});
    sections.push_back(std::move(quadrants));
    return sections;
}

QByteArray ComparisonJson(const TComparison& comparison) {
    QJsonArray factors;
    for (const TFactorDifference& factor : comparison.Factors) {
        QJsonObject entry{{QStringLiteral("type"), QLatin1String(TypeWord(factor.SwotType))},
                          {QStringLiteral("name"), factor.Name},
                          {QStringLiteral("change"), QLatin1String(ChangeWord(factor.Change))}};
        if (factor.MarkChanged())
            entry.insert(QStringLiteral("mark"), QJsonArray{*factor.OldMark, *factor.NewMark});
        if (factor.CommentChanged)
            entry.insert(QStringLiteral("comment"), true);
        factors.append(entry);
    }
    QJsonArray conclusions;
    for (const TGuidelineDifference& guideline : comparison.Guidelines) {
        QJsonObject entry{{QStringLiteral("name"), guideline.Name},
                          {QStringLiteral("change"), QLatin1String(ChangeWord(guideline.Change))}};
        if (guideline.WeightChanged())
            entry.insert(QStringLiteral("weight"),
                         QJsonArray{static_cast<qint64>(*guideline.OldWeight),
                                    static_cast<qint64>(*guideline.NewWeight)});
        if (!guideline.CouplingsGained.empty() || !guideline.CouplingsLost.empty())
            entry.insert(
                QStringLiteral("couplings"),
                QJsonObject{{QStringLiteral("added"), CouplingsJson(guideline.CouplingsGained)},
                            {QStringLiteral("removed"), CouplingsJson(guideline.CouplingsLost)}});
        if (guideline.CommentChanged)
            entry.insert(QStringLiteral("comment"), true);
        conclusions.append(entry);
    }
    const QJsonObject root{{QStringLiteral("format"), QStringLiteral("merovan-comparison")},
                           {QStringLiteral("version"), 1},
                           {QStringLiteral("old"), VersionJson(comparison.Old)},
                           {QStringLiteral("new"), VersionJson(comparison.New)},
                           {QStringLiteral("factors"), factors},
                           {QStringLiteral("conclusions"), conclusions}};
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QByteArray ComparisonHtml(const TComparison& comparison) {
    const std::vector<TComparisonSection> sections = ComparisonSections(comparison);
    QString page =
        QStringLiteral("<!DOCTYPE html>\n<html lang=\"%1\">\n<head>\n<meta charset=\"utf-8\">\n"
                       "<title>%2</title>\n<style>\n"
                       "body { font-family: 'DejaVu Sans', sans-serif; margin: 2em auto;"
                       " max-width: 60em; padding: 0 1em; color: #000; }\n"
                       "h1 { font-size: 1.6em; } h2 { font-size: 1.3em; margin-top: 1.6em; }\n"
                       "h3 { font-size: 1.1em; }\n"
                       "table { border-collapse: collapse; width: 100%; margin: 0.5em 0; }\n"
                       "th, td { border: 1px solid #000; padding: 0.3em 0.5em; text-align: left;"
                       " vertical-align: top; }\n"
                       "th { background: #e6e6e6; }\n"
                       "td.number { text-align: right; }\n"
                       "</style>\n</head>\n<body>\n")
            .arg(PageLanguage(), sections.front().Heading.toHtmlEscaped());
    for (const TComparisonSection& section : sections) {
        page += QStringLiteral("<h%1>%2</h%1>\n")
                    .arg(section.Level)
                    .arg(section.Heading.toHtmlEscaped());
        if (!section.Note.isEmpty())
            page += QStringLiteral("<p>%1</p>\n").arg(section.Note.toHtmlEscaped());
        if (section.Columns.isEmpty())
            continue;
        const int total = std::accumulate(section.Widths.begin(), section.Widths.end(), 0);
        page += QStringLiteral("<table>\n<colgroup>");
        for (const int width : section.Widths)
            page += QStringLiteral("<col style=\"width: %1%\">").arg(100 * width / total);
        page += QStringLiteral("</colgroup>\n<tr>");
        for (const QString& column : section.Columns)
            page += QStringLiteral("<th>%1</th>").arg(column.toHtmlEscaped());
        page += QStringLiteral("</tr>\n");
        for (const TComparisonRow& row : section.Rows) {
            page += QStringLiteral("<tr>");
            for (const QString& cell : row.Cells)
                page += QStringLiteral("<td>%1</td>").arg(HtmlLines(cell));
            page += QStringLiteral("</tr>\n");
        }
        page += QStringLiteral("</table>\n");
    }
    page += QStringLiteral("</body>\n</html>\n");
    return page.toUtf8();
}

void BuildComparisonDocument(pugi::xml_document& document, const TComparison& comparison) {
    const pugi::xml_node root = document.document_element();
    const TXmlNames names(root);
    pugi::xml_node styles = RequiredChild(root, names(OfficeNamespace, "automatic-styles"));
    pugi::xml_node body = RequiredChild(root, names(OfficeNamespace, "body"));
    AddTextStyles(document);

    // The table of contents is titled in the interface's language.
    const QByteArray contents = XmlUtf8(LoadStr(StrComparisonContents));
    for (const pugi::xpath_node title :
         body.select_nodes("//*[local-name()='index-title-template' or "
                           "(local-name()='p' and ancestor::*[local-name()='index-title'])]"))
        title.node().text().set(contents.constData());

    const std::string table = names(TableNamespace, "table");
    const std::string tableName = names(TableNamespace, "name");
    const std::string tableStyle = names(TableNamespace, "style-name");
    const std::string column = names(TableNamespace, "table-column");
    const std::string headerRows = names(TableNamespace, "table-header-rows");
    const std::string row = names(TableNamespace, "table-row");
    const std::string cell = names(TableNamespace, "table-cell");
    const std::string paragraph = names(TextNamespace, "p");
    const std::string span = names(TextNamespace, "span");
    const std::string textStyle = names(TextNamespace, "style-name");
    const auto addCell = [&](pugi::xml_node tableRow, const QString& text, bool heading) {
        pugi::xml_node tableCell = tableRow.append_child(cell.c_str());
        tableCell.append_attribute(tableStyle.c_str()).set_value("Cell1");
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            pugi::xml_node p = tableCell.append_child(paragraph.c_str());
            p.append_attribute(textStyle.c_str()).set_value("Text body");
            if (heading) {
                pugi::xml_node bold = p.append_child(span.c_str());
                bold.append_attribute(textStyle.c_str()).set_value("Tbold");
                bold.text().set(XmlUtf8(line).constData());
            } else {
                p.text().set(XmlUtf8(line).constData());
            }
        }
    };

    int tables = 0;
    for (const TComparisonSection& section : ComparisonSections(comparison)) {
        AddHeading(body, section.Heading, section.Level);
        if (!section.Note.isEmpty())
            AddPlainParagraphs(body, {section.Note});
        if (section.Columns.isEmpty())
            continue;
        const std::string name = "Comparison" + std::to_string(++tables);
        pugi::xml_node tableNode = body.append_child(table.c_str());
        tableNode.append_attribute(tableName.c_str()).set_value(name.c_str());
        tableNode.append_attribute(tableStyle.c_str()).set_value("Table1");
        const int total = std::accumulate(section.Widths.begin(), section.Widths.end(), 0);
        for (std::size_t c = 0; c < section.Widths.size(); ++c) {
            const std::string columnStyle = name + '.' + std::to_string(c + 1);
            pugi::xml_node style = styles.append_child(names(StyleNamespace, "style").c_str());
            style.append_attribute(names(StyleNamespace, "name").c_str())
                .set_value(columnStyle.c_str());
            style.append_attribute(names(StyleNamespace, "family").c_str())
                .set_value("table-column");
            style.append_child(names(StyleNamespace, "properties").c_str())
                .append_attribute(names(StyleNamespace, "column-width").c_str())
                .set_value(QStringLiteral("%1cm")
                               .arg(TableWidthCm * section.Widths[c] / total, 0, 'f', 3)
                               .toLatin1()
                               .constData());
            tableNode.append_child(column.c_str())
                .append_attribute(tableStyle.c_str())
                .set_value(columnStyle.c_str());
        }
        pugi::xml_node header =
            tableNode.append_child(headerRows.c_str()).append_child(row.c_str());
        for (const QString& heading : section.Columns)
            addCell(header, heading, true);
        for (const TComparisonRow& line : section.Rows) {
            pugi::xml_node tableRow = tableNode.append_child(row.c_str());
            for (const QString& text : line.Cells)
                addCell(tableRow, text, false);
        }
    }
}

const QStringList& ComparisonExtensions() {
    static const QStringList extensions{"json", "html", "odt", "docx", "pdf"};
    return extensions;
}

void WriteComparison(const TComparison& comparison, const QString& templateFolder,
                     const QString& target, const std::function<void()>& whileWaiting,
                     const std::function<void()>& conversionBegun) {
    const QString extension = QFileInfo(target).suffix().toLower();
    if (extension == QLatin1String("json")) {
        WriteFileAtomically(target, ComparisonJson(comparison));
        return;
    }
    if (extension == QLatin1String("html")) {
        WriteFileAtomically(target, ComparisonHtml(comparison));
        return;
    }
    static const QStringList filters{"writer8", "MS Word 2007 XML", "writer_pdf_Export"};
    const qsizetype office = ComparisonExtensions().indexOf(extension) - 2;
    if (office < 0)
        throw EStorageError(FillTemplate(LoadStr(StrComparisonExtension),
                                         ComparisonExtensions().join(QStringLiteral(", "))));
    pugi::xml_document content = TextContentTemplate(templateFolder);
    BuildComparisonDocument(content, comparison);
    ConvertPackage(TextPackage(content, templateFolder, comparison.New.Title),
                   QStringLiteral("comparison-XXXXXX.sxw"), target, filters[office], {},
                   whileWaiting, conversionBegun);
}
