#pragma once

#include <QString>

namespace fiscora {

// Shows the main window, with the book window on the book file when one is given, and runs the event
// loop until the application quits; returns its exit code.
int RunMainWindow(const QString &bookFile);

} // namespace fiscora
