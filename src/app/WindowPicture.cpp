#include "WindowPicture.h"

#include "X11Frame.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QScreen>
#include <QThread>
#include <QWidget>
#include <QWindow>

namespace fiscora {

namespace {

constexpr int kFrameWaitMs = 3000;
constexpr int kSettleMs = 300;

// The window's own frame geometry: a widget's may still hold the margins it had before the window
// manager framed it.
QRect FrameGeometry(const QWidget &window) {
    const QWindow *handle = window.windowHandle();
    return handle != nullptr ? handle->frameGeometry() : window.frameGeometry();
}

bool HasFrame(const QWidget &window) {
    return FrameGeometry(window) != window.geometry();
}

void ProcessEventsFor(QDeadlineTimer deadline, const QWidget &window, bool untilFramed) {
    while (!deadline.hasExpired() && !(untilFramed && HasFrame(window))) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(10);
    }
}

} // namespace

QPixmap WindowPicture(QWidget &window) {
    QWidget &topLevel = *window.window();
    const bool onX11 = QGuiApplication::platformName() == QLatin1String("xcb");
    if (onX11) {
        ProcessEventsFor(QDeadlineTimer(kFrameWaitMs), topLevel, true);
        // The frame arrives before the window manager and the window have drawn into it.
        ProcessEventsFor(QDeadlineTimer(kSettleMs), topLevel, false);
    } else {
        QCoreApplication::processEvents();
    }
    QScreen *screen = topLevel.screen();
    const std::optional<QRect> frame =
        onX11 && topLevel.windowHandle() != nullptr ? X11NativeFrame(*topLevel.windowHandle()) : std::nullopt;
    if (screen == nullptr || !frame)
        return topLevel.grab();
    // The whole screen in its own pixels, cut to the frame: a single screen starts at 0, 0.
    return screen->grabWindow(0).copy(*frame);
}

} // namespace fiscora
