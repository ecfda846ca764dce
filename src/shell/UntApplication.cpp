#include "UntApplication.h"

#include "UntErrors.h"

#include <cstdio>

namespace {

std::function<void(const QString&)>& ErrorHandler() {
    static std::function<void(const QString&)> handler;
    return handler;
}

} // namespace

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString message = ErrorMessage(std::current_exception());
        if (ErrorHandler())
            ErrorHandler()(message);
        else
            std::fprintf(stderr, "merovan: %s\n", qPrintable(message));
        return false;
    }
}

void TApplication::SetErrorHandler(std::function<void(const QString& message)> handler) {
    ErrorHandler() = std::move(handler);
}
