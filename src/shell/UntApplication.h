#pragma once

#include <QApplication>
#include <functional>

// The application object. Whatever an event handler or a slot throws stops
// here, at the top of the event loop: its message is shown and the program,
// with the project in memory, goes on.
class TApplication : public QApplication {
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // The application object of the run, when it is one of ours.
    static TApplication* Instance();

    // Shows the message of an error that reached the event loop; the main
    // window installs one. Without one the message goes to standard error.
    void SetErrorHandler(std::function<void(const QString& message)> handler);

private:
    std::function<void(const QString& message)> FErrorHandler;
};
