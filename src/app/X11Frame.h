#pragma once

#include <QRect>

#include <optional>

class QWindow;

namespace fiscora {

// Where the window manager's frame around the window lies on the X screen, in the screen's own
// pixels; none off X11 or before the window manager has framed the window. The toolkit's frame
// geometry is in scaled pixels, rounded, and can miss the frame by a pixel at 125 % or 200 %.
std::optional<QRect> X11NativeFrame(const QWindow &window);

} // namespace fiscora
