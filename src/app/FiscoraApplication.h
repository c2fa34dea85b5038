#pragma once

#include <QApplication>

namespace fiscora {

// The application object: every exception that escapes an event handler ends here and is shown by
// the general error display, after which the program goes on.
class FiscoraApplication : public QApplication {
    Q_OBJECT
public:
    FiscoraApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;
};

} // namespace fiscora
