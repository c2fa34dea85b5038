#include "ApplicationFont.h"

#include <QApplication>
#include <QStringList>

namespace fiscora {

namespace {

const QString kFormFace = QStringLiteral("Tahoma");

} // namespace

QFont FormFont(double pointSize, bool bold) {
    QFont font(kFormFace);
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void SetUpApplicationFont() {
    QFont::insertSubstitutions(
        kFormFace, QStringList{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans")});
    QApplication::setFont(FormFont());
}

} // namespace fiscora
