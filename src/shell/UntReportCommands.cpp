// The report commands of the main window: the text and the table report,
// written and converted while a progress dialog shows, and the pictures.
#include "UnitFrmMain.h"
#include "UntConvert.h"
#include "UntDlgWaitReport.h"
#include "UntErrors.h"
#include "UntModalSeam.h"
#include "UntProgramFolder.h"
#include "UntReportExport.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

void TFrmMain::RunReport(TReportKind kind) {
    if (!FCurrent)
        return;
    const TReportKindInfo& info = ReportInfo(kind);
    const auto chosen =
        Seam().SaveFile(this, {QString(), info.Filters, QString(), FReportFormat, StartFolder()});
    if (!chosen)
        return;
    RememberFolder(chosen->Path);
    FReportFormat = std::clamp(chosen->FilterIndex, 1, static_cast<int>(info.Extensions.size()));
    // The extension typed chooses the format; a name without one of the
    // report's gets the selected type's.
    QString path = chosen->Path;
    int format = ReportFormatOf(kind, path);
    if (format == 0) {
        format = FReportFormat;
        path += QLatin1Char('.') + info.Extensions[format - 1];
    }
    if (!MayWriteOutput(path))
        return;

    const auto repaint = [] {
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    DlgWaitReport->SetStatus(StrReportBeingMade);
    DlgWaitReport->EnableClose(false);
    DlgWaitReport->show();
    setEnabled(false);
    repaint();
    // Whatever fails, the window comes back before the user is told.
    QString failure;
    try {
        ExportReport(
            kind, FCurrent->Project(), ProgramFolder(), path, format,
            [this, &repaint](int status) {
                DlgWaitReport->SetStatus(status);
                repaint();
            },
            repaint);
    } catch (const EConversionError& error) {
        failure = LoadStr(info.FailureMessage) + QStringLiteral("\n\n") +
                  FillTemplate(LoadStr(StrConversionReason), error.Message());
    } catch (...) {
        failure = ErrorMessage(std::current_exception());
    }
    setEnabled(true);
    if (!failure.isEmpty()) {
        DlgWaitReport->close();
        Seam().Error(this, failure);
        return;
    }
    DlgWaitReport->SetStatus(StrReportDone);
    DlgWaitReport->close();
    repaint();
    TellWritten(path);
}

void TFrmMain::SavePictureAs(TPictureKind kind) {
    if (!FCurrent)
        return;
    const QStringList filters = {LoadStr(StrSvgFilter), LoadStr(StrPngFilter)};
    const auto chosen =
        Seam().SaveFile(this, {QString(), filters, QString(), FPictureFilter, StartFolder()});
    if (!chosen)
        return;
    RememberFolder(chosen->Path);
    FPictureFilter = std::clamp(chosen->FilterIndex, 1, 2);
    QString path = chosen->Path;
    if (PictureFormatOf(path) == TPictureFormat::None)
        path += FPictureFilter == 2 ? QStringLiteral(".png") : QStringLiteral(".svg");
    if (!MayWriteOutput(path))
        return;
    try {
        SavePicture(kind, FCurrent->Project(), path);
    } catch (...) {
        Seam().Error(this, ErrorMessage(std::current_exception()));
        return;
    }
    TellWritten(path);
}

bool TFrmMain::MayWriteOutput(const QString& path, int question) {
    return Replaceable(path, {}) &&
           (!QFileInfo::exists(path) ||
            Seam().Message(this, QMessageBox::Question, LoadStr(question),
                           QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes);
}

void TFrmMain::TellWritten(const QString& path) {
    // The path stays in view a while, whichever program opens the file.
    statusBar()->showMessage(FillTemplate(LoadStr(StrFileWritten), path), 30000);
    Seam().OpenDocument(path);
}
