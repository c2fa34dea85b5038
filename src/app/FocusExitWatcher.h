#pragma once

#include "FieldFocus.h"

#include <QObject>

class QWidget;

namespace fiscora {

// Reports when the user leaves a control for another control of its window (a drop-down list has no
// exit notification of its own). Focus handed to a popup or another window does not count.
class FocusExitWatcher : public QObject {
    Q_OBJECT
public:
    explicit FocusExitWatcher(QWidget &control);

signals:
    void Exited();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FieldFocus FFocus;
};

} // namespace fiscora
