#pragma once

class QFocusEvent;
class QWidget;

namespace fiscora {

// Tells real entries into and exits from a field apart from the focus changes Qt reports when
// another window (a message box, a tool dialog) or a popup menu takes the keyboard for a while:
// the field has not been left then, and must neither re-check nor re-format itself, or an invalid
// field and its own message box would chase each other.
class FieldFocus {
public:
    // Called on every focus-in: true when it enters the field.
    bool Enters();
    // True when this focus-out event leaves the field.
    bool Leaves(const QFocusEvent &event);

private:
    bool entered_ = false;
};

// True while a field takes the focus back after a refused exit. A field that loses the focus to it
// has not been left by the user and shows no message of its own, so two invalid fields cannot pass
// the focus and their messages back and forth.
bool IsFocusBeingReclaimed();

// Gives the focus back to a field whose exit was refused; when that fails, tells the user so.
void ReclaimFocus(QWidget &field);

} // namespace fiscora
