#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

// The status and standard error of one run of the program.
struct TRun {
    int Status;
    QString Error;
};

// The program without a display, as in a script.
inline TRun RunProgram(const QStringList& arguments) {
    QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
    headless.remove("DISPLAY");
    headless.remove("WAYLAND_DISPLAY");
    headless.remove("QT_QPA_PLATFORM");
    QProcess merovan;
    merovan.setProcessEnvironment(headless);
    merovan.start(QStringLiteral(MEROVAN_PROGRAM), arguments);
    EXPECT_TRUE(merovan.waitForFinished(60000));
    EXPECT_EQ(merovan.exitStatus(), QProcess::NormalExit);
    return {merovan.exitCode(), QString::fromUtf8(merovan.readAllStandardError())};
}
