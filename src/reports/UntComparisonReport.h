#pragma once

#include "storage/UntComparison.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <pugixml.hpp>
#include <vector>

// The outputs of a comparison: JSON for programs, a standalone HTML page, and
// a document in the text report's style through the office suite. The page,
// the document and the window show the same sections.

// A line of a section's table. A cell may hold several lines, separated by
// "\n".
struct TComparisonRow {
    QStringList Cells;
    // What the line is in the newer version: a factor's position in Items or
    // a conclusion's in Guidelines; none for a line of the older version only.
    std::optional<std::int32_t> Factor;
    std::optional<std::size_t> Guideline;
};

struct TComparisonSection {
    // Of the heading: 1 the comparison, 2 a part, 3 a type of factor.
    int Level;
    QString Heading;
    // The columns of the table, none for a section without one, and their
    // widths relative to each other.
    QStringList Columns;
    std::vector<int> Widths;
    std::vector<TComparisonRow> Rows;
    // A paragraph under the heading, for a part without differences.
    QString Note;
};

// The titles and files of both versions, the factors by type, the
// conclusions, then the weights of the strategy quadrants side by side.
std::vector<TComparisonSection> ComparisonSections(const TComparison& comparison);

// The JSON document of docs/comparison.md.
QByteArray ComparisonJson(const TComparison& comparison);
// A page that needs no other file, in the interface's language.
QByteArray ComparisonHtml(const TComparison& comparison);
// The text report's content template filled with the sections.
void BuildComparisonDocument(pugi::xml_document& document, const TComparison& comparison);

// The extensions of the formats, in the order of the save dialog's filters.
const QStringList& ComparisonExtensions();

// Writes the comparison to the target in the format its extension names.
// Raises EStorageError for another extension or when the file cannot be
// written, EConversionError when the office suite fails; the target is then
// left as it was. whileWaiting and conversionBegun as for ConvertDocument.
void WriteComparison(const TComparison& comparison, const QString& templateFolder,
                     const QString& target, const std::function<void()>& whileWaiting = {},
                     const std::function<void()>& conversionBegun = {});
