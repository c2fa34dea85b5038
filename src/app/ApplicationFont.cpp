#include "ApplicationFont.h"

#include <QApplication>

namespace fiscora {

namespace {

const QString kFormFace = QStringLiteral("Tahoma");

} // namespace

QStringList FaceFamilies(const QString &face) {
    if (face.compare(kFormFace, Qt::CaseInsensitive) == 0)
        return {face, QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans")};
    return {face};
}

QFont FormFont(double pointSize, bool bold) {
    QFont font;
    font.setFamilies(FaceFamilies(kFormFace));
    font.setPointSizeF(pointSize);
    font.setBold(bold);
    return font;
}

void SetUpApplicationFont() {
    QApplication::setFont(FormFont());
}

} // namespace fiscora
