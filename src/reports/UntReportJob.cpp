#include "reports/UntReportJob.h"

#include "model/UntStrings.h"
#include "reports/UntConvert.h"
#include "storage/UntErrors.h"
#include "storage/UntUtils.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QThread>
#include <atomic>
#include <future>

namespace {

// Raised by a cancelled job's own callbacks; it never leaves the job.
class EReportCancelled : public EMerovanError {
public:
    EReportCancelled() : EMerovanError(QString()) {}
};

// A thread of jobs: the calls queued to its object run there, one after
// another, until the application object ends.
class TJobThread : public QThread {
public:
    explicit TJobThread(void (*atEnd)()) : FAtEnd(atEnd) {}

protected:
    void run() override {
        exec();
        if (FAtEnd)
            FAtEnd();
    }

private:
    void (*const FAtEnd)();
};

// The reports' thread, whose bridge, and so the office suite, serves every
// conversion of the run and ends with the thread; and the pictures' thread.
TJobThread* Conversions = nullptr;
TJobThread* Drawings = nullptr;
// Set when the application object ends, to cut short the preparation.
std::atomic<bool> Ending = false;

void EndJobThreads() {
    Ending = true;
    for (TJobThread** thread : {&Conversions, &Drawings}) {
        if (!*thread)
            continue;
        (*thread)->quit();
        (*thread)->wait();
        delete *thread;
        *thread = nullptr;
    }
}

// An object of a new thread of jobs, which starts now.
QObject* StartJobThread(TJobThread*& thread, const QString& name, void (*atEnd)()) {
    // Both end together, whichever started first.
    [[maybe_unused]] static const bool ending = [] {
        qAddPostRoutine(EndJobThreads);
        return true;
    }();
    thread = new TJobThread(atEnd);
    thread->setObjectName(name);
    auto* object = new QObject;
    object->moveToThread(thread);
    QObject::connect(thread, &QThread::finished, object, &QObject::deleteLater);
    thread->start();
    return object;
}

QObject& ConversionQueue() {
    static QObject* const queue =
        StartJobThread(Conversions, QStringLiteral("Conversions"), StopConverter);
    return *queue;
}

QObject& DrawingQueue() {
    static QObject* const queue = StartJobThread(Drawings, QStringLiteral("Drawings"), nullptr);
    return *queue;
}

// What a job calls as it works: each stage reached, now and then to be
// stopped when cancelled, and once the office suite begins to convert.
struct TJobCalls {
    std::function<void(int statusId)> Stage;
    std::function<void()> Checkpoint;
    std::function<void()> ConversionBegun;
};

} // namespace

struct TReportJob::TWork {
    std::unique_ptr<TProject> Project;
    QString Target;
    QObject& (*Queue)();
    // Makes the file of the project on the job's thread; raises what the user is told.
    std::function<void(const TProject& project, const TJobCalls& calls)> Make;
    std::atomic<bool> Cancelling = false;
    // Whether the job was queued; known to the job's own thread only.
    bool Queued = false;
    std::promise<void> Done{};
    std::future<void> Ended = Done.get_future();
};

TReportJob::TReportJob(TReportKind kind, const TProject& project, const QString& templateFolder,
                       const QString& target, int format, QObject* parent)
    : QObject(parent),
      FWork(new TWork{
          CopyProject(project), target, ConversionQueue,
          [kind, templateFolder, target, format](const TProject& copy, const TJobCalls& calls) {
              try {
                  ExportReport(kind, copy, templateFolder, target, format, calls.Stage,
                               calls.Checkpoint, calls.ConversionBegun);
              } catch (const EConversionError& error) {
                  throw EMerovanError(LoadStr(ReportInfo(kind).FailureMessage) +
                                      QStringLiteral("\n\n") +
                                      FillTemplate(LoadStr(StrConversionReason), error.Message()));
              }
          }}) {}

TReportJob::TReportJob(TPictureDrawing draw, const TProject& project, const QString& target,
                       QObject* parent)
    : QObject(parent),
      FWork(
          new TWork{CopyProject(project), target, DrawingQueue,
                    [draw = std::move(draw), target](const TProject& copy, const TJobCalls& calls) {
                        calls.Stage(StrPictureBeingDrawn);
                        draw(copy, target, calls.Checkpoint);
                    }}) {}

TReportJob::~TReportJob() {
    Cancel();
    // The job posts to this object until it ends.
    if (FWork->Queued)
        FWork->Ended.wait();
}

void TReportJob::Start() {
    if (FWork->Queued)
        return;
    FWork->Queued = true;
    QMetaObject::invokeMethod(
        &FWork->Queue(),
        [this, work = FWork] {
            const auto stopWhenCancelled = [&work] {
                if (work->Cancelling)
                    throw EReportCancelled();
            };
            std::function<void()> outcome;
            try {
                stopWhenCancelled();
                work->Make(*work->Project,
                           {[this, &stopWhenCancelled](int statusId) {
                                stopWhenCancelled();
                                QMetaObject::invokeMethod(
                                    this, [this, statusId] { emit StageReached(statusId); },
                                    Qt::QueuedConnection);
                            },
                            stopWhenCancelled,
                            [this] {
                                QMetaObject::invokeMethod(this, &TReportJob::ConversionBegun,
                                                          Qt::QueuedConnection);
                            }});
                outcome = [this, path = work->Target] {
                    emit Written(path);
                };
            } catch (const EReportCancelled&) {
                outcome = [this] {
                    emit Cancelled();
                };
            } catch (...) {
                outcome = [this, message = ErrorMessage(std::current_exception())] {
                    emit Failed(message);
                };
            }
            work->Project.reset();
            QMetaObject::invokeMethod(this, outcome, Qt::QueuedConnection);
            work->Done.set_value();
        },
        Qt::QueuedConnection);
}

void PrepareConversions(const QString& templateFolder) {
    QMetaObject::invokeMethod(
        &ConversionQueue(),
        [templateFolder] {
            const QTemporaryDir folder;
            const TProject project;
            const auto stopWhenEnding = [] {
                if (Ending)
                    throw EReportCancelled();
            };
            // The suite loads each kind's module at its first document.
            try {
                ExportReport(TReportKind::Text, project, templateFolder,
                             folder.filePath(QStringLiteral("prepared.pdf")), 3, {},
                             stopWhenEnding);
                ExportReport(TReportKind::Table, project, templateFolder,
                             folder.filePath(QStringLiteral("prepared.ods")), 4, {},
                             stopWhenEnding);
            } catch (...) {
                // A suite that is missing or fails is told by the report that needs it.
            }
        },
        Qt::QueuedConnection);
}

void TReportJob::Cancel() {
    FWork->Cancelling = true;
}
