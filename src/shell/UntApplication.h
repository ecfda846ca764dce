#pragma once

#include <QApplication>
#include <functional>
#include <memory>

// The application object. Whatever an event handler or a slot throws stops
// here, at the top of the event loop: its message is shown and the program,
// with the project in memory, goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application object of the run, when it is one of ours.
    static TApplication* Instance();

    // Starts the application for the window. When the toolkit finds no
    // display it ends the program; this says so, with what needs none, and
    // ends it with status 1.
    static std::unique_ptr<TApplication> StartForWindow(int& argc, char** argv);

    // Shows the message of an error that reached the event loop; the main
    // window installs one. Without one the message goes to standard error.
    void SetErrorHandler(std::function<void(const QString& message)> handler);

private:
    std::function<void(const QString& message)> FErrorHandler;
};

// Qt's own texts (standard buttons, file dialogs, its reasons for failures)
// in the user's language, for the window and the command line alike.
void LoadQtTranslations();
