// Test entry point shared by the test programs: a Qt application object on
// the offscreen platform, and a message handler that turns every critical Qt
// message (a missing string-table text among them) into a test failure.
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef MEROVAN_TEST_WIDGETS
#include "shell/UntApplication.h"
using TestApplication = TApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

namespace {

void FailOnCritical(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        ADD_FAILURE() << "Qt reported: " << message.toStdString();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Settings and recovery copies the tests write never reach the user's own.
    const QTemporaryDir configuration;
    qputenv("XDG_CONFIG_HOME", configuration.path().toLocal8Bit());
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    TestApplication application(argc, argv);
    // The tests read the English texts, whatever the machine's language.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    qInstallMessageHandler(FailOnCritical);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
