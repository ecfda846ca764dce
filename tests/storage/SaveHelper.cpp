// Saves projects for the fault-injection tests, in a process of its own so
// that it can be killed, limited or deprived of rights.
//
//   merovan_save_helper loop TARGET           saves two projects in turn, forever
//   merovan_save_helper once TARGET [--file-size-limit BYTES] [--as-nobody]
//   merovan_save_helper read PATH MEMORY-LIMIT  reads a project with that much memory
#include "ProjectBuilder.h"
#include "UntIO.h"

#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>
#include <unistd.h>

// A project large enough that a save takes a while.
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

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    if (argc < 3)
        return 2;
    const QString target = QString::fromLocal8Bit(argv[2]);
    if (std::strcmp(argv[1], "loop") == 0) {
        const auto first = Project("First", 3000);
        const auto second = Project("Second", 2000);
        for (int turn = 0;; ++turn)
            WriteProject(turn % 2 ? *second : *first, target);
    }
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
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--file-size-limit") == 0 && i + 1 < argc) {
            const rlim_t limit = std::strtoull(argv[++i], nullptr, 10);
            const rlimit bounds{limit, limit};
            setrlimit(RLIMIT_FSIZE, &bounds);
            std::signal(SIGXFSZ, SIG_IGN);
        } else if (std::strcmp(argv[i], "--as-nobody") == 0 && getuid() == 0) {
            if (setgid(65534) != 0 || setuid(65534) != 0)
                return 3;
        }
    }
    try {
        WriteProject(*Project("Third", 3000), target);
    } catch (const EStorageError& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
