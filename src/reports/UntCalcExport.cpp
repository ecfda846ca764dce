#include "reports/UntCalcExport.h"

#include "model/UntStrings.h"
#include "reports/UntReportXml.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"

#include <QIODevice>
#include <QStringList>
#include <QXmlStreamWriter>
#include <algorithm>
#include <array>
#include <utility>

namespace {

// The building blocks of a sheet, in the template's prefixes, written as they
// come: elements started here are ended by End, innermost first.
class TSheetWriter {
public:
    TSheetWriter(QXmlStreamWriter& xml, const TXmlNames& names)
        : FXml(xml), FTable(Name(names, TableNamespace, "table")),
          FColumn(Name(names, TableNamespace, "table-column")),
          FColumnGroup(Name(names, TableNamespace, "table-column-group")),
          FRow(Name(names, TableNamespace, "table-row")),
          FRowGroup(Name(names, TableNamespace, "table-row-group")),
          FCell(Name(names, TableNamespace, "table-cell")),
          FCoveredCell(Name(names, TableNamespace, "covered-table-cell")),
          FName(Name(names, TableNamespace, "name")),
          FStyleName(Name(names, TableNamespace, "style-name")),
          FColumnsRepeated(Name(names, TableNamespace, "number-columns-repeated")),
          FDefaultCellStyle(Name(names, TableNamespace, "default-cell-style-name")),
          FColumnsSpanned(Name(names, TableNamespace, "number-columns-spanned")),
          FRowsSpanned(Name(names, TableNamespace, "number-rows-spanned")),
          FParagraph(Name(names, TextNamespace, "p")),
          FAnnotation(Name(names, OfficeNamespace, "annotation")) {}

    void StartTable(const QString& name) {
        FXml.writeStartElement(FTable);
        FXml.writeAttribute(FName, XmlText(name));
        FXml.writeAttribute(FStyleName, QStringLiteral("ta1"));
    }

    void Column(const QString& style, qint64 repeat = 1) {
        FXml.writeStartElement(FColumn);
        FXml.writeAttribute(FStyleName, style);
        Repeat(repeat);
        FXml.writeAttribute(FDefaultCellStyle, QStringLiteral("Default"));
        FXml.writeEndElement();
    }

    void StartColumnGroup() { FXml.writeStartElement(FColumnGroup); }

    void StartRow() {
        FXml.writeStartElement(FRow);
        FXml.writeAttribute(FStyleName, QStringLiteral("ro1"));
    }

    void StartRowGroup() { FXml.writeStartElement(FRowGroup); }

    void End() { FXml.writeEndElement(); }

    // A cell with its text, and a note when one is given.
    void Cell(const QString& style, const QString& text, qint64 repeat = 1,
              const QStringList* note = nullptr) {
        FXml.writeStartElement(FCell);
        FXml.writeAttribute(FStyleName, style);
        Repeat(repeat);
        Paragraph(text);
        if (note) {
            FXml.writeStartElement(FAnnotation);
            for (const QString& line : *note)
                Paragraph(line);
            FXml.writeEndElement();
        }
        FXml.writeEndElement();
    }

    void SpannedCell(const QString& style, const QString& text, qint64 columns, qint64 rows) {
        FXml.writeStartElement(FCell);
        FXml.writeAttribute(FStyleName, style);
        FXml.writeAttribute(FColumnsSpanned, QString::number(columns));
        FXml.writeAttribute(FRowsSpanned, QString::number(rows));
        Paragraph(text);
        FXml.writeEndElement();
    }

    void CoveredCell(qint64 repeat = 1) {
        FXml.writeStartElement(FCoveredCell);
        Repeat(repeat);
        FXml.writeEndElement();
    }

private:
    static QString Name(const TXmlNames& names, const char* uri, const char* local) {
        return QString::fromStdString(names(uri, local));
    }

    void Repeat(qint64 repeat) {
        if (repeat > 1)
            FXml.writeAttribute(FColumnsRepeated, QString::number(repeat));
    }

    void Paragraph(const QString& text) {
        if (text.isEmpty()) {
            FXml.writeEmptyElement(FParagraph);
            return;
        }
        FXml.writeTextElement(FParagraph, XmlText(text));
    }

    QXmlStreamWriter& FXml;
    const QString FTable, FColumn, FColumnGroup, FRow, FRowGroup, FCell, FCoveredCell;
    const QString FName, FStyleName, FColumnsRepeated, FDefaultCellStyle, FColumnsSpanned,
        FRowsSpanned;
    const QString FParagraph, FAnnotation;
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

QString KindStyle(char prefix, TCouplingKind kind) {
    return QLatin1Char(prefix) + QString::number(static_cast<int>(kind) + 2);
}

// The cells of one side of a matrix row: a cell marked "X" with its
// conclusions for each held coupling, and between them the empty cells as
// runs, so that the sheet grows with the rows and the held couplings, not
// with the cells.
void HeldCells(TSheetWriter& sheet, const TProject& project, const TCoupleIndex& holders,
               std::int32_t index1, const std::vector<std::int32_t>& externals,
               const std::vector<int>& heldColumns, const QString& style) {
    const QString resulting = project.Labels.Value(hdResultingConclusions) + QStringLiteral(" :");
    int next = 0;
    for (const int column : heldColumns) {
        if (column > next)
            sheet.Cell(style, QString(), column - next);
        QStringList lines = {resulting};
        int previous = -1;
        for (const int g : holders.Holders(index1, externals[static_cast<std::size_t>(column)]))
            if (g != std::exchange(previous, g))
                lines << QStringLiteral(" - ") +
                             project.Guidelines[static_cast<std::size_t>(g)]->Name;
        const QStringList note = Note(lines);
        sheet.Cell(style, QStringLiteral("X"), 1, &note);
        next = column + 1;
    }
    const auto count = static_cast<int>(externals.size());
    if (count > next)
        sheet.Cell(style, QString(), count - next);
}

void MatrixSheet(TSheetWriter& sheet, const TProject& project, const TCoupleIndex& holders) {
    const TLabels& labels = project.Labels;
    const std::array<std::vector<std::int32_t>, 2> externals = {
        FactorsByImportance(project, stOpportunity), FactorsByImportance(project, stThreat)};
    // The side and column of each external factor, by position.
    std::vector<std::pair<int, int>> placeOf(project.Items.size(), {-1, -1});
    for (std::size_t side = 0; side < 2; ++side)
        for (std::size_t column = 0; column < externals[side].size(); ++column)
            placeOf[static_cast<std::size_t>(externals[side][column])] = {static_cast<int>(side),
                                                                          static_cast<int>(column)};

    sheet.StartTable(LoadStr(StrSwotMatrix));
    sheet.Column(QStringLiteral("co2"));
    for (const auto& factors : externals)
        if (!factors.empty()) {
            sheet.Column(QStringLiteral("co4"));
            sheet.StartColumnGroup();
            sheet.Column(QStringLiteral("co4"), static_cast<qint64>(factors.size()));
            sheet.End();
        }

    sheet.StartRow();
    sheet.Cell(QStringLiteral("Titre"), project.Title);
    for (std::size_t side = 0; side < 2; ++side)
        if (!externals[side].empty()) {
            sheet.Cell(QStringLiteral("V1"),
                       labels.Value(TypeHeading(static_cast<std::int32_t>(stOpportunity + side))));
            for (const std::int32_t position : externals[side]) {
                const TTOWSItem& factor = *project.Items[static_cast<std::size_t>(position)];
                const QStringList note = Note(factor.Comments);
                sheet.Cell(QStringLiteral("V2"), factor.Name, 1, &note);
            }
        }
    sheet.End();

    for (const std::int32_t type : {stStrength, stWeakness}) {
        const std::vector<std::int32_t> internals = FactorsByImportance(project, type);
        if (internals.empty())
            continue;
        sheet.StartRow();
        sheet.Cell(QStringLiteral("H1"), labels.Value(TypeHeading(type)));
        for (std::size_t side = 0; side < 2; ++side) {
            const auto count = static_cast<qint64>(externals[side].size());
            if (count == 0)
                continue;
            const TCouplingKind kind =
                *GetCouplingKind(type, static_cast<std::int32_t>(stOpportunity + side));
            sheet.Cell(KindStyle('H', kind), QString());
            sheet.SpannedCell(KindStyle('H', kind), labels.Value(KindHeading(kind)), count, 1);
            if (count > 1)
                sheet.CoveredCell(count - 1);
        }
        sheet.End();
        sheet.StartRowGroup();
        std::array<std::vector<int>, 2> heldColumns;
        for (std::size_t r = 0; r < internals.size(); ++r) {
            const std::int32_t index1 = internals[r];
            for (auto& columns : heldColumns)
                columns.clear();
            for (const std::int32_t index2 : holders.Partners(index1))
                if (project.IsValidPosition(index2))
                    if (const auto [side, column] = placeOf[static_cast<std::size_t>(index2)];
                        side >= 0)
                        heldColumns[static_cast<std::size_t>(side)].push_back(column);
            sheet.StartRow();
            const QStringList note =
                Note(project.Items[static_cast<std::size_t>(index1)]->Comments);
            sheet.Cell(QStringLiteral("H2"), project.Items[static_cast<std::size_t>(index1)]->Name,
                       1, &note);
            for (std::size_t side = 0; side < 2; ++side) {
                if (externals[side].empty())
                    continue;
                const TCouplingKind kind =
                    *GetCouplingKind(type, static_cast<std::int32_t>(stOpportunity + side));
                if (r == 0)
                    sheet.SpannedCell(KindStyle('V', kind), labels.Value(KindHeading(kind)), 1,
                                      static_cast<qint64>(internals.size()));
                else
                    sheet.CoveredCell();
                std::ranges::sort(heldColumns[side]);
                HeldCells(sheet, project, holders, index1, externals[side], heldColumns[side],
                          QStringLiteral("Contenu") + QString::number(static_cast<int>(kind)));
            }
            sheet.End();
        }
        sheet.End();
    }
    sheet.End();
}

void SynthesisSheet(TSheetWriter& sheet, const TProject& project, const TCoupleIndex& holders) {
    const auto count = static_cast<qint64>(project.Guidelines.size());
    sheet.StartTable(TLabels::DefaultValue(hdConclusions));
    sheet.Column(QStringLiteral("co2"));
    sheet.Column(QStringLiteral("co4"), count);

    sheet.StartRow();
    sheet.Cell(QStringLiteral("Standard"), QString());
    sheet.SpannedCell(QStringLiteral("H1"), project.Labels.Value(hdConclusions), count, 1);
    if (count > 1)
        sheet.CoveredCell(count - 1);
    sheet.End();
    sheet.StartRow();
    sheet.Cell(QStringLiteral("Titre"), project.Title);
    for (const auto& guideline : project.Guidelines) {
        const QStringList note = Note(guideline->Comments);
        sheet.Cell(QStringLiteral("V2"), guideline->Name, 1, &note);
    }
    sheet.End();

    const TTypeCounts types = CountTypes(project);
    const std::vector<TCoupling> held = holders.HeldInReportOrder(project);
    auto next = held.begin();
    for (const TCouplingKind kind : AllCouplingKinds) {
        // A kind with couplings shows its heading, linked or not.
        if (types[static_cast<std::size_t>(InternalTypeOf(kind))] == 0 ||
            types[static_cast<std::size_t>(ExternalTypeOf(kind))] == 0)
            continue;
        sheet.StartRow();
        sheet.Cell(KindStyle('H', kind), project.Labels.Value(KindHeading(kind)));
        sheet.Cell(KindStyle('H', kind), QString(), count);
        sheet.End();
        sheet.StartRowGroup();
        for (; next != held.end() && next->Kind == kind; ++next) {
            sheet.StartRow();
            sheet.Cell(QStringLiteral("H2"),
                       GetCouplingCaption(project, next->Index1, next->Index2));
            // The holders are in order, a conclusion once per record it holds.
            qint64 column = 0;
            for (const int g : holders.Holders(next->Index1, next->Index2)) {
                if (g < column)
                    continue;
                if (g > column)
                    sheet.Cell(QStringLiteral("Contenu"), QString(), g - column);
                sheet.Cell(QStringLiteral("Contenu"), QStringLiteral("X"));
                column = g + 1;
            }
            if (count > column)
                sheet.Cell(QStringLiteral("Contenu"), QString(), count - column);
            sheet.End();
        }
        sheet.End();
    }
    sheet.End();
}

// Stands in the office body for the sheets until they are written.
constexpr const char* SheetsMark = "merovan-sheets";

} // namespace

void WriteTableReport(QIODevice& device, pugi::xml_document& content, const TProject& project) {
    const pugi::xml_node root = content.document_element();
    const TXmlNames names(root);
    RequiredChild(root, names(OfficeNamespace, "body"))
        .append_child(pugi::node_pi)
        .set_name(SheetsMark);
    const QByteArray document = XmlBytes(content, pugi::format_raw);
    const QByteArray mark = QByteArray("<?") + SheetsMark + "?>";
    const qsizetype at = document.indexOf(mark);
    bool written = device.write(document.left(at)) == at;
    {
        QXmlStreamWriter xml(&device);
        TSheetWriter sheet(xml, names);
        const TCoupleIndex holders(project);
        MatrixSheet(sheet, project, holders);
        if (!project.Guidelines.empty())
            SynthesisSheet(sheet, project, holders);
        written = written && !xml.hasError();
    }
    const QByteArray rest = document.mid(at + mark.size());
    if (!written || device.write(rest) != rest.size())
        throw EStorageError(FillTemplate(LoadStr(StrReportUnwritable), device.errorString()));
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
