#include "HelpIcon.h"

#include <QFont>
#include <QPainter>
#include <QPixmap>

namespace fiscora {

namespace {

QPixmap HelpPicture(const QColor &ring, const QColor &mark) {
    QPixmap picture(16, 16);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(ring, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QRectF(1, 1, 14, 14));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(mark);
    painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
    return picture;
}

} // namespace

QIcon HelpIcon() {
    QIcon icon;
    icon.addPixmap(HelpPicture(QColor(0x1f, 0xc6, 0xdc), QColor(0xe3, 0xee, 0xf2)), QIcon::Normal);
    icon.addPixmap(HelpPicture(QColor(0x5d, 0x6d, 0x75), QColor(0x7d, 0x8c, 0x94)), QIcon::Disabled);
    return icon;
}

} // namespace fiscora
