// The report commands of the main window: the text and the table report,
// written and converted away from the window while a progress dialog shows,
// and the pictures.
#include "UnitFrmMain.h"
#include "UntDlgWaitReport.h"
#include "UntErrors.h"
#include "UntModalSeam.h"
#include "UntProgramFolder.h"
#include "UntReportExport.h"
#include "UntReportJob.h"
#include "UntStrings.h"
#include "UntUtils.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QStatusBar>

void TFrmMain::RunReport(TReportKind kind) {
    // One report at a time; its dialog keeps the window from input meanwhile.
    if (!FCurrent || FReportJob)
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

    // The window stays responsive while the job works on a copy of the
    // project; a window that goes meanwhile takes the job along, cancelled.
    auto* job = new TReportJob(kind, FCurrent->Project(), ProgramFolder(), path, format, this);
    FReportJob = job;
    // The window comes back before the user is told anything.
    const auto end = [this, job] {
        FReportJob = nullptr;
        job->deleteLater();
        DlgWaitReport->Finish();
    };
    connect(job, &TReportJob::StageReached, DlgWaitReport, &TDlgWaitReport::SetStatus);
    connect(DlgWaitReport, &TDlgWaitReport::CancelRequested, job, &TReportJob::Cancel);
    connect(job, &TReportJob::Written, this, [this, end](const QString& written) {
        DlgWaitReport->SetStatus(StrReportDone);
        end();
        TellWritten(written);
        Seam().OpenDocument(written);
    });
    connect(job, &TReportJob::Failed, this, [this, end](const QString& message) {
        end();
        Seam().Error(this, message);
    });
    connect(job, &TReportJob::Cancelled, this, [this, end] {
        end();
        statusBar()->showMessage(LoadStr(StrReportInterrupted), 30000);
    });
    DlgWaitReport->Begin(StrReportBeingMade);
    job->Start();
}

void TFrmMain::SavePictureAs(TPictureKind kind) {
    if (!FCurrent)
        return;
    const auto path = ChooseOutput({LoadStr(StrSvgFilter), LoadStr(StrPngFilter)},
                                   {QStringLiteral("svg"), QStringLiteral("png")}, FPictureFilter);
    if (!path)
        return;
    try {
        SavePicture(kind, FCurrent->Project(), *path);
    } catch (...) {
        Seam().Error(this, ErrorMessage(std::current_exception()));
        return;
    }
    TellWritten(*path);
    Seam().OpenDocument(*path);
}

std::optional<QString> TFrmMain::ChooseOutput(const QStringList& filters,
                                              const QStringList& extensions, int& filter,
                                              int question) {
    const auto chosen =
        Seam().SaveFile(this, {QString(), filters, QString(), filter, StartFolder()});
    if (!chosen)
        return std::nullopt;
    RememberFolder(chosen->Path);
    filter = std::clamp(chosen->FilterIndex, 1, static_cast<int>(extensions.size()));
    QString path = chosen->Path;
    if (!extensions.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive))
        path += QLatin1Char('.') + extensions[filter - 1];
    if (!MayWriteOutput(path, question))
        return std::nullopt;
    return path;
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
}
