// merovan-convert SOURCE TARGET FILTER
// merovan-convert --serve
//
// Has LibreOffice store the document SOURCE as TARGET with the export filter
// FILTER. It starts a LibreOffice of its own, headless, with a private
// profile and its own pipe, so that a LibreOffice the user has open is
// neither disturbed nor waited for; loads SOURCE hidden; refreshes a text
// document's first index; stores; and always ends the suite it started.
//
// With --serve it takes one request after another on standard input, so that
// the suite starts once: a line of SOURCE, TARGET and FILTER, each
// percent-encoded, separated by tabs. Each request is answered on standard
// output by a line "ok" or "error " and the reason. The end of the input ends
// the suite and the bridge.
//
// Without --serve the exit status is 0 only when TARGET was stored; otherwise
// one line on standard error says why.
//
// Either way a line "converting" on standard output tells that the suite has
// started and the conversion itself begins, so that whoever waits can tell
// the two apart. MEROVAN_CONVERT_LOG may name a file that gets a copy of every
// line of standard output: it lets a test see the bridge of another program.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QUrl>
#include <QUuid>
#include <atomic>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/bridge/XUnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <com/sun/star/text/XDocumentIndex.hpp>
#include <com/sun/star/text/XDocumentIndexesSupplier.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <com/sun/star/util/XCloseable.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <optional>
#include <pthread.h>
#include <rtl/ustring.hxx>
#include <stdexcept>
#include <string>
#include <sys/types.h>
#include <thread>
#include <unistd.h>

using namespace com::sun::star;

namespace {

const char* const Office = MEROVAN_OFFICE_PROGRAM;
// The suite has this long to start, and each conversion to end.
constexpr int StartSeconds = 60;
constexpr int RequestSeconds = 180;

std::atomic<qint64> OfficePid{0};
// The private folder of this bridge: the suite's profile and its temporary
// files. Whatever ends the bridge removes it.
QString WorkPath;
// When the work under way must have ended, in milliseconds since the epoch;
// 0 while the bridge waits for a request.
std::atomic<qint64> Deadline{0};

rtl::OUString ToOUString(const QString& text) {
    return rtl::OUString(reinterpret_cast<const sal_Unicode*>(text.utf16()), text.size());
}

// A file URL as LibreOffice expects it: blanks and other characters
// percent-encoded.
QString FileUrl(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

QString FromOUString(const rtl::OUString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getStr()), text.getLength());
}

void KillOffice() {
    if (const qint64 pid = OfficePid.exchange(0))
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
}

void CleanUp() {
    KillOffice();
    // The suite's processes die a moment after the kill, and may write until then.
    for (int attempt = 0; attempt < 50 && !WorkPath.isEmpty(); ++attempt) {
        if (QDir(WorkPath).removeRecursively())
            return;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

[[noreturn]] void Fail(const QString& reason) {
    // The first failure is the one told; another thread failing meanwhile
    // (the suite dying from our own kill) waits here for the exit.
    static std::mutex failing;
    failing.lock();
    CleanUp();
    std::fprintf(stderr, "%s\n", qPrintable(reason));
    std::_Exit(1);
}

// SIGTERM and SIGINT are taken by a thread of their own, where cleaning up is
// safe, rather than by a handler that may interrupt anything.
void CatchInterruptions() {
    static sigset_t interruptions;
    sigemptyset(&interruptions);
    sigaddset(&interruptions, SIGTERM);
    sigaddset(&interruptions, SIGINT);
    pthread_sigmask(SIG_BLOCK, &interruptions, nullptr);
    std::thread([] {
        int received = 0;
        sigwait(&interruptions, &received);
        Fail(QStringLiteral("the conversion was interrupted"));
    }).detach();
}

qint64 Now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void AllowSeconds(int seconds) {
    Deadline = Now() + seconds * 1000LL;
}

// A suite that hangs ends the bridge, whatever call waits for it.
void WatchDeadline() {
    std::thread([] {
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
            const qint64 deadline = Deadline;
            if (deadline != 0 && Now() > deadline)
                Fail(QStringLiteral("LibreOffice took more than %1 seconds").arg(RequestSeconds));
        }
    }).detach();
}

beans::PropertyValue Property(const char* name, const uno::Any& value) {
    beans::PropertyValue property;
    property.Name = rtl::OUString::createFromAscii(name);
    property.Value = value;
    return property;
}

// The suite this bridge started and talks to.
class TOffice {
public:
    TOffice();
    // Stores source as target with the filter; throws when the suite fails.
    void Convert(const QString& source, const QString& target, const QString& filter);
    // Whether the suite still runs, so that another request may follow a failure.
    bool Running() const { return FProcess.state() != QProcess::NotRunning; }
    // Ends the suite and removes the bridge's folder.
    void Quit();

private:
    void Connect(const QString& pipe);

    QProcess FProcess;
    uno::Reference<frame::XDesktop2> FDesktop;
};

TOffice::TOffice() {
    const QString officeDir =
        qEnvironmentVariable("MEROVAN_OFFICE_DIR", QString::fromLatin1(Office));
    // The launcher restarts the suite once it has made the new profile.
    const QString binary = officeDir + QStringLiteral("/soffice");
    if (!QFileInfo(binary).isExecutable())
        Fail(QStringLiteral("LibreOffice is not installed (%1 is missing)").arg(binary));
    qputenv("URE_BOOTSTRAP", ("vnd.sun.star.pathname:" + officeDir + "/fundamentalrc").toUtf8());

    QTemporaryDir work(QDir::tempPath() + QStringLiteral("/merovan-office-XXXXXX"));
    if (!work.isValid())
        Fail(QStringLiteral("no working folder can be made in %1: %2")
                 .arg(QDir::tempPath(), work.errorString()));
    work.setAutoRemove(false);
    WorkPath = work.path();
    const QString profile = WorkPath + QStringLiteral("/profile");
    const QString pipe = QStringLiteral("merovan-") + QUuid::createUuid().toString(QUuid::Id128);
    // A process group of its own, so that ending it ends every process of the suite.
    // It takes signals as any program does, whatever this one blocks.
    FProcess.setChildProcessModifier([] {
        ::setsid();
        std::signal(SIGPIPE, SIG_DFL);
        sigset_t none;
        sigemptyset(&none);
        pthread_sigmask(SIG_SETMASK, &none, nullptr);
    });
    FProcess.setStandardOutputFile(QProcess::nullDevice());
    FProcess.setStandardErrorFile(QProcess::nullDevice());
    // The suite's own temporary folders go with ours.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), WorkPath);
    FProcess.setProcessEnvironment(environment);
    FProcess.start(
        binary,
        {QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--nologo"),
         QStringLiteral("--norestore"), QStringLiteral("--nodefault"),
         QStringLiteral("--nolockcheck"),
         QStringLiteral("-env:UserInstallation=") + FileUrl(profile),
         QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe)});
    if (!FProcess.waitForStarted(10000))
        Fail(QStringLiteral("LibreOffice could not be started: %1").arg(FProcess.errorString()));
    OfficePid = FProcess.processId();
    AllowSeconds(StartSeconds + 5);
    Connect(pipe);
    Deadline = 0;
}

// Connects to the suite through its pipe, waiting while it starts.
void TOffice::Connect(const QString& pipe) {
    try {
        const uno::Reference<uno::XComponentContext> local =
            cppu::defaultBootstrap_InitialComponentContext();
        const uno::Reference<bridge::XUnoUrlResolver> resolver =
            bridge::UnoUrlResolver::create(local);
        const rtl::OUString url = ToOUString(
            QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe));
        for (int attempt = 0; attempt < StartSeconds * 10; ++attempt) {
            try {
                const uno::Reference<uno::XComponentContext> context(resolver->resolve(url),
                                                                     uno::UNO_QUERY_THROW);
                FDesktop = frame::Desktop::create(context);
                return;
            } catch (const connection::NoConnectException&) {
                if (FProcess.waitForFinished(100))
                    Fail(QStringLiteral("LibreOffice ended before it could be reached"));
            }
        }
    } catch (const uno::Exception& error) {
        Fail(QStringLiteral("LibreOffice could not be reached: %1")
                 .arg(FromOUString(error.Message)));
    }
    Fail(QStringLiteral("LibreOffice did not answer in %1 seconds").arg(StartSeconds));
}

void TOffice::Convert(const QString& source, const QString& target, const QString& filter) {
    if (!QFileInfo(source).isFile())
        throw std::runtime_error(source.toStdString() + " does not exist");
    // The suite reads a copy in our folder: the lock file it puts beside the
    // document goes with the folder when the conversion is cut short, instead
    // of making the next suite refuse the source as in use.
    const QString loaded = WorkPath + QStringLiteral("/") + QFileInfo(source).fileName();
    QFile::remove(loaded);
    const auto removeCopy = qScopeGuard([&loaded] { QFile::remove(loaded); });
    if (!QFile::copy(source, loaded))
        throw std::runtime_error(source.toStdString() + " cannot be copied for LibreOffice");
    uno::Sequence<beans::PropertyValue> load(1);
    load.getArray()[0] = Property("Hidden", uno::Any(true));
    const uno::Reference<lang::XComponent> document =
        FDesktop->loadComponentFromURL(ToOUString(FileUrl(loaded)), "_blank", 0, load);
    if (!document.is())
        throw std::runtime_error("LibreOffice could not load " + source.toStdString());
    // The suite stores into our folder; only a whole file reaches the target.
    const QString stored = WorkPath + QStringLiteral("/converted");
    try {
        // A text document's table of contents is filled in, whatever the format.
        const uno::Reference<text::XDocumentIndexesSupplier> supplier(document, uno::UNO_QUERY);
        if (supplier.is()) {
            const uno::Reference<container::XIndexAccess> indexes = supplier->getDocumentIndexes();
            if (!indexes.is() || indexes->getCount() == 0)
                throw std::runtime_error("the document has no index to refresh");
            uno::Reference<text::XDocumentIndex> index(indexes->getByIndex(0),
                                                       uno::UNO_QUERY_THROW);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
            index->update();
#pragma GCC diagnostic pop
        }
        uno::Sequence<beans::PropertyValue> store(2);
        store.getArray()[0] = Property("FilterName", uno::Any(ToOUString(filter)));
        store.getArray()[1] = Property("Overwrite", uno::Any(true));
        uno::Reference<frame::XStorable>(document, uno::UNO_QUERY_THROW)
            ->storeToURL(ToOUString(FileUrl(stored)), store);
    } catch (...) {
        document->dispose();
        QFile::remove(stored);
        throw;
    }
    const uno::Reference<util::XCloseable> closeable(document, uno::UNO_QUERY);
    if (closeable.is())
        closeable->close(true);
    else
        document->dispose();
    if (!QFileInfo(stored).isFile())
        throw std::runtime_error("LibreOffice stored nothing");
    QFile::remove(target);
    if (!QFile::rename(stored, target)) {
        QFile::remove(stored);
        throw std::runtime_error("the converted file cannot be written to " + target.toStdString());
    }
}

void TOffice::Quit() {
    try {
        FDesktop->terminate();
    } catch (const uno::Exception&) {
        // Ended at any rate below.
    }
    // The suite ends by itself after terminate; it is ended at any rate.
    FProcess.waitForFinished(15000);
    CleanUp();
}

// The reason of what the conversion threw, on one line.
QString Reason() {
    try {
        throw;
    } catch (const uno::Exception& error) {
        return QStringLiteral("LibreOffice failed: %1").arg(FromOUString(error.Message));
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
}

QString Absolute(const QString& path) {
    return QFileInfo(path).absoluteFilePath();
}

void Answer(const QString& line) {
    std::cout << line.toStdString() << std::endl;
    static const QString copy = qEnvironmentVariable("MEROVAN_CONVERT_LOG");
    if (copy.isEmpty())
        return;
    QFile log(copy);
    if (log.open(QIODevice::Append))
        log.write(line.toUtf8() + '\n');
}

int ConvertOne(const QString& source, const QString& target, const QString& filter) {
    if (!QFileInfo(source).isFile())
        Fail(QStringLiteral("%1 does not exist").arg(source));
    TOffice office;
    AllowSeconds(RequestSeconds);
    Answer(QStringLiteral("converting"));
    try {
        office.Convert(Absolute(source), Absolute(target), filter);
    } catch (...) {
        Fail(Reason());
    }
    office.Quit();
    return 0;
}

int Serve() {
    std::optional<TOffice> office;
    std::string line;
    while (std::getline(std::cin, line)) {
        const QList<QByteArray> fields = QByteArray::fromStdString(line).split('\t');
        if (fields.size() != 3) {
            Answer(QStringLiteral("error the request is not SOURCE, TARGET and FILTER"));
            continue;
        }
        const auto field = [&fields](int i) {
            return QString::fromUtf8(QByteArray::fromPercentEncoding(fields[i]));
        };
        if (!office)
            office.emplace();
        AllowSeconds(RequestSeconds);
        Answer(QStringLiteral("converting"));
        try {
            office->Convert(Absolute(field(0)), Absolute(field(1)), field(2));
            Answer(QStringLiteral("ok"));
        } catch (...) {
            Answer(QStringLiteral("error ") + Reason().simplified());
        }
        Deadline = 0;
        // A suite that died with the request is not asked again.
        if (!office->Running())
            Fail(QStringLiteral("LibreOffice ended unexpectedly"));
    }
    if (office)
        office->Quit();
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    // Before any thread exists, so that every thread blocks them.
    CatchInterruptions();
    // An answer to a program that has ended must not end the bridge before
    // it has cleaned up: the failed write is harmless.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication application(argc, argv);
    WatchDeadline();
    if (argc == 2 && std::string(argv[1]) == "--serve")
        return Serve();
    if (argc != 4) {
        std::fprintf(stderr, "usage: merovan-convert SOURCE TARGET FILTER\n"
                             "       merovan-convert --serve\n");
        return 2;
    }
    return ConvertOne(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                      QString::fromUtf8(argv[3]));
}
