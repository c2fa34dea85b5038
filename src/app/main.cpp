#include "AppIdentity.h"
#include "ApplicationFont.h"
#include "FiscoraApplication.h"
#include "GeneralErrorDisplay.h"
#include "HelpWindow.h"
#include "MainWindowRun.h"
#include "MessageBoxPresenter.h"
#include "MsgBox.h"
#include "ScreenCheck.h"
#include "StartUpDocument.h"
#include "VisualStyle.h"
#include "output/dialogs/OutputDialogs.h"

#include <QMessageBox>
#include <QScreen>

int main(int argc, char **argv) {
    using namespace fiscora;
    FiscoraApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fiscora"));
    SetUpAppIdentity(application);

    if (const QScreen *screen = QGuiApplication::primaryScreen();
        screen != nullptr && IsScreenTooSmall(screen->size())) {
        QMessageBox refusal(QMessageBox::NoIcon, QString(), LineBreaksForDisplay(ScreenTooSmallMessage()),
                            QMessageBox::Ok);
        refusal.exec();
        return 0;
    }

    InstallMessageBoxPresenter();
    InstallOutputDialogs();
    SetUpApplicationFont();
    ApplyVisualStyle(application);
    SetApplicationTitle("Fiscora 2025");
    HelpWindow::SetHelpFile(QStringLiteral("Amortix.html"));

    // Whatever fails before the event loop runs is shown like any other error. A document given on
    // the command line opens in its own window instead of the main window.
    return RunHandlingExceptions(
        [] {
            return OpenStartUpDocument(ReadStartUpDocument(QCoreApplication::arguments().mid(1)),
                                       RunMainWindow);
        },
        1);
}
