#include "FieldFocus.h"

#include "MsgBox.h"
#include "ScopeExit.h"

#include <QFocusEvent>
#include <QWidget>

namespace fiscora {

namespace {

bool IsOtherWindowTakingOver(const QFocusEvent &event) {
    return event.reason() == Qt::ActiveWindowFocusReason || event.reason() == Qt::PopupFocusReason;
}

int ReclaimDepth = 0;

} // namespace

bool FieldFocus::Enters() {
    // Coming back from another window or a popup finds the field still entered.
    if (entered_)
        return false;
    entered_ = true;
    return true;
}

bool FieldFocus::Leaves(const QFocusEvent &event) {
    if (!entered_ || IsOtherWindowTakingOver(event))
        return false;
    entered_ = false;
    return true;
}

bool IsFocusBeingReclaimed() {
    return ReclaimDepth > 0;
}

void ReclaimFocus(QWidget &field) {
    {
        ++ReclaimDepth;
        const ScopeExit reclaimed([] { --ReclaimDepth; });
        field.setFocus(Qt::OtherFocusReason);
    }
    // An inactive window still counts: the field gets the keyboard when its window is activated.
    if (field.window()->focusWidget() != &field)
        ShowMsgBox("A non fatal error has occured in the program.~Click on OK to continue.",
                   ApplicationTitle(), kMsgIconError);
}

} // namespace fiscora
