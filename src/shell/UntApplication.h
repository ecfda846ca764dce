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

    // Shows the message of an error that reached the event loop; the main
    // window installs one. Without one the message goes to standard error.
    static void SetErrorHandler(std::function<void(const QString& message)> handler);
};
