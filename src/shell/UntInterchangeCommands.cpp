// The import and export commands of the main window: a project in and out
// as JSON, its factors as CSV.
#include "UnitFrmMain.h"
#include "UntErrors.h"
#include "UntInterchange.h"
#include "UntModalSeam.h"
#include "UntStrings.h"

void TFrmMain::AcnFileImportExecute() {
    if (!ReturnFromExample() || !AskToKeepChanges())
        return;
    const QStringList filters = {LoadStr(StrInterchangeFilter), LoadStr(StrJsonFilter),
                                 LoadStr(StrCsvFilter)};
    const auto chosen = Seam().OpenFile(this, {QString(), filters, QString(), 1, StartFolder()});
    if (!chosen)
        return;
    RememberFolder(chosen->Path);
    std::unique_ptr<TProject> project;
    try {
        project = ImportProject(chosen->Path);
    } catch (...) {
        Seam().Error(this, ErrorMessage(std::current_exception()));
        return;
    }
    ShowUnsavedProject(std::move(project), std::nullopt);
}

void TFrmMain::AcnFileExportExecute() {
    if (!FCurrent)
        return;
    const auto path = ChooseOutput({LoadStr(StrJsonFilter), LoadStr(StrCsvFilter)},
                                   {QStringLiteral("json"), QStringLiteral("csv")}, FExportFilter,
                                   StrReplaceProject);
    if (!path)
        return;
    try {
        ExportProject(FCurrent->Project(), *path);
    } catch (...) {
        Seam().Error(this, ErrorMessage(std::current_exception()));
        return;
    }
    TellWritten(*path);
}
