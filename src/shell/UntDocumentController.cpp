#include "shell/UntDocumentController.h"

#include "reports/UntReportJob.h"
#include "storage/UntIO.h"
#include "storage/UntInterchange.h"
#include "storage/UntLockFile.h"
#include "storage/UntProgramFolder.h"
#include "storage/UntRecovery.h"

#include <QFileInfo>

TDocumentController::TDocumentController(QObject* parent) : QObject(parent) {
    // The folder too: a file renamed over the one watched, or made again,
    // is seen there.
    connect(&FWatcher, &QFileSystemWatcher::fileChanged, this, &TDocumentController::LookAtFile);
    connect(&FWatcher, &QFileSystemWatcher::directoryChanged, this,
            &TDocumentController::LookAtFile);
}

TDocumentController::~TDocumentController() = default;

std::optional<QString> TDocumentController::DocumentPath() const {
    const TDocument* document = UserDocument();
    return document ? document->Path() : std::nullopt;
}

void TDocumentController::SetUserDocument(std::unique_ptr<TDocument> document) {
    // The example waits aside again: the new document is shown.
    if (FExampleShown) {
        FExample = std::move(FCurrent);
        FStashed.reset();
        FExampleShown = false;
        emit ExampleChanged();
    }
    FCurrent = std::move(document);
    FRecoveredMade.reset();
    FRecovery.Follow(FCurrent.get());
    emit CurrentChanged();
    emit PathChanged();
}

void TDocumentController::New() {
    auto document = std::make_unique<TDocument>(ReadProject(ReferenceTemplate()));
    document->SetPath(std::nullopt);
    FollowFile(std::nullopt, std::nullopt);
    SetUserDocument(std::move(document));
}

void TDocumentController::Open(const QString& path) {
    // Known before reading: a change made while it is read shows at the save.
    const std::optional<TFileIdentity> identity = TFileIdentity::Of(path);
    auto document = std::make_unique<TDocument>(ReadProject(path));
    document->SetPath(path);
    FollowFile(path, identity);
    SetUserDocument(std::move(document));
}

void TDocumentController::OpenUnsaved(std::unique_ptr<TProject> project,
                                      const std::optional<QString>& origin) {
    auto document = std::make_unique<TDocument>(std::move(project));
    document->SetPath(origin);
    document->MarkUnsaved();
    FollowFile(origin, origin ? TFileIdentity::Of(*origin) : std::nullopt);
    SetUserDocument(std::move(document));
}

QStringList TDocumentController::Import(const QString& path) {
    QStringList remarks;
    OpenUnsaved(ImportProject(path, &remarks), std::nullopt);
    return remarks;
}

void TDocumentController::Recover(TOrphanCopy orphan) {
    const std::optional<QString> origin = orphan.Origin();
    const QDateTime made = orphan.Made();
    OpenUnsaved(orphan.TakeProject(), origin);
    FRecovery.Adopt(std::move(orphan));
    FRecoveredMade = made;
}

void TDocumentController::KeepForNextStart() {
    FRecovery.Leave();
}

std::optional<QDateTime> TDocumentController::NewerFileSaved() const {
    const std::optional<QString> path = DocumentPath();
    if (!FRecoveredMade || !path)
        return std::nullopt;
    const QFileInfo file(*path);
    if (!file.exists() || file.lastModified() <= *FRecoveredMade)
        return std::nullopt;
    return file.lastModified();
}

TWriteWay TDocumentController::Save(const QString& path) {
    TDocument* document = UserDocument();
    if (!document)
        return TWriteWay::Replaced;
    const TWriteWay way = WriteProject(document->Project(), path);
    document->MarkSaved();
    document->SetPath(path);
    FRecoveredMade.reset();
    FollowFile(path, TFileIdentity::Of(path));
    FRecovery.Keep();
    emit PathChanged();
    return way;
}

void TDocumentController::Export(const QString& path) const {
    if (FCurrent)
        ExportProject(FCurrent->Project(), path);
}

std::function<TComparison(bool shownIsNewer)>
TDocumentController::CompareWith(const QString& path) const {
    std::shared_ptr<const TProject> other = ReadProject(path);
    return [this, other, path](bool shownIsNewer) {
        const TProject& shown = FCurrent->Project();
        TComparison comparison =
            shownIsNewer ? CompareProjects(*other, shown) : CompareProjects(shown, *other);
        (shownIsNewer ? comparison.Old : comparison.New).File = path;
        (shownIsNewer ? comparison.New : comparison.Old).File = FCurrent->Path();
        return comparison;
    };
}

TReportJob* TDocumentController::NewReport(TReportKind kind, const QString& target, int format) {
    if (!FCurrent || FReport)
        return nullptr;
    return Follow(new TReportJob(kind, FCurrent->Project(), ProgramFolder(), target, format, this));
}

TReportJob* TDocumentController::NewPicture(TReportJob::TPictureDrawing draw,
                                            const QString& target) {
    if (!FCurrent || FReport)
        return nullptr;
    return Follow(new TReportJob(std::move(draw), FCurrent->Project(), target, this));
}

TReportJob* TDocumentController::Follow(TReportJob* job) {
    // Another job may start as soon as this one has told its end.
    const auto end = [this, job] {
        FReport = nullptr;
        job->deleteLater();
    };
    connect(job, &TReportJob::Written, this, end);
    connect(job, &TReportJob::Failed, this, end);
    connect(job, &TReportJob::Cancelled, this, end);
    FReport = job;
    return job;
}

void TDocumentController::LoadExample(const QString& path) {
    auto example = std::make_unique<TDocument>(ReadProject(path));
    example->SetPath(path);
    if (FExampleShown)
        ShowExample(false);
    FExample = std::move(example);
    emit ExampleChanged();
}

void TDocumentController::ShowExample(bool shown) {
    if (shown == FExampleShown || (shown && (!FCurrent || !FExample)))
        return;
    if (shown) {
        FStashed = std::move(FCurrent);
        FCurrent = std::move(FExample);
    } else {
        FExample = std::move(FCurrent);
        FCurrent = std::move(FStashed);
    }
    FExampleShown = shown;
    emit CurrentChanged();
}

std::optional<TLockOwner> TDocumentController::InUseBy(const QString& path) const {
    if (FLock && QFileInfo(FLock->Document()) == QFileInfo(path))
        return std::nullopt;
    return TLockFile::Holder(path);
}

void TDocumentController::OpenCopy(const QString& path) {
    auto document = std::make_unique<TDocument>(ReadProject(path));
    document->SetPath(std::nullopt);
    FollowFile(std::nullopt, std::nullopt);
    FCopyOf = path;
    SetUserDocument(std::move(document));
}

void TDocumentController::LetGo() {
    FLock.reset();
    if (const QStringList watched = FWatcher.files() + FWatcher.directories(); !watched.isEmpty())
        FWatcher.removePaths(watched);
}

void TDocumentController::Rename(const std::optional<QString>& path) {
    TDocument* document = UserDocument();
    if (!document)
        return;
    document->SetPath(path);
    FollowFile(path, path ? TFileIdentity::Of(*path) : std::nullopt);
    emit PathChanged();
}

TDiskChange TDocumentController::FileChange() const {
    const std::optional<QString> path = DocumentPath();
    return path ? DiskChange(FIdentity, *path) : TDiskChange::None;
}

void TDocumentController::FollowFile(const std::optional<QString>& path,
                                     const std::optional<TFileIdentity>& identity) {
    // The lock of a file saved again stays as it was taken.
    if (!path || !FLock || QFileInfo(FLock->Document()) != QFileInfo(*path)) {
        FLock.reset();
        if (path)
            FLock = TLockFile::Take(*path);
    }
    FIdentity = identity;
    FSeen = identity;
    FCopyOf.reset();
    if (const QStringList watched = FWatcher.files() + FWatcher.directories(); !watched.isEmpty())
        FWatcher.removePaths(watched);
    if (path)
        FWatcher.addPaths({*path, QFileInfo(*path).path()});
}

void TDocumentController::LookAtFile() {
    const std::optional<QString> path = DocumentPath();
    if (!path)
        return;
    // A rename over the file ends the watch of the file it replaced.
    if (!FWatcher.files().contains(*path) && QFileInfo::exists(*path))
        FWatcher.addPath(*path);
    const std::optional<TFileIdentity> now = TFileIdentity::Of(*path);
    if (now == FSeen)
        return;
    FSeen = now;
    if (now != FIdentity)
        emit ChangedOnDisk(DiskChange(FIdentity, *path));
}
