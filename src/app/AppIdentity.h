#pragma once

class QGuiApplication;

namespace fiscora {

// Names the program to the desktop: the desktop entry it was started from (so that the desktop
// shows its menu icon and name for its windows) and the window icon, compiled in so that the
// build tree shows it too.
void SetUpAppIdentity(QGuiApplication &application);

} // namespace fiscora
