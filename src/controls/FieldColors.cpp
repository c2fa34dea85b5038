#include "FieldColors.h"

#include <QPalette>
#include <QWidget>

namespace fiscora {

namespace {

void SetPaletteColor(QWidget &widget, QPalette::ColorRole role, const QColor &color) {
    QPalette palette = widget.palette();
    palette.setColor(role, color);
    widget.setPalette(palette);
}

} // namespace

QColor BackgroundColor(const QWidget &field) {
    return field.palette().color(QPalette::Base);
}

void SetBackgroundColor(QWidget &field, const QColor &color) {
    SetPaletteColor(field, QPalette::Base, color);
}

QColor FontColorOf(const QWidget &field) {
    return field.palette().color(QPalette::Text);
}

void SetFontColorOf(QWidget &field, const QColor &color) {
    SetPaletteColor(field, QPalette::Text, color);
}

ToolDialogHighlight::ToolDialogHighlight(QWidget &field, const QColor &colorOnEntry)
    : field_(field), colorOnEntry_(colorOnEntry), paletteBefore_(field.palette()) {
    SetBackgroundColor(field_, kToolDialogOpenColor);
    SetFontColorOf(field_, kToolDialogOpenTextColor);
}

ToolDialogHighlight::~ToolDialogHighlight() {
    // The whole palette comes back, so that text colours the field only inherited stay inherited.
    field_.setPalette(paletteBefore_);
    SetBackgroundColor(field_, colorOnEntry_);
}

} // namespace fiscora
