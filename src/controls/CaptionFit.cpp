#include "CaptionFit.h"

#include <QFontMetrics>

#include <algorithm>

namespace fiscora {

namespace {

constexpr double kSmallestPointSize = 6.0;

int WidestText(const QFont &font, const QStringList &texts) {
    const QFontMetrics metrics(font);
    int widest = 0;
    for (const QString &text : texts)
        widest = std::max(widest, metrics.horizontalAdvance(text));
    return widest;
}

} // namespace

QFont FontFittingWidth(const QFont &font, const QStringList &texts, int width) {
    QFont fitted = font;
    while (WidestText(fitted, texts) > width && fitted.pointSizeF() - 0.5 >= kSmallestPointSize)
        fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
    return fitted;
}

} // namespace fiscora
