// merovan-convert SOURCE TARGET FILTER
//
// Has LibreOffice store the document SOURCE as TARGET with the export filter
// FILTER. It starts a LibreOffice of its own, headless, with a private
// profile and its own pipe, so that a LibreOffice the user has open is
// neither disturbed nor waited for; loads SOURCE hidden; for the Word and PDF
// filters refreshes the document's first index; stores; and always ends the
// suite it started. Exit status 0 only when TARGET was stored; otherwise one
// line on standard error says why.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
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
#include <mutex>
#include <pthread.h>
#include <rtl/ustring.hxx>
#include <stdexcept>
#include <sys/types.h>
#include <thread>
#include <unistd.h>

using namespace com::sun::star;

namespace {

const char* const Office = MEROVAN_OFFICE_PROGRAM;
// The suite has this long to start, and the whole conversion to end.
constexpr int StartSeconds = 60;
constexpr int TotalSeconds = 180;

std::atomic<qint64> OfficePid{0};
// The private folder of this conversion: the suite's profile and its
// temporary files. Whatever ends the conversion removes it.
QString WorkPath;

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

beans::PropertyValue Property(const char* name, const uno::Any& value) {
    beans::PropertyValue property;
    property.Name = rtl::OUString::createFromAscii(name);
    property.Value = value;
    return property;
}

// Connects to the suite through its pipe, waiting while it starts.
uno::Reference<uno::XComponentContext> Connect(const uno::Reference<uno::XComponentContext>& local,
                                               const QString& pipe, QProcess& office) {
    const uno::Reference<bridge::XUnoUrlResolver> resolver = bridge::UnoUrlResolver::create(local);
    const rtl::OUString url =
        ToOUString(QStringLiteral("uno:pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe));
    for (int attempt = 0; attempt < StartSeconds * 10; ++attempt) {
        try {
            return uno::Reference<uno::XComponentContext>(resolver->resolve(url),
                                                          uno::UNO_QUERY_THROW);
        } catch (const connection::NoConnectException&) {
            if (office.waitForFinished(100))
                Fail(QStringLiteral("LibreOffice ended before it could be reached"));
        }
    }
    Fail(QStringLiteral("LibreOffice did not answer in %1 seconds").arg(StartSeconds));
}

void Convert(const uno::Reference<uno::XComponentContext>& context, const QString& source,
             const QString& target, const QString& filter) {
    const uno::Reference<frame::XDesktop2> desktop = frame::Desktop::create(context);
    uno::Sequence<beans::PropertyValue> load(1);
    load.getArray()[0] = Property("Hidden", uno::Any(true));
    const uno::Reference<lang::XComponent> document =
        desktop->loadComponentFromURL(ToOUString(FileUrl(source)), "_blank", 0, load);
    if (!document.is())
        throw std::runtime_error("LibreOffice could not load " + source.toStdString());
    try {
        if (filter == QLatin1String("MS Word 97") || filter == QLatin1String("writer_pdf_Export")) {
            const uno::Reference<text::XDocumentIndexesSupplier> supplier(document,
                                                                          uno::UNO_QUERY_THROW);
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
            ->storeToURL(ToOUString(FileUrl(target)), store);
    } catch (...) {
        document->dispose();
        throw;
    }
    const uno::Reference<util::XCloseable> closeable(document, uno::UNO_QUERY);
    if (closeable.is())
        closeable->close(true);
    else
        document->dispose();
    desktop->terminate();
}

} // namespace

int main(int argc, char* argv[]) {
    // Before any thread exists, so that every thread blocks them.
    CatchInterruptions();
    QCoreApplication application(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: merovan-convert SOURCE TARGET FILTER\n");
        return 2;
    }
    const QString source = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const QString target = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    const QString filter = QString::fromUtf8(argv[3]);
    if (!QFileInfo(source).isFile())
        Fail(QStringLiteral("%1 does not exist").arg(source));

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
    // The suite stores into our folder; only a whole file reaches the target.
    const QString stored = WorkPath + QStringLiteral("/converted");
    const QString pipe = QStringLiteral("merovan-") + QUuid::createUuid().toString(QUuid::Id128);
    QProcess office;
    // A process group of its own, so that ending it ends every process of the suite.
    // It takes signals as any program does, whatever this one blocks.
    office.setChildProcessModifier([] {
        ::setsid();
        sigset_t none;
        sigemptyset(&none);
        pthread_sigmask(SIG_SETMASK, &none, nullptr);
    });
    office.setStandardOutputFile(QProcess::nullDevice());
    office.setStandardErrorFile(QProcess::nullDevice());
    // The suite's own temporary folders go with ours.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), WorkPath);
    office.setProcessEnvironment(environment);
    office.start(
        binary,
        {QStringLiteral("--headless"), QStringLiteral("--invisible"), QStringLiteral("--nologo"),
         QStringLiteral("--norestore"), QStringLiteral("--nodefault"),
         QStringLiteral("--nolockcheck"),
         QStringLiteral("-env:UserInstallation=") + FileUrl(profile),
         QStringLiteral("--accept=pipe,name=%1;urp;StarOffice.ComponentContext").arg(pipe)});
    if (!office.waitForStarted(10000))
        Fail(QStringLiteral("LibreOffice could not be started: %1").arg(office.errorString()));
    OfficePid = office.processId();

    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(TotalSeconds));
        Fail(QStringLiteral("LibreOffice took more than %1 seconds").arg(TotalSeconds));
    }).detach();

    try {
        const uno::Reference<uno::XComponentContext> local =
            cppu::defaultBootstrap_InitialComponentContext();
        Convert(Connect(local, pipe, office), source, stored, filter);
    } catch (const uno::Exception& error) {
        Fail(QStringLiteral("LibreOffice failed: %1").arg(FromOUString(error.Message)));
    } catch (const std::exception& error) {
        Fail(QString::fromStdString(error.what()));
    }
    // The suite ends by itself after terminate; it is ended at any rate.
    office.waitForFinished(15000);
    if (!QFileInfo(stored).isFile())
        Fail(QStringLiteral("LibreOffice stored nothing"));
    QFile::remove(target);
    if (!QFile::rename(stored, target))
        Fail(QStringLiteral("the converted file cannot be written to %1").arg(target));
    CleanUp();
    return 0;
}
