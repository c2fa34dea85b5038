#pragma once

#include <QSize>
#include <QString>

namespace fiscora {

// Shown, and the program ends, when the screen is too small for the main window.
QString ScreenTooSmallMessage();

// Refused only when the screen is both narrower than 800 and lower than 600 pixels.
bool IsScreenTooSmall(const QSize &screenSize);

} // namespace fiscora
