#include "VisualStyle.h"

#include "MsgBox.h"

#include <QApplication>
#include <QFile>
#include <QPalette>
#include <QStyleFactory>

// The resource lives in a static library: referencing its initialiser keeps the linker from dropping it.
static void InitStyleResource() {
    Q_INIT_RESOURCE(Fiscora);
}

namespace fiscora {

namespace {

QPalette CyanNightPalette() {
    const QColor window(0x26, 0x32, 0x3a);
    const QColor base(0x1a, 0x24, 0x2a);
    const QColor text(0xe3, 0xee, 0xf2);
    const QColor dimText(0x7d, 0x8c, 0x94);
    const QColor button(0x2f, 0x3e, 0x47);
    const QColor cyan(0x1f, 0xc6, 0xdc);
    const QColor highlight(0x0e, 0x8f, 0xa3);

    QPalette palette;
    palette.setColor(QPalette::Window, window);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Base, base);
    palette.setColor(QPalette::AlternateBase, window);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Button, button);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::BrightText, cyan);
    palette.setColor(QPalette::Light, QColor(0x4d, 0x64, 0x70));
    palette.setColor(QPalette::Midlight, QColor(0x3c, 0x4d, 0x56));
    palette.setColor(QPalette::Mid, QColor(0x22, 0x2c, 0x33));
    palette.setColor(QPalette::Dark, QColor(0x14, 0x1b, 0x20));
    palette.setColor(QPalette::Shadow, QColor(0x0a, 0x0e, 0x10));
    palette.setColor(QPalette::Highlight, highlight);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::Link, cyan);
    palette.setColor(QPalette::LinkVisited, QColor(0x8a, 0xe8, 0xf4));
    palette.setColor(QPalette::ToolTipBase, QColor(0xc8, 0xf4, 0xfa));
    palette.setColor(QPalette::ToolTipText, QColor(0x0b, 0x1a, 0x20));
    palette.setColor(QPalette::PlaceholderText, dimText);
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, dimText);
    palette.setColor(QPalette::Disabled, QPalette::Base, window);
    return palette;
}

} // namespace

bool ApplyVisualStyle(QApplication &application, const QString &styleResource) {
    InitStyleResource();
    QFile styleFile(styleResource);
    if (!styleFile.open(QIODevice::ReadOnly | QIODevice::Text)) {
        ShowMsgBox("The visual style \"Cyan Night\" could not be loaded (" + styleResource.toStdString() +
                       ").~The program continues with the default look.",
                   ApplicationTitle(), 48);
        return false;
    }
    const QString styleSheet = QString::fromUtf8(styleFile.readAll());
    // Fusion draws every control from the palette, so the dark palette reaches what the sheet leaves alone.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);
    QApplication::setPalette(CyanNightPalette());
    application.setStyleSheet(styleSheet);
    return true;
}

} // namespace fiscora
