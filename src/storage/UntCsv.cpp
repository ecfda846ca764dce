#include "storage/UntCsv.h"

#include "model/UntStrings.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntJson.h"
#include "storage/UntProgramFolder.h"
#include "storage/UntRtf.h"
#include "storage/UntUtils.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <vector>

namespace {

const QChar Quote = QLatin1Char('"');

// A cell a spreadsheet would take for a formula, or one that is such a
// cell behind the apostrophes that keep it text.
const QRegularExpression& FormulaLike() {
    static const QRegularExpression formula(QStringLiteral("^'*[=+\\-@]"));
    return formula;
}

QString Quoted(const QString& field) {
    static const QRegularExpression special(QStringLiteral("[,\"\r\n]"));
    // Spreadsheets keep a cell that opens with an apostrophe as text, so a
    // name cannot become a live formula or link; reading takes it off.
    const QString cell = FormulaLike().match(field).hasMatch() ? QLatin1Char('\'') + field : field;
    if (!cell.contains(special))
        return cell;
    return Quote + QString(cell).replace(Quote, QStringLiteral("\"\"")) + Quote;
}

// The cell as written before the apostrophe that kept it from being a formula.
QString Unprotected(const QString& cell) {
    return cell.startsWith(QLatin1Char('\'')) && FormulaLike().match(cell).hasMatch() ? cell.mid(1)
                                                                                      : cell;
}

[[noreturn]] void RefuseLine(int line, const QString& reason) {
    throw EStorageError(FillTemplate(LoadStr(StrCsvLine), QString::number(line), reason));
}

bool IsLineEnd(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// The separator a first line "sep=;" names, as Excel writes and reads it.
std::optional<QChar> DeclaredSeparator(const QString& text) {
    static const QRegularExpression declaration(QStringLiteral("^sep=(.)\\r?(\\n|$)"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = declaration.match(text);
    return match.hasMatch() ? std::optional<QChar>(match.captured(1).front()) : std::nullopt;
}

// The separator most used in the first row, outside quotes: comma,
// semicolon (French spreadsheets) or tab; a comma when there is none.
QChar SeparatorOf(const QString& text) {
    const std::array<QChar, 3> candidates = {QLatin1Char(','), QLatin1Char(';'), QLatin1Char('\t')};
    std::array<int, 3> counts{};
    bool quoted = false;
    for (const QChar c : text) {
        if (c == Quote)
            quoted = !quoted;
        else if (!quoted && IsLineEnd(c))
            break;
        for (std::size_t i = 0; i < candidates.size(); ++i)
            counts[i] += !quoted && c == candidates[i];
    }
    return candidates[std::ranges::max_element(counts) - counts.begin()];
}

struct TRow {
    int Line;
    QStringList Fields;
};

// The rows of the text, each with the line it starts on. A quoted field
// takes separators, line breaks and doubled quotes; what follows its closing
// quote up to the separator is kept as written.
std::vector<TRow> Rows(const QString& text, QChar separator) {
    std::vector<TRow> rows;
    int line = 1;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        TRow row{line, {}};
        for (;;) {
            QString field;
            if (text[i] == Quote) {
                const int opened = line;
                for (++i;; ++i) {
                    if (i >= n)
                        RefuseLine(opened, LoadStr(StrCsvOpenQuote));
                    if (text[i] == Quote) {
                        if (i + 1 >= n || text[i + 1] != Quote) {
                            ++i;
                            break;
                        }
                        ++i;
                    } else if (text[i] == QLatin1Char('\n') ||
                               (text[i] == QLatin1Char('\r') &&
                                (i + 1 >= n || text[i + 1] != QLatin1Char('\n')))) {
                        ++line;
                    }
                    field += text[i];
                }
            }
            while (i < n && text[i] != separator && !IsLineEnd(text[i]))
                field += text[i++];
            row.Fields << field;
            if (i >= n || text[i] != separator)
                break;
            ++i;
        }
        if (i < n && text[i] == QLatin1Char('\r'))
            ++i;
        if (i < n && text[i] == QLatin1Char('\n'))
            ++i;
        ++line;
        rows.push_back(std::move(row));
    }
    return rows;
}

enum TColumn { clType, clName, clMark, clComment, clCount };

// The words a cell may hold, compared without case, in English and French.
template <typename T> struct TWord {
    const char16_t* Text;
    T Value;
};

constexpr TWord<TColumn> ColumnWords[] = {
    {u"type", clType},        {u"name", clName},           {u"nom", clName},
    {u"libellé", clName},     {u"factor", clName},         {u"facteur", clName},
    {u"mark", clMark},        {u"importance", clMark},     {u"comment", clComment},
    {u"comments", clComment}, {u"commentaire", clComment}, {u"commentaires", clComment},
};

constexpr TWord<std::int32_t> TypeWords[] = {
    {u"strength", stStrength},
    {u"strengths", stStrength},
    {u"force", stStrength},
    {u"forces", stStrength},
    {u"s", stStrength},
    {u"weakness", stWeakness},
    {u"weaknesses", stWeakness},
    {u"faiblesse", stWeakness},
    {u"faiblesses", stWeakness},
    {u"w", stWeakness},
    {u"f", stWeakness},
    {u"opportunity", stOpportunity},
    {u"opportunities", stOpportunity},
    {u"opportunité", stOpportunity},
    {u"opportunités", stOpportunity},
    {u"o", stOpportunity},
    {u"threat", stThreat},
    {u"threats", stThreat},
    {u"menace", stThreat},
    {u"menaces", stThreat},
    {u"t", stThreat},
    {u"m", stThreat},
};

constexpr TWord<std::int32_t> MarkWords[] = {
    {u"", mkMedium},        {u"1", mkLow},         {u"2", mkMedium},    {u"3", mkHigh},
    {u"low", mkLow},        {u"medium", mkMedium}, {u"high", mkHigh},   {u"faible", mkLow},
    {u"moyenne", mkMedium}, {u"haute", mkHigh},    {u"élevée", mkHigh},
};

template <typename T, std::size_t N>
std::optional<T> Lookup(const TWord<T> (&words)[N], const QString& cell) {
    const QString word = cell.trimmed();
    for (const TWord<T>& entry : words)
        if (word.compare(QStringView(entry.Text), Qt::CaseInsensitive) == 0)
            return entry.Value;
    return std::nullopt;
}

// Where each column is: as a header row names them, or in the order of the
// rows we write.
std::array<qsizetype, clCount> ColumnsOf(const QStringList& header) {
    std::array<qsizetype, clCount> columns;
    columns.fill(-1);
    for (qsizetype i = 0; i < header.size(); ++i)
        if (const auto column = Lookup(ColumnWords, header[i]); column && columns[*column] < 0)
            columns[*column] = i;
    return columns;
}

} // namespace

QByteArray FactorsCsv(const TProject& project) {
    QString csv = QStringLiteral("type,name,mark,comment\r\n");
    for (std::size_t i = 0; i < project.Items.size(); ++i) {
        const TTOWSItem& item = *project.Items[i];
        CheckExportable(item, i);
        csv += QStringList{QLatin1String(TypeWord(item.SwotType)), Quoted(XmlText(item.Name)),
                           QString::number(item.Mark), Quoted(CommentText(item.Comments))}
                   .join(QLatin1Char(','));
        csv += QStringLiteral("\r\n");
    }
    // The mark makes spreadsheets opened by a double-click read UTF-8.
    return "\xEF\xBB\xBF" + csv.toUtf8();
}

std::vector<std::unique_ptr<TTOWSItem>> ReadFactorsCsv(const QByteArray& csv) {
    // Not UTF-8 nor marked otherwise: what spreadsheets on Windows write by default.
    const QString text = DecodedOrCp1252(
        csv, QStringConverter::encodingForData(csv).value_or(QStringConverter::Utf8));
    const std::optional<QChar> declared = DeclaredSeparator(text);
    std::vector<TRow> rows = Rows(text, declared.value_or(SeparatorOf(text)));
    if (declared)
        rows.erase(rows.begin());
    std::erase_if(rows, [](const TRow& row) {
        return std::ranges::all_of(row.Fields,
                                   [](const QString& field) { return field.trimmed().isEmpty(); });
    });
    std::array<qsizetype, clCount> columns = {clType, clName, clMark, clComment};
    qsizetype columnCount = clCount;
    if (!rows.empty()) {
        const auto named = ColumnsOf(rows.front().Fields);
        if (named[clType] >= 0 && named[clName] >= 0) {
            columns = named;
            columnCount = rows.front().Fields.size();
            rows.erase(rows.begin());
        }
    }
    if (rows.empty())
        throw EStorageError(LoadStr(StrCsvNoFactor));

    std::vector<std::unique_ptr<TTOWSItem>> factors;
    for (const TRow& row : rows) {
        const auto cell = [&](TColumn column) {
            return columns[column] >= 0 ? Unprotected(row.Fields.value(columns[column]))
                                        : QString();
        };
        // An unquoted separator in a name or comment makes more fields; what
        // they hold would be lost.
        const auto extra = std::ranges::find_if(
            row.Fields.begin() + std::min(columnCount, row.Fields.size()), row.Fields.end(),
            [](const QString& field) { return !field.trimmed().isEmpty(); });
        if (extra != row.Fields.end())
            RefuseLine(row.Line,
                       FillTemplate(LoadStr(StrCsvExtraFields), QString::number(row.Fields.size()),
                                    QString::number(columnCount)));
        auto item = std::make_unique<TTOWSItem>();
        const auto type = Lookup(TypeWords, cell(clType));
        if (!type)
            RefuseLine(row.Line,
                       FillTemplate(LoadStr(StrCsvBadType), Printable(cell(clType).trimmed())));
        item->SwotType = *type;
        // A name is one line; spreadsheet cells often carry stray blanks.
        item->Name = XmlText(cell(clName)).simplified();
        if (item->Name.isEmpty())
            RefuseLine(row.Line, LoadStr(StrCsvNoName));
        const auto mark = Lookup(MarkWords, cell(clMark));
        if (!mark)
            RefuseLine(row.Line,
                       FillTemplate(LoadStr(StrCsvBadMark), Printable(cell(clMark).trimmed())));
        item->Mark = *mark;
        // Blank lines closing a cell are the spreadsheet's, not the comment's.
        QString comment = XmlText(cell(clComment));
        while (!comment.isEmpty() && comment.back().isSpace())
            comment.chop(1);
        item->Comments = PlainTextToLines(comment);
        factors.push_back(std::move(item));
    }
    return factors;
}

std::unique_ptr<TProject> ReadProjectCsv(const QByteArray& csv) {
    std::vector<std::unique_ptr<TTOWSItem>> factors = ReadFactorsCsv(csv);
    auto project = ReadProject(ReferenceTemplate());
    std::ranges::move(factors, std::back_inserter(project->Items));
    StorableContent(*project);
    return project;
}
