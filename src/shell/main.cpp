#include "shell/UnitFrmMain.h"
#include "shell/UntApplication.h"
#include "shell/UntCommandLine.h"
#include "storage/UntErrors.h"
#include "workspace/UntModalSeam.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

int main(int argc, char* argv[]) {
    if (const auto status = RunCommandLine(argc, argv))
        return *status;

    TApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Merovan"));
    QApplication::setApplicationVersion(QStringLiteral(MEROVAN_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("merovan"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/desktop/icons/merovan.svg")));

    // Qt's own texts (standard buttons, file dialogs) in the user's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

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
    // For the start-up benchmark: the time until the window is on screen.
    if (qEnvironmentVariableIsSet("MEROVAN_QUIT_WHEN_SHOWN"))
        QTimer::singleShot(0, &application, &QApplication::quit);
    return QApplication::exec();
}
