// Whatever a command throws ends in a message: in the window, at the top of
// the event loop, with the project kept; on the command line, on standard
// error with a failing status.
#include "DocumentEditing.h"
#include "MainWindowTest.h"
#include "shell/UntCommandLine.h"
#include "storage/UntDataModule.h"

#include <QCoreApplication>
#include <cstdio>
#include <functional>
#include <new>
#include <stdexcept>
#include <unistd.h>

namespace {

struct Thrown {
    const char* what;
    std::function<void()> raise;
    QString message;
};

const Thrown ThrownCases[] = {
    {"our own error", [] { throw EStorageError(QStringLiteral("The disk is full.")); },
     "The disk is full."},
    {"a failed allocation", [] { throw std::bad_alloc(); },
     "There is not enough memory to complete the operation."},
    {"a library's exception", [] { throw std::out_of_range("vector::at"); },
     "An unexpected error occurred: vector::at"},
    {"anything else", [] { throw 42; }, "An unexpected error occurred."},
};

// What the function wrote on standard error.
QString StandardError(const std::function<void()>& write) {
    std::fflush(stderr);
    const int kept = ::dup(STDERR_FILENO);
    std::FILE* capture = std::tmpfile();
    ::dup2(::fileno(capture), STDERR_FILENO);
    write();
    std::fflush(stderr);
    ::dup2(kept, STDERR_FILENO);
    ::close(kept);
    std::rewind(capture);
    QByteArray text;
    char buffer[256];
    for (std::size_t read; (read = std::fread(buffer, 1, sizeof buffer, capture)) > 0;)
        text.append(buffer, static_cast<qsizetype>(read));
    std::fclose(capture);
    return QString::fromUtf8(text);
}

} // namespace

TEST_F(MainWindowTest, AnErrorInASlotEndsInAMessageAndTheProjectStays) {
    ASSERT_TRUE(Window->StartUp({"-n"}));
    Window->show();
    const TProject* project = Window->Project();
    ASSERT_NE(project, nullptr);
    Retitle(*Window->Document(), QStringLiteral("Kept"));
    for (const Thrown& thrown : ThrownCases) {
        Seam->Messages.clear();
        // A queued call, as a timer's or a worker's: between the slot and the
        // handler no frame of the toolkit holds memory that the unwinding
        // would leave behind.
        QMetaObject::invokeMethod(Window.get(), thrown.raise, Qt::QueuedConnection);
        QCoreApplication::processEvents();
        EXPECT_EQ(Seam->Messages, QStringList{thrown.message}) << thrown.what;
        EXPECT_EQ(Window->Project(), project) << thrown.what;
        EXPECT_EQ(project->Title, "Kept") << thrown.what;
    }
}

TEST(CommandLine, AFailingRequestPrintsItsMessageAndFails) {
    for (const Thrown& thrown : ThrownCases) {
        int status = 0;
        const QString printed =
            StandardError([&] { status = RunGuarded("plan.swot", thrown.raise); });
        EXPECT_EQ(status, 1) << thrown.what;
        EXPECT_EQ(printed, "merovan: plan.swot: " + thrown.message + "\n") << thrown.what;
    }
    EXPECT_EQ(RunGuarded("plan.swot", [] {}), 0);
}
