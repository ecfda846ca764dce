#pragma once

#include "UntClassProject.h"

#include <pugixml.hpp>

// The table report: appends to the office body of the loaded Calc content
// template the matrix sheet and, when the project has conclusions, the
// synthesis sheet.
void BuildTableReport(pugi::xml_document& document, const TProject& project);

// The columns and rows of the widest and of the longest sheet of the report.
struct TSheetSize {
    qint64 Columns = 0;
    qint64 Rows = 0;
};
TSheetSize TableReportSize(const TProject& project);
