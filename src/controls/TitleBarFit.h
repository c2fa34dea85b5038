#pragma once

#include <QString>

namespace fiscora {

// The narrowest window in which a window manager's title bar shows the whole caption: the caption in
// the bold title-bar face, with room beside it for the window icon and three title buttons and for
// the frame's ends. The window manager draws the title in a face of its own that the toolkit cannot
// ask for; the platform's title font, bold, measures at least as wide as the common ones.
int TitleBarMinimumWidth(const QString &caption);

} // namespace fiscora
