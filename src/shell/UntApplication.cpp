#include "shell/UntApplication.h"

#include "model/UntStrings.h"
#include "storage/UntErrors.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

namespace {

QtMessageHandler OtherHandler = nullptr;
// What the toolkit said while it looked for a display: shown only when it
// found one, since a missing display gets our own message.
std::vector<std::pair<QtMsgType, QString>> HeldMessages;

void HoldMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtFatalMsg) {
        HeldMessages.emplace_back(type, message);
        return;
    }
    std::fprintf(stderr, "merovan: %s\n", qPrintable(LoadStr(StrNoDisplay)));
    std::_Exit(1);
}

} // namespace

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

std::unique_ptr<TApplication> TApplication::StartForWindow(int& argc, char** argv) {
    OtherHandler = qInstallMessageHandler(HoldMessages);
    auto application = std::make_unique<TApplication>(argc, argv);
    qInstallMessageHandler(OtherHandler);
    for (const auto& [type, message] : HeldMessages)
        qt_message_output(type, QMessageLogContext(), message);
    HeldMessages.clear();
    return application;
}

TApplication* TApplication::Instance() {
    return dynamic_cast<TApplication*>(QCoreApplication::instance());
}

void TApplication::SetErrorHandler(std::function<void(const QString& message)> handler) {
    FErrorHandler = std::move(handler);
}

void LoadQtTranslations() {
    static QTranslator translator;
    if (translator.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&translator);
}
