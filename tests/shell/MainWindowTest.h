#pragma once

#include "ScriptedSeam.h"
#include "shell/UnitFrmMain.h"

#include <QAction>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// A main window answering through a scripted seam, with settings and files in
// folders of its own.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_CONFIG_HOME", Config.path().toLocal8Bit());
        NewWindow();
    }

    void TearDown() override { Window.reset(); }

    void NewWindow() {
        Window = std::make_unique<TFrmMain>();
        // The recovery copy follows each change at once: tests wait for the
        // copy, not for a delay.
        Window->Documents().Recovery().SetDelay(std::chrono::milliseconds(0));
        auto seam = std::make_unique<TScriptedSeam>();
        Seam = seam.get();
        Window->SetSeam(std::move(seam));
    }

    // Ends the run as the program does: the window goes, the settings are written.
    void EndRun() { Window.reset(); }

    QAction* Action(const char* name) const {
        auto* action = Window->findChild<QAction*>(QLatin1String(name));
        EXPECT_NE(action, nullptr) << name;
        return action;
    }

    // The example waiting to be shown or shown, and the user's project while
    // the example is shown.
    const TProject* ExampleProject() const {
        const TDocument* example = Window->Documents().Example();
        return example ? &example->Project() : nullptr;
    }
    const TProject* StashedProject() const {
        return Window->ExampleDisplayed() ? &Window->Documents().UserDocument()->Project()
                                          : nullptr;
    }

    // The workspace the window hosts; none before the first document.
    QWidget* Workspace() const { return Window->findChild<QWidget*>("Workspace"); }

    QString Path(const QString& name) const { return Files.filePath(name); }

    QString SettingsText() const {
        QFile file(Config.filePath(QStringLiteral("merovan.ini")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    void WriteSettingsText(const QByteArray& text) const {
        QFile file(Config.filePath(QStringLiteral("merovan.ini")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }

    QTemporaryDir Config;
    QTemporaryDir Files;
    std::unique_ptr<TFrmMain> Window;
    TScriptedSeam* Seam = nullptr;
};
