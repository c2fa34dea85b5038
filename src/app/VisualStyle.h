#pragma once

#include <QString>

class QApplication;

namespace fiscora {

// The compiled-in style sheet resource of the "Cyan Night" look.
inline const QString CyanNightResource = QStringLiteral(":/CYANNIGHT");

// Applies the "Cyan Night" look (palette and the style sheet read from styleResource) to every window and
// dialog. When the style sheet cannot be read, warns once and leaves the default look; returns false then.
bool ApplyVisualStyle(QApplication &application, const QString &styleResource = CyanNightResource);

} // namespace fiscora
