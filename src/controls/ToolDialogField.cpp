#include "ToolDialogField.h"

#include "FieldColors.h"
#include "TypedChar.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>

namespace fiscora {

TToolDialogField::TToolDialogField(QWidget *parent) : QLineEdit(parent) {
    setAttribute(Qt::WA_InputMethodEnabled, false);
    SaveDefaultColor();
}

void TToolDialogField::SaveDefaultColor() {
    FDefaultColor = BackgroundColor(*this);
}

void TToolDialogField::focusInEvent(QFocusEvent *event) {
    QLineEdit::focusInEvent(event);
    if (FFocus.Enters())
        DoEnter();
}

void TToolDialogField::focusOutEvent(QFocusEvent *event) {
    QLineEdit::focusOutEvent(event);
    if (FFocus.Leaves(*event))
        DoExit();
}

void TToolDialogField::keyPressEvent(QKeyEvent *event) {
    const std::optional<QChar> typed = TypedChar(*event);
    if (!typed) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QChar key = *typed;
    KeyPress(key);
    if (key.isNull() || IsRefusedByEditBox(key)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void TToolDialogField::mouseDoubleClickEvent(QMouseEvent *event) {
    QLineEdit::mouseDoubleClickEvent(event);
    emit DoubleClicked();
    QChar key(u'C');
    KeyPress(key);
}

} // namespace fiscora
