#pragma once

#include "model/UntClassProject.h"

#include <QByteArray>
#include <memory>
#include <vector>

// The factors of a project as CSV, in the form docs/json-format.md describes.

// A header row "type,name,mark,comment", then a row per factor in project
// order, the comment as plain text; UTF-8, commas, CR LF between rows.
QByteArray FactorsCsv(const TProject& project);

// The factors of CSV as spreadsheets write it: UTF-8 with or without
// byte-order mark (Windows-1252 when it is not UTF-8), comma, semicolon or
// tab between fields, quoted fields holding separators, quotes and line
// breaks, an optional header row naming the columns, types and importance in
// English or French words or letters. Raises EStorageError naming the line
// of the first row it cannot read.
std::vector<std::unique_ptr<TTOWSItem>> ReadFactorsCsv(const QByteArray& csv);

// A new project from the reference template holding the factors of the CSV.
std::unique_ptr<TProject> ReadProjectCsv(const QByteArray& csv);
