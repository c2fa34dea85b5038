#pragma once

#include <QPixmap>

class QWidget;

namespace fiscora {

// A picture of a shown top-level window as the user sees it. Under X11 with a window manager it is
// the screen's pixels inside the window's frame, so the title bar and borders are in it; elsewhere
// (no window manager, or the offscreen platform) it is the window's own drawing. Waits a little for
// the window manager to frame and draw a window just shown.
QPixmap WindowPicture(QWidget &window);

} // namespace fiscora
