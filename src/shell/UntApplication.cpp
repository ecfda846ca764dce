#include "shell/UntApplication.h"

#include "storage/UntErrors.h"

#include <cstdio>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString message = ErrorMessage(std::current_exception());
        if (FErrorHandler)
            FErrorHandler(message);
        else
            std::fprintf(stderr, "merovan: %s\n", qPrintable(message));
        return false;
    }
}

TApplication* TApplication::Instance() {
    return dynamic_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetErrorHandler(std::function<void(const QString& message)> handler) {
    FErrorHandler = std::move(handler);
}
