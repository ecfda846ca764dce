#pragma once

#include "model/UntClassProject.h"

#include <pugixml.hpp>

class QIODevice;

// The table report: writes to the device the loaded Calc content template
// with, in its office body, the matrix sheet and, when the project has
// conclusions, the synthesis sheet. The sheets are written as they are made,
// with the empty cells of a row in runs: neither memory nor output grows with
// the cells of the matrix. Raises EStorageError when the device fails.
void WriteTableReport(QIODevice& device, pugi::xml_document& content, const TProject& project);

// The columns and rows of the widest and of the longest sheet of the report.
struct TSheetSize {
    qint64 Columns = 0;
    qint64 Rows = 0;
};
TSheetSize TableReportSize(const TProject& project);
