#include "FocusExitWatcher.h"

#include <QFocusEvent>
#include <QWidget>

namespace fiscora {

FocusExitWatcher::FocusExitWatcher(QWidget &control) : QObject(&control) {
    control.installEventFilter(this);
}

bool FocusExitWatcher::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn)
        FFocus.Enters();
    else if (event->type() == QEvent::FocusOut && FFocus.Leaves(static_cast<QFocusEvent &>(*event)))
        emit Exited();
    return QObject::eventFilter(watched, event);
}

} // namespace fiscora
