#pragma once

#include "history/UntDocument.h"
#include "reports/UntReportJob.h"
#include "shell/UntRecoveryKeeper.h"
#include "storage/UntComparison.h"
#include "storage/UntDataModule.h"
#include "storage/UntFileIdentity.h"

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>

class TLockFile;
class TOrphanCopy;
struct TLockOwner;

// The documents of the window and what is done to them as files: the user's
// project, the example waiting to be shown, and the user's project set aside
// while the example is shown, each with its history and its file; new, open,
// save, import, export and pictures; the recovery copy of the user's work;
// the lock file beside the user's file and what other programs do to it.
// It asks nothing: every operation either succeeds or raises an error whose
// message is for the user, and leaves the documents as they were. The window
// asks the questions and shows the errors.
class TDocumentController : public QObject {
    Q_OBJECT

public:
    explicit TDocumentController(QObject* parent = nullptr);
    ~TDocumentController() override;

    // The document shown and edited; none before the first.
    TDocument* Current() const { return FCurrent.get(); }
    // The user's document, shown or set aside while the example is shown.
    TDocument* UserDocument() const { return FExampleShown ? FStashed.get() : FCurrent.get(); }
    // The example: waiting to be shown, or shown.
    const TDocument* Example() const { return FExampleShown ? FCurrent.get() : FExample.get(); }
    bool ExampleShown() const { return FExampleShown; }
    // The file of the user's document; none for a project no file holds.
    std::optional<QString> DocumentPath() const;

    // Who else has the project file open; none when nobody does, or when it
    // is this program's own document.
    std::optional<TLockOwner> InUseBy(const QString& path) const;
    // A copy of the project file as the user's document, which no file holds:
    // the file stays untouched with whoever has it open, and Save asks for a
    // name.
    void OpenCopy(const QString& path);
    // The file the user's document is a read-only copy of, if it is one.
    const std::optional<QString>& CopyOf() const { return FCopyOf; }
    // How the user's file differs from the one read or last saved here;
    // nothing is ever written over another program's work without asking.
    TDiskChange FileChange() const;

    // The user is done with the documents: their file is no longer locked
    // nor watched.
    void LetGo();

    // A new project from the reference template.
    void New();
    // The project file at the path, as the user's document.
    void Open(const QString& path);
    // A project that no file holds as it is (imported, or recovered from
    // the file of origin, if any) as the user's document, modified until
    // saved.
    void OpenUnsaved(std::unique_ptr<TProject> project, const std::optional<QString>& origin);
    // The JSON project or CSV factors at the path, as a new unsaved document;
    // what the user should hear of, though it was read.
    QStringList Import(const QString& path);
    // A copy left by a program that is gone, as the user's unsaved document;
    // the copy goes once this run's copy holds the work, or the work is saved
    // or dropped.
    void Recover(TOrphanCopy orphan);
    // Leaves the unsaved work of the user's document to the next start, as
    // a copy of a program that is gone; the document stays until another
    // takes its place.
    void KeepForNextStart();
    // When the user's document was recovered and its file saved after the
    // recovered work was made: the time of that save.
    std::optional<QDateTime> NewerFileSaved() const;

    // The file at the path, as it is now, holds the user's document.
    void Rename(const std::optional<QString>& path);
    // Writes the user's document to the path, which becomes its file; tells
    // whether it was written in place.
    TWriteWay Save(const QString& path);
    // The project shown, as JSON or CSV.
    void Export(const QString& path) const;
    // A report or a picture of the project shown, to be started once its
    // signals are connected; none while another runs or when no project is
    // shown. The job works on a copy of the project and ends by itself once
    // it has told its end; the controller going cancels it and waits for it.
    TReportJob* NewReport(TReportKind kind, const QString& target, int format);
    TReportJob* NewPicture(TReportJob::TPictureDrawing draw, const QString& target);
    bool Reporting() const { return FReport != nullptr; }

    // Reads the project file at the path as another version of the project
    // shown; gives the comparison of the two, the project shown being the
    // newer version or the older one, as it then stands.
    std::function<TComparison(bool shownIsNewer)> CompareWith(const QString& path) const;

    // Reads the example that the example command shows.
    void LoadExample(const QString& path);
    // Shows the example in place of the user's project, or the user's
    // project again; nothing without an example.
    void ShowExample(bool shown);

    TRecoveryKeeper& Recovery() { return FRecovery; }

signals:
    // Another document is shown: a new or opened one, or the example swap.
    void CurrentChanged();
    // The file of the user's document changed.
    void PathChanged();
    // An example is ready, or no longer waits.
    void ExampleChanged();
    // Another program changed, replaced, moved or deleted the user's file.
    void ChangedOnDisk(TDiskChange change);

private:
    // The user's document is the one given from now on.
    void SetUserDocument(std::unique_ptr<TDocument> document);
    // The job is the one that runs until it has told its end.
    TReportJob* Follow(TReportJob* job);

    // Declared first, so that it outlives the documents it follows.
    TRecoveryKeeper FRecovery;
    std::unique_ptr<TDocument> FCurrent;
    std::unique_ptr<TDocument> FExample;
    std::unique_ptr<TDocument> FStashed;
    bool FExampleShown = false;
    QPointer<TReportJob> FReport;
    // When the recovered work of the user's document was made; none for a
    // document read or saved since.
    std::optional<QDateTime> FRecoveredMade;

    // The user's document is held by the file at the path, as it was read or
    // written: this program locks it, when nobody else does, and watches it.
    void FollowFile(const std::optional<QString>& path,
                    const std::optional<TFileIdentity>& identity);
    // Tells once each state of the file that this program did not make.
    void LookAtFile();

    std::unique_ptr<TLockFile> FLock;
    std::optional<TFileIdentity> FIdentity;
    std::optional<TFileIdentity> FSeen;
    std::optional<QString> FCopyOf;
    QFileSystemWatcher FWatcher;
};
