#include "reports/UntReportJob.h"
#include "shell/UnitFrmMain.h"
#include "shell/UntApplication.h"
#include "shell/UntCommandLine.h"
#include "storage/UntErrors.h"
#include "storage/UntProgramFolder.h"
#include "workspace/UntModalSeam.h"

#include <QIcon>
#include <QTimer>
#include <chrono>

int main(int argc, char* argv[]) {
    if (const auto status = RunCommandLine(argc, argv))
        return *status;

    const auto application = TApplication::StartForWindow(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Merovan"));
    QApplication::setApplicationVersion(QStringLiteral(MEROVAN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("merovan"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/desktop/icons/merovan.svg")));

    LoadQtTranslations();

    TFrmMain window;
    try {
        if (!window.StartUp(QApplication::arguments().mid(1)))
            return 0;
    } catch (...) {
        // Start-up runs before the event loop and its handler: the window
        // shows what it could open, and the message.
        window.Seam().Error(&window, ErrorMessage(std::current_exception()));
    }
    window.ShowWindow();
    // The office suite takes seconds to start: once the window is drawn it
    // starts on the reports' own thread, so that the first report need not
    // wait for it.
    QTimer::singleShot(std::chrono::seconds(1), application.get(),
                       [] { PrepareConversions(ProgramFolder()); });
    // For the start-up benchmark: the time until the window is on screen.
    if (qEnvironmentVariableIsSet("MEROVAN_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, application.get(), &QApplication::quit);
    return QApplication::exec();
}
