#pragma once

// Every modal tool dialog (calculator, calendar, output options, preview) is shown through RunModal.
// The application keeps the default runner, QDialog::exec(). Tests install a runner that drives the
// dialog (presses its buttons, types into it) and closes it, instead of blocking in a nested loop.

#include <functional>

class QDialog;

namespace fiscora {

// Shows the dialog modally and returns its result code (QDialog::Accepted or QDialog::Rejected).
using ModalRunner = std::function<int(QDialog &dialog)>;

// Runs the dialog through the installed runner; QDialog::exec() when none is installed.
int RunModal(QDialog &dialog);

// Installs a runner and returns the one it replaces; an empty runner restores QDialog::exec().
ModalRunner InstallModalRunner(ModalRunner runner);

// A runner for tests: shows the dialog without blocking (so its show handling runs), calls `drive`,
// then rejects the dialog if `drive` left it open, and returns the dialog's result.
ModalRunner DrivingModalRunner(std::function<void(QDialog &dialog)> drive);

// Installs a runner for its own lifetime and puts the previous one back afterwards.
class ScopedModalRunner {
public:
    explicit ScopedModalRunner(ModalRunner runner);
    ~ScopedModalRunner();
    ScopedModalRunner(const ScopedModalRunner &) = delete;
    ScopedModalRunner &operator=(const ScopedModalRunner &) = delete;

private:
    ModalRunner previous_;
};

} // namespace fiscora
