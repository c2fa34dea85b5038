#include "ScreenCheck.h"

namespace fiscora {

QString ScreenTooSmallMessage() {
    return QStringLiteral(
        "Unable to run Fiscora!\r\n\r\nThis program will not run under screen\r\nresolutions of "
        "less than 800 X 600.");
}

bool IsScreenTooSmall(const QSize &screenSize) {
    return screenSize.width() < 800 && screenSize.height() < 600;
}

} // namespace fiscora
