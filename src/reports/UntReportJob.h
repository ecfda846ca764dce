#pragma once

#include "reports/UntReportExport.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// A report written by ExportReport, or a picture, away from the thread that
// asked for it, so that a window stays responsive and can cancel it. The job
// works on a copy of the project, taken when it is made. Every report of the
// run goes to one thread of its own, which lives until the application
// object ends, so that one office suite serves every conversion of the run;
// pictures go to another such thread, so that none waits for the suite.
//
// Its signals come on the thread the job lives in, queued: the stages, then
// exactly one of Written, Failed and Cancelled.
class TReportJob : public QObject {
    Q_OBJECT

public:
    // Writes a picture of the project to the target as SavePicture and
    // SaveStrategyPicture do, calling the checkpoint now and then.
    using TPictureDrawing = std::function<void(const TProject& project, const QString& target,
                                               const std::function<void()>& checkpoint)>;

    TReportJob(TReportKind kind, const TProject& project, const QString& templateFolder,
               const QString& target, int format, QObject* parent = nullptr);
    // A picture, which tells one stage, StrPictureBeingDrawn, as it begins.
    TReportJob(TPictureDrawing draw, const TProject& project, const QString& target,
               QObject* parent = nullptr);
    // Cancels the job and waits until it has ended, its files cleared away.
    ~TReportJob() override;

    // Queues the job behind any other of its thread; once only.
    void Start();
    // Stops the job at its next stage, while it draws, or during its
    // conversion, which ends the suite; the target then stays as it was, and
    // the job ends with Cancelled. Too late once the file is written.
    void Cancel();

signals:
    // The string id of the stage the job has reached.
    void StageReached(int statusId);
    // The suite has started and converts the report.
    void ConversionBegun();
    void Written(const QString& path);
    // What the user is told, the office suite's reason included.
    void Failed(const QString& message);
    void Cancelled();

private:
    struct TWork;
    const std::shared_ptr<TWork> FWork;
};

// Starts the office suite on the thread of the jobs ahead of the first
// report, by converting a small report of each kind and throwing it away, so
// that the first report is as quick as the next. Does nothing when the suite
// is not installed; a job started meanwhile waits its turn.
void PrepareConversions(const QString& templateFolder);
