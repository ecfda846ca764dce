#include "UntCalcExport.h"

#include "UntIO.h"
#include "UntReportXml.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QStringList>
#include <algorithm>
#include <array>

namespace {

// The building blocks of a sheet, in the template's prefixes.
class TSheetWriter {
public:
    explicit TSheetWriter(pugi::xml_node root) : FNames(root) {}

    pugi::xml_node Table(pugi::xml_node parent, const QString& name) const {
        pugi::xml_node table = parent.append_child(Table("table").c_str());
        Set(table, "name", XmlUtf8(name).toStdString());
        Set(table, "style-name", "ta1");
        return table;
    }

    void Column(pugi::xml_node parent, const char* style, int repeat = 1) const {
        pugi::xml_node column = parent.append_child(Table("table-column").c_str());
        Set(column, "style-name", style);
        if (repeat > 1)
            Set(column, "number-columns-repeated", std::to_string(repeat));
        Set(column, "default-cell-style-name", "Default");
    }

    pugi::xml_node ColumnGroup(pugi::xml_node parent) const {
        return parent.append_child(Table("table-column-group").c_str());
    }

    pugi::xml_node Row(pugi::xml_node parent) const {
        pugi::xml_node row = parent.append_child(Table("table-row").c_str());
        Set(row, "style-name", "ro1");
        return row;
    }

    pugi::xml_node RowGroup(pugi::xml_node parent) const {
        return parent.append_child(Table("table-row-group").c_str());
    }

    // A cell with its text, and a note when one is given.
    void Cell(pugi::xml_node row, const std::string& style, const QString& text, int repeat = 1,
              const QStringList* note = nullptr) const {
        pugi::xml_node cell = row.append_child(Table("table-cell").c_str());
        Set(cell, "style-name", style);
        if (repeat > 1)
            Set(cell, "number-columns-repeated", std::to_string(repeat));
        Paragraph(cell, text);
        if (note) {
            pugi::xml_node annotation =
                cell.append_child(FNames(OfficeNamespace, "annotation").c_str());
            for (const QString& line : *note)
                Paragraph(annotation, line);
        }
    }

    void SpannedCell(pugi::xml_node row, const std::string& style, const QString& text, int columns,
                     int rows) const {
        pugi::xml_node cell = row.append_child(Table("table-cell").c_str());
        Set(cell, "style-name", style);
        Set(cell, "number-columns-spanned", std::to_string(columns));
        Set(cell, "number-rows-spanned", std::to_string(rows));
        Paragraph(cell, text);
    }

    void CoveredCell(pugi::xml_node row, int repeat = 1) const {
        pugi::xml_node cell = row.append_child(Table("covered-table-cell").c_str());
        if (repeat > 1)
            Set(cell, "number-columns-repeated", std::to_string(repeat));
    }

private:
    std::string Table(const char* local) const { return FNames(TableNamespace, local); }

    void Set(pugi::xml_node node, const char* local, const std::string& value) const {
        node.append_attribute(Table(local).c_str()).set_value(value.c_str());
    }

    void Paragraph(pugi::xml_node parent, const QString& text) const {
        pugi::xml_node paragraph = parent.append_child(FNames(TextNamespace, "p").c_str());
        if (!text.isEmpty())
            paragraph.text().set(XmlUtf8(text).constData());
    }

    TXmlNames FNames;
};

// The number of factors of each type, by type code.
using TTypeCounts = std::array<qint64, stThreat + 1>;

TTypeCounts CountTypes(const TProject& project) {
    TTypeCounts counts{};
    for (const auto& item : project.Items)
        if (item->SwotType >= stStrength && item->SwotType <= stThreat)
            ++counts[static_cast<std::size_t>(item->SwotType)];
    return counts;
}

// The note of a factor or a conclusion, or of a list of plain lines.
QStringList Note(const QStringList& comments) {
    return SplitAtReturns(RtfToPlainText(comments));
}

std::string KindStyle(char prefix, TCouplingKind kind) {
    return std::string(1, prefix) + std::to_string(static_cast<int>(kind) + 2);
}

void MatrixSheet(const TSheetWriter& sheet, pugi::xml_node body, const TProject& project,
                 const TCoupleIndex& holders) {
    const TLabels& labels = project.Labels;
    const std::array<std::vector<std::int32_t>, 2> externals = {
        FactorsByImportance(project, stOpportunity), FactorsByImportance(project, stThreat)};
    pugi::xml_node table = sheet.Table(body, LoadStr(StrSwotMatrix));
    sheet.Column(table, "co2");
    for (const auto& factors : externals)
        if (!factors.empty()) {
            sheet.Column(table, "co4");
            sheet.Column(sheet.ColumnGroup(table), "co4", static_cast<int>(factors.size()));
        }

    pugi::xml_node first = sheet.Row(table);
    sheet.Cell(first, "Titre", project.Title);
    for (std::size_t side = 0; side < 2; ++side)
        if (!externals[side].empty()) {
            sheet.Cell(first, "V1",
                       labels.Value(TypeHeading(static_cast<std::int32_t>(stOpportunity + side))));
            for (const std::int32_t position : externals[side]) {
                const TTOWSItem& factor = *project.Items[position];
                const QStringList note = Note(factor.Comments);
                sheet.Cell(first, "V2", factor.Name, 1, &note);
            }
        }

    const QString resulting = labels.Value(hdResultingConclusions) + QStringLiteral(" :");
    for (const std::int32_t type : {stStrength, stWeakness}) {
        const std::vector<std::int32_t> internals = FactorsByImportance(project, type);
        if (internals.empty())
            continue;
        pugi::xml_node heading = sheet.Row(table);
        sheet.Cell(heading, "H1", labels.Value(TypeHeading(type)));
        for (std::size_t side = 0; side < 2; ++side) {
            const int count = static_cast<int>(externals[side].size());
            if (count == 0)
                continue;
            const TCouplingKind kind =
                *GetCouplingKind(type, static_cast<std::int32_t>(stOpportunity + side));
            sheet.Cell(heading, KindStyle('H', kind), QString());
            sheet.SpannedCell(heading, KindStyle('H', kind), labels.Value(KindHeading(kind)), count,
                              1);
            if (count > 1)
                sheet.CoveredCell(heading, count - 1);
        }
        pugi::xml_node group = sheet.RowGroup(table);
        for (std::size_t r = 0; r < internals.size(); ++r) {
            const std::int32_t index1 = internals[r];
            const TTOWSItem* internal = project.Items[index1].get();
            pugi::xml_node row = sheet.Row(group);
            const QStringList note = Note(internal->Comments);
            sheet.Cell(row, "H2", internal->Name, 1, &note);
            for (std::size_t side = 0; side < 2; ++side) {
                if (externals[side].empty())
                    continue;
                const TCouplingKind kind =
                    *GetCouplingKind(type, static_cast<std::int32_t>(stOpportunity + side));
                if (r == 0)
                    sheet.SpannedCell(row, KindStyle('V', kind), labels.Value(KindHeading(kind)), 1,
                                      static_cast<int>(internals.size()));
                else
                    sheet.CoveredCell(row);
                const std::string style = "Contenu" + std::to_string(static_cast<int>(kind));
                for (const std::int32_t index2 : externals[side]) {
                    const std::vector<int>& held = holders.Holders(index1, index2);
                    if (held.empty()) {
                        sheet.Cell(row, style, QString());
                        continue;
                    }
                    QStringList lines = {resulting};
                    int previous = -1;
                    for (const int g : held)
                        if (g != std::exchange(previous, g))
                            lines << QStringLiteral(" - ") +
                                         project.Guidelines[static_cast<std::size_t>(g)]->Name;
                    const QStringList note = Note(lines);
                    sheet.Cell(row, style, QStringLiteral("X"), 1, &note);
                }
            }
        }
    }
}

void SynthesisSheet(const TSheetWriter& sheet, pugi::xml_node body, const TProject& project,
                    const TCoupleIndex& holders) {
    const int count = static_cast<int>(project.Guidelines.size());
    pugi::xml_node table = sheet.Table(body, TLabels::DefaultValue(hdConclusions));
    sheet.Column(table, "co2");
    sheet.Column(table, "co4", count);

    pugi::xml_node first = sheet.Row(table);
    sheet.Cell(first, "Standard", QString());
    sheet.SpannedCell(first, "H1", project.Labels.Value(hdConclusions), count, 1);
    if (count > 1)
        sheet.CoveredCell(first, count - 1);
    pugi::xml_node second = sheet.Row(table);
    sheet.Cell(second, "Titre", project.Title);
    for (const auto& guideline : project.Guidelines) {
        const QStringList note = Note(guideline->Comments);
        sheet.Cell(second, "V2", guideline->Name, 1, &note);
    }

    const TTypeCounts types = CountTypes(project);
    const std::vector<TCoupling> held = holders.HeldInReportOrder(project);
    auto next = held.begin();
    for (const TCouplingKind kind : AllCouplingKinds) {
        // A kind with couplings shows its heading, linked or not.
        if (types[static_cast<std::size_t>(InternalTypeOf(kind))] == 0 ||
            types[static_cast<std::size_t>(ExternalTypeOf(kind))] == 0)
            continue;
        pugi::xml_node heading = sheet.Row(table);
        sheet.Cell(heading, KindStyle('H', kind), project.Labels.Value(KindHeading(kind)));
        sheet.Cell(heading, KindStyle('H', kind), QString(), count);
        pugi::xml_node group = sheet.RowGroup(table);
        for (; next != held.end() && next->Kind == kind; ++next) {
            pugi::xml_node row = sheet.Row(group);
            sheet.Cell(row, "H2", GetCouplingCaption(project, next->Index1, next->Index2));
            const std::vector<int>& which = holders.Holders(next->Index1, next->Index2);
            for (int g = 0; g < count; ++g)
                sheet.Cell(row, "Contenu",
                           std::ranges::binary_search(which, g) ? QStringLiteral("X") : QString());
        }
    }
}

} // namespace

void BuildTableReport(pugi::xml_document& document, const TProject& project) {
    const pugi::xml_node root = document.document_element();
    const TSheetWriter sheet(root);
    pugi::xml_node body = RequiredChild(root, TXmlNames(root)(OfficeNamespace, "body"));
    const TCoupleIndex holders(project);
    MatrixSheet(sheet, body, project, holders);
    if (!project.Guidelines.empty())
        SynthesisSheet(sheet, body, project, holders);
}

TSheetSize TableReportSize(const TProject& project) {
    const TTypeCounts types = CountTypes(project);
    // A type's block: its heading or kind column, then its factors; none when empty.
    const auto block = [&types](std::int32_t type) {
        const qint64 count = types[static_cast<std::size_t>(type)];
        return count ? 1 + count : 0;
    };
    // The matrix: a column of names, then the external types; a title row,
    // then the internal types.
    TSheetSize size{1 + block(stOpportunity) + block(stThreat),
                    1 + block(stStrength) + block(stWeakness)};
    if (project.Guidelines.empty())
        return size;
    // The synthesis: names, then a column per conclusion; two rows, then per
    // kind its heading and its held couplings.
    const TCoupleIndex holders(project);
    size.Columns =
        std::max<qint64>(size.Columns, 1 + static_cast<qint64>(project.Guidelines.size()));
    size.Rows = std::max<qint64>(
        size.Rows, 2 + 4 + static_cast<qint64>(holders.HeldInReportOrder(project).size()));
    return size;
}
