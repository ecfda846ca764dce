// Reports made by jobs on the conversion thread, as the window makes them.
#include "model/UntStringIds.h"
#include "reports/UntReportJob.h"
#include "storage/UntDataModule.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

std::unique_ptr<TProject> Bakery() {
    return ReadProject(ProgramFolder() + "templates/Family bakery - online sales.swot");
}

// The bridges this program started: each serves one LibreOffice.
QStringList Bridges() {
    QStringList bridges;
    const QByteArray parent = QByteArray::number(::getpid());
    for (const QString& pid : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + pid + "/stat");
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (!stat.open(QIODevice::ReadOnly) || !cmdline.open(QIODevice::ReadOnly))
            continue;
        // "pid (name) state ppid ...", the name holding any character.
        const QByteArray status = stat.readAll();
        const QList<QByteArray> fields = status.mid(status.lastIndexOf(')') + 2).split(' ');
        if (fields.value(1) == parent && cmdline.readAll().contains("--serve"))
            bridges << pid;
    }
    return bridges;
}

QString PdfText(const QString& path) {
    QProcess pdftotext;
    pdftotext.start("pdftotext", {"-layout", path, "-"});
    EXPECT_TRUE(pdftotext.waitForFinished(30000));
    return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

// A job and what it told.
struct TWatchedJob {
    TWatchedJob(TReportKind kind, const TProject& project, const QString& target, int format)
        : Job(kind, project, ProgramFolder(), target, format) {}

    // Waits until the job has ended, whichever way; true when it wrote the report.
    bool Writes() {
        EXPECT_TRUE(QTest::qWaitFor(
            [this] { return Written.size() + Failed.size() + Cancelled.size() > 0; }, 200000));
        EXPECT_TRUE(Failed.isEmpty()) << Failed.value(0).value(0).toString().toStdString();
        return Written.size() == 1;
    }

    TReportJob Job;
    QSignalSpy Stages{&Job, &TReportJob::StageReached};
    QSignalSpy Begun{&Job, &TReportJob::ConversionBegun};
    QSignalSpy Written{&Job, &TReportJob::Written};
    QSignalSpy Failed{&Job, &TReportJob::Failed};
    QSignalSpy Cancelled{&Job, &TReportJob::Cancelled};
};

} // namespace

TEST(ReportJob, TwoReportsInARowShareOneSuite) {
    QTemporaryDir folder;
    const auto project = Bakery();
    QStringList bridges;
    for (const auto& [kind, name, format] : {std::tuple{TReportKind::Text, "report.pdf", 3},
                                             std::tuple{TReportKind::Table, "matrix.xls", 2}}) {
        TWatchedJob watched(kind, *project, folder.filePath(name), format);
        watched.Job.Start();
        ASSERT_TRUE(watched.Writes());
        EXPECT_EQ(watched.Written.value(0).value(0).toString(), folder.filePath(name));
        EXPECT_EQ(watched.Begun.size(), 1) << name;
        EXPECT_EQ(watched.Stages.value(0).value(0).toInt(), StrReportConverting) << name;
        if (bridges.isEmpty())
            bridges = Bridges();
        else
            EXPECT_EQ(Bridges(), bridges) << "the suite started again";
    }
    EXPECT_FALSE(bridges.isEmpty());
    EXPECT_TRUE(PdfText(folder.filePath("report.pdf")).contains("Maison Fournier"));
}

// The suite stores under a hidden name beside the report; what conversions
// cut short left there goes once the same report is written again.
TEST(ReportJob, AConversionClearsTheLeftoversOfEarlierOnes) {
    QTemporaryDir folder;
    const QString target = folder.filePath("report.pdf");
    QString leftover = PiecePattern(target);
    leftover.replace(leftover.size() - 6, 6, "Ab12cd");
    QFile planted(leftover);
    ASSERT_TRUE(planted.open(QIODevice::WriteOnly));
    planted.close();
    ASSERT_TRUE(QFileInfo(leftover).fileName().startsWith('.'));

    TWatchedJob watched(TReportKind::Text, *Bakery(), target, 3);
    watched.Job.Start();
    ASSERT_TRUE(watched.Writes());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});
}

// Cancelled while the suite converts: the report stays as it was, nothing of
// the job stays behind, and the next job converts.
TEST(ReportJob, CancelDuringTheConversionLeavesTheReportAsItWas) {
    QTemporaryDir folder;
    WriteFileAtomically(folder.filePath("report.pdf"), "old");
    const auto project = Bakery();

    TWatchedJob cancelled(TReportKind::Text, *project, folder.filePath("report.pdf"), 3);
    cancelled.Job.Start();
    ASSERT_TRUE(cancelled.Begun.wait(200000));
    cancelled.Job.Cancel();
    ASSERT_TRUE(cancelled.Cancelled.wait(30000));
    EXPECT_TRUE(cancelled.Written.isEmpty());
    EXPECT_TRUE(cancelled.Failed.isEmpty());
    QFile old(folder.filePath("report.pdf"));
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"report.pdf"});
    EXPECT_EQ(QDir(WorkFolder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{})
        << "neither the copy for the suite nor anything the suite put beside it";

    TWatchedJob next(TReportKind::Text, *project, folder.filePath("report.pdf"), 3);
    next.Job.Start();
    ASSERT_TRUE(next.Writes());
    EXPECT_TRUE(PdfText(folder.filePath("report.pdf")).contains("Maison Fournier"));
}
