#pragma once

#include "model/UntClassProject.h"
#include "reports/UntCalcExport.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <pugixml.hpp>

enum class TReportKind { Text, Table };

// What tells the two reports apart.
struct TReportKindInfo {
    QString Folder;          // of the templates, under the template folder
    QString ContentTemplate; // in the folder
    // Of the formats: 1 the package, 2 Word or Excel 97, 3 PDF, 4 OpenDocument,
    // 5 Word or Excel 2007.
    QStringList Extensions;
    QStringList Filters;       // of the save dialog, one per format
    QString CopyPattern;       // of the package handed to the office suite
    QStringList ExportFilters; // of the formats 2 to 5
    int FailureMessage;        // when the conversion fails
};

const TReportKindInfo& ReportInfo(TReportKind kind);

// The most columns and rows a table report of the format (its number in
// Extensions, from 1) may have.
TSheetSize SheetLimit(int format);

// The format of a file name's extension, as numbered in Extensions; 0 for
// another one.
int ReportFormatOf(TReportKind kind, const QString& path);

// The OpenOffice.org 1.0 package of the report: the content built from the
// template, then the template's styles and manifest. templateFolder holds
// "exports/writer/" and "exports/calc/"; the program passes its own folder.
QByteArray BuildReportPackage(TReportKind kind, const TProject& project,
                              const QString& templateFolder);

// The text report's content template, for a document built on its styles.
pugi::xml_document TextContentTemplate(const QString& templateFolder);
// The package of such a content with the text report's styles and manifest,
// its properties naming the title.
QByteArray TextPackage(const pugi::xml_document& content, const QString& templateFolder,
                       const QString& title);

// Writes the report of the project to the target in the format. Raises
// EStorageError when the report cannot be made or written, EConversionError
// when the office suite fails; the target is then left as it was. status is
// told the string id of each stage; whileWaiting runs while the suite works,
// conversionBegun once it begins to convert (ConvertDocument).
void ExportReport(TReportKind kind, const TProject& project, const QString& templateFolder,
                  const QString& target, int format,
                  const std::function<void(int statusId)>& status = {},
                  const std::function<void()>& whileWaiting = {},
                  const std::function<void()>& conversionBegun = {});

// ExportReport's conversion: the package, handed to the suite under a name
// made from copyPattern, becomes the target in the export filter's format.
void ConvertPackage(const QByteArray& package, const QString& copyPattern, const QString& target,
                    const QString& filter, const std::function<void(int statusId)>& status = {},
                    const std::function<void()>& whileWaiting = {},
                    const std::function<void()>& conversionBegun = {});
