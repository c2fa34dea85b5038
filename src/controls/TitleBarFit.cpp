#include "TitleBarFit.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>

namespace fiscora {

namespace {

constexpr int kTitleSquares = 4; // the window icon and three title buttons
constexpr int kFrameEnds = 12;   // the frame and the caption's padding, both ends together

} // namespace

int TitleBarMinimumWidth(const QString &caption) {
    QFont titleFont = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    titleFont.setBold(true);
    const QFontMetrics metrics(titleFont);
    // Icon and buttons are squares about as high as the caption's text.
    return metrics.horizontalAdvance(caption) + kTitleSquares * metrics.height() + kFrameEnds;
}

} // namespace fiscora
