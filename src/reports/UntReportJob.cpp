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

// The thread of every job: its bridge, and so the office suite, serves every
// conversion of the run, and ends with the thread.
class TConversionThread : public QThread {
protected:
    void run() override {
        exec();
        StopConverter();
    }
};

TConversionThread* Conversions = nullptr;
// Set when the application object ends, to cut short the preparation.
std::atomic<bool> Ending = false;

void EndConversions() {
    Ending = true;
    Conversions->quit();
    Conversions->wait();
    delete Conversions;
    Conversions = nullptr;
}

// An object of the conversion thread: calls queued to it run there, one after
// another. The thread starts at the first job and ends with the application
// object.
QObject& ConversionQueue() {
    static QObject* const queue = [] {
        Conversions = new TConversionThread;
        Conversions->setObjectName(QStringLiteral("Conversions"));
        auto* object = new QObject;
        object->moveToThread(Conversions);
        QObject::connect(Conversions, &QThread::finished, object, &QObject::deleteLater);
        Conversions->start();
        qAddPostRoutine(EndConversions);
        return object;
    }();
    return *queue;
}

} // namespace

struct TReportJob::TWork {
    TReportKind Kind;
    std::unique_ptr<TProject> Project;
    QString TemplateFolder;
    QString Target;
    int Format;
    std::atomic<bool> Cancelling = false;
    // Whether the job was queued; known to the job's own thread only.
    bool Queued = false;
    std::promise<void> Done{};
    std::future<void> Ended = Done.get_future();
};

TReportJob::TReportJob(TReportKind kind, const TProject& project, const QString& templateFolder,
                       const QString& target, int format, QObject* parent)
    : QObject(parent),
      FWork(new TWork{kind, CopyProject(project), templateFolder, target, format}) {}

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
        &ConversionQueue(),
        [this, work = FWork] {
            const auto stopWhenCancelled = [&work] {
                if (work->Cancelling)
                    throw EReportCancelled();
            };
            std::function<void()> outcome;
            try {
                stopWhenCancelled();
                ExportReport(
                    work->Kind, *work->Project, work->TemplateFolder, work->Target, work->Format,
                    [this, &stopWhenCancelled](int statusId) {
                        stopWhenCancelled();
                        QMetaObject::invokeMethod(
                            this, [this, statusId] { emit StageReached(statusId); },
                            Qt::QueuedConnection);
                    },
                    stopWhenCancelled,
                    [this] {
                        QMetaObject::invokeMethod(this, &TReportJob::ConversionBegun,
                                                  Qt::QueuedConnection);
                    });
                outcome = [this, path = work->Target] {
                    emit Written(path);
                };
            } catch (const EReportCancelled&) {
                outcome = [this] {
                    emit Cancelled();
                };
            } catch (const EConversionError& error) {
                const QString message = LoadStr(ReportInfo(work->Kind).FailureMessage) +
                                        QStringLiteral("\n\n") +
                                        FillTemplate(LoadStr(StrConversionReason), error.Message());
                outcome = [this, message] {
                    emit Failed(message);
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
