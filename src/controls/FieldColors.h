#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

namespace fiscora {

// The yellow of a field whose tool dialog is open, and the dark text that stays readable on it
// whatever text colour the visual style gives the fields.
inline const QColor kToolDialogOpenColor{0xff, 0xff, 0x00};
inline const QColor kToolDialogOpenTextColor{0x00, 0x00, 0x00};
// The font colour of a negative amount.
inline const QColor kNegativeAmountColor{0xff, 0x00, 0x00};

// Field colours live in the widget's own palette, which the application style sheet leaves alone.
QColor BackgroundColor(const QWidget &field);
void SetBackgroundColor(QWidget &field, const QColor &color);
QColor FontColorOf(const QWidget &field);
void SetFontColorOf(QWidget &field, const QColor &color);

// Shows the field yellow with dark text while a tool dialog is open; on leaving the scope, even by an
// exception, the field gets back the background colour it had when it was entered and its own text
// colours.
class ToolDialogHighlight {
public:
    ToolDialogHighlight(QWidget &field, const QColor &colorOnEntry);
    ~ToolDialogHighlight();
    ToolDialogHighlight(const ToolDialogHighlight &) = delete;
    ToolDialogHighlight &operator=(const ToolDialogHighlight &) = delete;

private:
    QWidget &field_;
    QColor colorOnEntry_;
    QPalette paletteBefore_;
};

} // namespace fiscora
