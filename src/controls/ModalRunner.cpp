#include "ModalRunner.h"

#include <QDialog>

#include <utility>

namespace fiscora {

namespace {

ModalRunner &InstalledRunner() {
    static ModalRunner runner;
    return runner;
}

} // namespace

int RunModal(QDialog &dialog) {
    // Copied so that a runner may replace itself while it runs.
    const ModalRunner runner = InstalledRunner();
    if (!runner)
        return dialog.exec();
    return runner(dialog);
}

ModalRunner InstallModalRunner(ModalRunner runner) {
    return std::exchange(InstalledRunner(), std::move(runner));
}

ModalRunner DrivingModalRunner(std::function<void(QDialog &dialog)> drive) {
    return [drive = std::move(drive)](QDialog &dialog) {
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        if (drive)
            drive(dialog);
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    };
}

ScopedModalRunner::ScopedModalRunner(ModalRunner runner) : previous_(InstallModalRunner(std::move(runner))) {}

ScopedModalRunner::~ScopedModalRunner() {
    InstallModalRunner(std::move(previous_));
}

} // namespace fiscora
