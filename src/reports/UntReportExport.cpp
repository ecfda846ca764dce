#include "reports/UntReportExport.h"

#include "model/UntStrings.h"
#include "reports/UntCalcExport.h"
#include "reports/UntConvert.h"
#include "reports/UntOOExport.h"
#include "reports/UntReportXml.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <pugixml.hpp>
#include <utility>

namespace {

QByteArray ReadTemplate(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EStorageError(FillTemplate(LoadStr(StrTemplateUnreadable), path, file.errorString()));
    return file.readAll();
}

pugi::xml_document LoadTemplate(const QString& path) {
    const QByteArray bytes = ReadTemplate(path);
    pugi::xml_document document;
    const pugi::xml_parse_result parsed =
        document.load_buffer(bytes.constData(), static_cast<size_t>(bytes.size()));
    if (!parsed)
        throw EStorageError(FillTemplate(LoadStr(StrTemplateUnreadable), path,
                                         QString::fromUtf8(parsed.description())));
    return document;
}

// The document's properties: its title is the project's, so that a file
// manager or a search shows it, and the suite carries it into every format
// it writes.
QByteArray MetaXml(const QString& title) {
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("office:document-meta");
    root.append_attribute("xmlns:office").set_value(OfficeNamespace);
    root.append_attribute("xmlns:dc").set_value("http://purl.org/dc/elements/1.1/");
    root.append_attribute("office:version").set_value("1.0");
    pugi::xml_node meta = root.append_child("office:meta");
    meta.append_child("dc:title").text().set(XmlUtf8(title).constData());
    return XmlBytes(document, pugi::format_raw);
}

// The manifest of the template, with the properties listed.
QByteArray ManifestXml(pugi::xml_document manifest) {
    pugi::xml_node root = manifest.document_element();
    const TXmlNames names(root);
    const char* const manifestNamespace = "http://openoffice.org/2001/manifest";
    pugi::xml_node entry = root.append_child(names(manifestNamespace, "file-entry").c_str());
    entry.append_attribute(names(manifestNamespace, "media-type").c_str()).set_value("text/xml");
    entry.append_attribute(names(manifestNamespace, "full-path").c_str()).set_value("meta.xml");
    return XmlBytes(manifest, pugi::format_raw);
}

} // namespace

TSheetSize SheetLimit(int format) {
    // Excel 97 sheets; every other format the suite writes (and its own, which
    // it reads the report in) holds what its sheets hold since 7.4.
    return format == 2 ? TSheetSize{256, 65'536} : TSheetSize{16'384, 1'048'576};
}

const TReportKindInfo& ReportInfo(TReportKind kind) {
    static const TReportKindInfo text{
        QStringLiteral("exports/writer/"),
        QStringLiteral("contentwriter.xml"),
        {"sxw", "doc", "pdf", "odt", "docx"},
        {"OpenOffice.org 1.0 Writer (*.sxw)", "Microsoft Word 97/2000/XP (*.doc)",
         "Portable Document Format(*.pdf)", "OpenDocument Text (*.odt)",
         "Microsoft Word 2007-365 (*.docx)"},
        QStringLiteral("report-XXXXXX.sxw"),
        {"MS Word 97", "writer_pdf_Export", "writer8", "MS Word 2007 XML"},
        StrWordExportFailed};
    static const TReportKindInfo table{
        QStringLiteral("exports/calc/"),
        QStringLiteral("Content.xml"),
        {"sxc", "xls", "pdf", "ods", "xlsx"},
        {"OpenOffice.org 1.0 Calc (*.sxc)", "Microsoft Excel 97/2000/XP (*.xls)",
         "Portable Document Format(*.pdf)", "OpenDocument Spreadsheet (*.ods)",
         "Microsoft Excel 2007-365 (*.xlsx)"},
        QStringLiteral("report-XXXXXX.sxc"),
        {"MS Excel 97", "calc_pdf_Export", "calc8", "Calc MS Excel 2007 XML"},
        StrExcelExportFailed};
    return kind == TReportKind::Text ? text : table;
}

int ReportFormatOf(TReportKind kind, const QString& path) {
    return static_cast<int>(
               ReportInfo(kind).Extensions.indexOf(QFileInfo(path).suffix().toLower())) +
           1;
}

pugi::xml_document TextContentTemplate(const QString& templateFolder) {
    const TReportKindInfo& info = ReportInfo(TReportKind::Text);
    return LoadTemplate(QDir(templateFolder).filePath(info.Folder) + info.ContentTemplate);
}

QByteArray BuildReportPackage(TReportKind kind, const TProject& project,
                              const QString& templateFolder) {
    const TReportKindInfo& info = ReportInfo(kind);
    const QString folder = QDir(templateFolder).filePath(info.Folder);
    if (kind == TReportKind::Text) {
        pugi::xml_document content = TextContentTemplate(templateFolder);
        BuildTextReport(content, project);
        return TextPackage(content, templateFolder, project.Title);
    }
    pugi::xml_document content = LoadTemplate(folder + info.ContentTemplate);
    pugi::xml_document manifest = LoadTemplate(folder + QStringLiteral("META-INF/manifest.xml"));
    // The sheets of a large matrix go to a file, not to memory.
    TNewFile sheets(WorkFolder() + QStringLiteral("sheets-XXXXXX.xml"), StrReportUnwritable);
    WriteTableReport(sheets.File(), content, project);
    if (!sheets.File().flush())
        throw EStorageError(
            FillTemplate(LoadStr(StrReportUnwritable), sheets.File().errorString()));
    return ZipArchive(
        {{QStringLiteral("content.xml"), {}, sheets.FileName()},
         {QStringLiteral("styles.xml"), ReadTemplate(folder + QStringLiteral("styles.xml")), {}},
         {QStringLiteral("meta.xml"), MetaXml(project.Title), {}},
         {QStringLiteral("META-INF/manifest.xml"), ManifestXml(std::move(manifest)), {}}});
}

QByteArray TextPackage(const pugi::xml_document& content, const QString& templateFolder,
                       const QString& title) {
    const QString folder = QDir(templateFolder).filePath(ReportInfo(TReportKind::Text).Folder);
    pugi::xml_document manifest = LoadTemplate(folder + QStringLiteral("META-INF/manifest.xml"));
    return ZipArchive(
        {{QStringLiteral("content.xml"), XmlBytes(content, pugi::format_raw), {}},
         {QStringLiteral("styles.xml"), ReadTemplate(folder + QStringLiteral("styles.xml")), {}},
         {QStringLiteral("meta.xml"), MetaXml(title), {}},
         {QStringLiteral("META-INF/manifest.xml"), ManifestXml(std::move(manifest)), {}}});
}

void ExportReport(TReportKind kind, const TProject& project, const QString& templateFolder,
                  const QString& target, int format,
                  const std::function<void(int statusId)>& status,
                  const std::function<void()>& whileWaiting,
                  const std::function<void()>& conversionBegun) {
    if (kind == TReportKind::Table) {
        // Beyond its format's sheets the suite cuts the report or refuses it.
        const TSheetSize limit = SheetLimit(format);
        const TSheetSize needed = TableReportSize(project);
        if (needed.Columns > limit.Columns || needed.Rows > limit.Rows)
            throw EStorageError(
                FillTemplate(LoadStr(StrTableTooLarge),
                             QStringLiteral("%1 × %2").arg(needed.Columns).arg(needed.Rows),
                             QStringLiteral("%1 × %2").arg(limit.Columns).arg(limit.Rows)));
    }
    const QByteArray package = BuildReportPackage(kind, project, templateFolder);
    if (format <= 1) {
        WriteFileAtomically(target, package);
        return;
    }
    const TReportKindInfo& info = ReportInfo(kind);
    ConvertPackage(package, info.CopyPattern, target, info.ExportFilters[format - 2], status,
                   whileWaiting, conversionBegun);
}

void ConvertPackage(const QByteArray& package, const QString& copyPattern, const QString& target,
                    const QString& filter, const std::function<void(int statusId)>& status,
                    const std::function<void()>& whileWaiting,
                    const std::function<void()>& conversionBegun) {
    // A link to the report stays a link; a write-protected report is refused
    // before the suite spends time on it.
    const QString replaced = ReplacedFile(target);
    CheckReplaceable(replaced);
    TNewFile copy(WorkFolder() + copyPattern, StrReportUnwritable);
    if (copy.File().write(package) != package.size() || !copy.File().flush())
        throw EStorageError(FillTemplate(LoadStr(StrReportUnwritable), copy.File().errorString()));
    copy.File().close();
    if (status)
        status(StrReportConverting);
    // The suite stores in a hidden file beside the report, so that the report
    // is replaced only by a complete file. No file there: the folder refuses, the suite
    // is not to blame.
    TNewFile converted(PiecePattern(replaced), StrReportUnwritable);
    converted.File().close();
    ConvertDocument(copy.FileName(), converted.FileName(), filter, whileWaiting, conversionBegun);
    converted.Replace(replaced);
    // What conversions that were cut short left, as saves do.
    RemoveLeftovers(replaced);
    // Earlier versions had the suite store into a visible "NAME.XXXXXX.part"
    // beside the report, which a cut conversion left behind.
    RemoveUniquelyNamed(QFileInfo(replaced).absoluteDir(),
                        QFileInfo(replaced).fileName() + QLatin1Char('.'), QStringLiteral(".part"));
}
