#include "ToolDialogField.h"

#include "FieldColors.h"
#include "GeneralErrorDisplay.h"
#include "TypedChar.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <utility>

namespace fiscora {

TToolDialogField::TToolDialogField(QWidget *parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SaveDefaultColor();
}

void TToolDialogField::SaveDefaultColor() {
    FDefaultColor = BackgroundColor(*this);
}

// Errors of the handlers below go to the general error display here: the toolkit's own event code is
// built without exception support and must not be unwound.
void TToolDialogField::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    if (FFocus.Enters()) {
        FEnteredByMouse = event->reason() == Qt::MouseFocusReason;
        RunHandlingExceptions([this] { DoEnter(); });
    }
}

// The click that enters the field would put the caret where the mouse fell, and a date typed whole
// would then land mid-field: the field stays selected as after Tab.
void TToolDialogField::mousePressEvent(QMouseEvent *event) {
    QLineEdit::mousePressEvent(event);
    if (std::exchange(FEnteredByMouse, false) && event->button() == Qt::LeftButton)
        selectAll();
}

void TToolDialogField::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    if (FFocus.Leaves(*event))
        RunHandlingExceptions([this] { DoExit(); });
}

void TToolDialogField::keyPressEvent(QKeyEvent *event) {
    const std::optional<QChar> typed = TypedChar(*event);
    if (!typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar key = *typed;
    const bool handled = RunHandlingExceptions(
        [&] {
            KeyPress(key);
            return true;
        },
        false);
    if (!handled || key.isNull() || IsRefusedByEditBox(key)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TToolDialogField::mouseDoubleClickEvent(QMouseEvent *event) {
    QLineEdit::mouseDoubleClickEvent(event);
    emit DoubleClicked();
    RunHandlingExceptions([this] {
        QChar key(u'C');
        KeyPress(key);
    });
}

} // namespace fiscora
