// Saves projects for the fault-injection tests, in a process of its own so
// that it can be killed, limited or deprived of rights.
//
//   merovan_save_helper once TARGET [--file-size-limit BYTES] [--disk-full-after BYTES]
//                                   [--as-nobody]
//                                   [--killed-at-byte N | --killed-at fsync|rename|renamed]
//                                   [--umask MASK] [--recovery-copy-in FOLDER]
//   merovan_save_helper report TARGET [--umask MASK]   the table report for a spreadsheet, else the
//   text report merovan_save_helper read PATH MEMORY-LIMIT  reads a project with that much memory
//
// --disk-full-after makes writes to files fail as on a full disk once that
// many bytes are written. A project written in place prints "in place".
// --killed-at-byte makes the kernel kill the save when its file reaches N
// bytes; --killed-at kills it on entering fsync or rename, or right after
// the rename. --umask sets the umask the program starts with;
// --recovery-copy-in writes a recovery copy in its thread while the project
// is saved, and prints its permission bits in octal. Whatever the request,
// a change of the umask after start-up fails it with status 4.
#include "ProjectBuilder.h"
#include "reports/UntReportExport.h"
#include "storage/UntIO.h"
#include "storage/UntProgramFolder.h"
#include "storage/UntRecovery.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <optional>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string_view KilledAt;
long long DiskRoom = -1;
bool Started = false;
bool UmaskChanged = false;

void KillHereIf(std::string_view point) {
    if (KilledAt == point)
        std::raise(SIGKILL);
}

template <typename Function> Function* Next(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

} // namespace

// These take the place of the C library's calls for the save in this
// process, so that it can be killed at a chosen point of its sequence.
extern "C" int fsync(int fd) {
    KillHereIf("fsync");
    static const auto next = Next<int(int)>("fsync");
    return next(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    KillHereIf("rename");
    static const auto next = Next<int(const char*, const char*)>("rename");
    const int result = next(from, to);
    KillHereIf("renamed");
    return result;
}

extern "C" ssize_t write(int fd, const void* data, size_t size) {
    static const auto next = Next<ssize_t(int, const void*, size_t)>("write");
    struct stat status {};
    if (DiskRoom >= 0 && fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
        if (DiskRoom == 0) {
            errno = ENOSPC;
            return -1;
        }
        size = std::min<size_t>(size, static_cast<size_t>(DiskRoom));
        const ssize_t written = next(fd, data, size);
        DiskRoom -= written > 0 ? written : 0;
        return written;
    }
    return next(fd, data, size);
}

extern "C" mode_t umask(mode_t mask) noexcept {
    UmaskChanged = UmaskChanged || Started;
    static const auto next = Next<mode_t(mode_t)>("umask");
    return next(mask);
}

// A project large enough that a save takes a while.
namespace {

std::unique_ptr<TProject> Project(const char* name, int factors) {
    auto project = std::make_unique<TProject>();
    project->Title = QString::fromLatin1(name);
    for (int i = 0; i < factors; ++i) {
        auto item = std::make_unique<TTOWSItem>();
        item->Name = QStringLiteral("%1 factor %2").arg(QLatin1String(name)).arg(i);
        item->SwotType = i % 4 + 1;
        item->Comments = {
            QStringLiteral("{\\rtf1\\ansi\\pard Comment number %1 of %2\\par }").arg(i).arg(name)};
        project->Items.push_back(std::move(item));
    }
    return project;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc < 3)
        return 2;
    const QString target = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "read") == 0 && argc == 4) {
        const rlim_t limit = std::strtoull(argv[3], nullptr, 10);
        const rlimit bounds{limit, limit};
        setrlimit(RLIMIT_AS, &bounds);
        try {
            ReadProject(target);
        } catch (const EStorageError& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
        return 0;
    }
    QString recoveryFolder;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--file-size-limit") == 0 && i + 1 < argc) {
            const rlim_t limit = std::strtoull(argv[++i], nullptr, 10);
            const rlimit bounds{limit, limit};
            setrlimit(RLIMIT_FSIZE, &bounds);
            std::signal(SIGXFSZ, SIG_IGN);
        } else if (std::strcmp(argv[i], "--disk-full-after") == 0 && i + 1 < argc) {
            DiskRoom = std::strtoll(argv[++i], nullptr, 10);
        } else if (std::strcmp(argv[i], "--killed-at-byte") == 0 && i + 1 < argc) {
            const rlim_t limit = std::strtoull(argv[++i], nullptr, 10);
            const rlimit bounds{limit, limit};
            setrlimit(RLIMIT_FSIZE, &bounds);
        } else if (std::strcmp(argv[i], "--killed-at") == 0 && i + 1 < argc) {
            KilledAt = argv[++i];
        } else if (std::strcmp(argv[i], "--as-nobody") == 0 && getuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                return 3;
        } else if (std::strcmp(argv[i], "--umask") == 0 && i + 1 < argc) {
            umask(static_cast<mode_t>(std::strtoul(argv[++i], nullptr, 8)));
        } else if (std::strcmp(argv[i], "--recovery-copy-in") == 0 && i + 1 < argc) {
            recoveryFolder = QString::fromLocal8Bit(argv[++i]);
        }
    }
    Started = true;
    try {
        if (std::strcmp(argv[1], "report") == 0) {
            const TReportKind kind = ReportFormatOf(TReportKind::Text, target) == 0
                                         ? TReportKind::Table
                                         : TReportKind::Text;
            ExportReport(kind, *Project("Report", 3), ProgramFolder(), target,
                         ReportFormatOf(kind, target));
        } else {
            std::optional<TRecoveryCopy> copy;
            if (!recoveryFolder.isEmpty()) {
                copy.emplace(recoveryFolder);
                copy->Write(Project("Recovered", 3000), std::nullopt);
            }
            if (WriteProject(*Project("Third", 3000), target) == TWriteWay::InPlace)
                std::printf("in place\n");
            if (copy) {
                copy->Finish();
                struct stat status {};
                if (::stat(QFile::encodeName(copy->Path()).constData(), &status) == 0)
                    std::printf("%o\n", status.st_mode & 07777);
            }
        }
    } catch (const EMerovanError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    if (UmaskChanged) {
        std::fprintf(stderr, "the umask was changed\n");
        return 4;
    }
    return 0;
}
