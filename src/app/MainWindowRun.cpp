#include "MainWindowRun.h"

#include "AmortixMain.h"
#include "ScreenshotTour.h"

#include <QApplication>

namespace fiscora {

int RunMainWindow(const QString &bookFile) {
    TFrmAmortix mainWindow;
    mainWindow.show();
    if (!bookFile.isEmpty())
        mainWindow.OpenBookWindow(bookFile);
    StartScreenshotTourIfAsked(mainWindow);
    return QApplication::exec();
}

} // namespace fiscora
