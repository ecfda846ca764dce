// A program with unsaved changes, for the recovery tests to kill.
//
//   merovan_recovery_helper PROJECT|-n TITLE
//
// Opens the project (or starts a new one), gives it the title, prints "kept"
// once its recovery copy holds the change, and runs until it is killed.
#include "DocumentEditing.h"
#include "shell/UnitFrmMain.h"
#include "shell/UntApplication.h"
#include "storage/UntRecovery.h"
#include "workspace/UntModalSeam.h"

#include <QTimer>
#include <cstdio>

namespace {

// Copies left by programs killed before stay for the test to offer.
class TKeepingSeam : public TModalSeam {
public:
    QMessageBox::StandardButton Message(QWidget*, QMessageBox::Icon, const QString&,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton,
                                        const TButtonCaptions&) override {
        return buttons.testFlag(QMessageBox::No) ? QMessageBox::No : QMessageBox::Ok;
    }
};

} // namespace

int main(int argc, char* argv[]) {
    TApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 3) {
        std::fputs("usage: merovan_recovery_helper PROJECT|-n TITLE\n", stderr);
        return 2;
    }
    TFrmMain window;
    window.SetSeam(std::make_unique<TKeepingSeam>());
    window.StartUp({arguments[1]});
    if (!window.Document())
        return 1;
    Retitle(*window.Document(), arguments[2]);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!window.Documents().Recovery().Copy().Exists())
            return;
        watch.stop();
        std::puts("kept");
        std::fflush(stdout);
    });
    watch.start(50);
    return QApplication::exec();
}
