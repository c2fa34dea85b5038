#include "AppIdentity.h"

#include <QGuiApplication>
#include <QIcon>

namespace fiscora {

void SetUpAppIdentity(QGuiApplication &application) {
    QGuiApplication::setDesktopFileName(QStringLiteral(FISCORA_APP_ID));
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1.png").arg(size), QSize(size, size));
    application.setWindowIcon(icon);
}

} // namespace fiscora
