#include "FiscoraApplication.h"

#include "GeneralErrorDisplay.h"

namespace fiscora {

FiscoraApplication::FiscoraApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool FiscoraApplication::notify(QObject *receiver, QEvent *event) {
    return RunHandlingExceptions([&] { return QApplication::notify(receiver, event); }, false);
}

} // namespace fiscora
