#include "output/preview/PreviewKeys.h"

#include <QKeyEvent>

#include <array>

namespace fiscora {

namespace {

// The modifiers a binding takes; the keypad's own does not count.
enum class TModifiers { PlainOrCtrl, Ctrl, Alt, ShiftCtrl, Any };

struct TKeyBinding {
    int Key;
    TModifiers Modifiers;
    TPreviewKeyCommand Command;
};

constexpr std::array kBindings{
    TKeyBinding{Qt::Key_PageUp, TModifiers::PlainOrCtrl, TPreviewKeyCommand::PageUp},
    TKeyBinding{Qt::Key_PageDown, TModifiers::PlainOrCtrl, TPreviewKeyCommand::PageDown},
    TKeyBinding{Qt::Key_End, TModifiers::PlainOrCtrl, TPreviewKeyCommand::LastPage},
    TKeyBinding{Qt::Key_Home, TModifiers::PlainOrCtrl, TPreviewKeyCommand::FirstPage},
    TKeyBinding{Qt::Key_Up, TModifiers::PlainOrCtrl, TPreviewKeyCommand::LineUp},
    TKeyBinding{Qt::Key_Down, TModifiers::PlainOrCtrl, TPreviewKeyCommand::LineDown},
    TKeyBinding{Qt::Key_Left, TModifiers::Ctrl, TPreviewKeyCommand::LineLeft},
    TKeyBinding{Qt::Key_Left, TModifiers::ShiftCtrl, TPreviewKeyCommand::ScreenLeft},
    TKeyBinding{Qt::Key_Right, TModifiers::Ctrl, TPreviewKeyCommand::LineRight},
    TKeyBinding{Qt::Key_Right, TModifiers::ShiftCtrl, TPreviewKeyCommand::ScreenRight},
    TKeyBinding{Qt::Key_Escape, TModifiers::Any, TPreviewKeyCommand::Close},
    TKeyBinding{Qt::Key_Plus, TModifiers::Any, TPreviewKeyCommand::ZoomIn},
    TKeyBinding{Qt::Key_Minus, TModifiers::Any, TPreviewKeyCommand::ZoomOut},
    TKeyBinding{Qt::Key_O, TModifiers::Ctrl, TPreviewKeyCommand::Open},
    TKeyBinding{Qt::Key_S, TModifiers::Ctrl, TPreviewKeyCommand::Save},
    TKeyBinding{Qt::Key_P, TModifiers::Ctrl, TPreviewKeyCommand::Print},
    TKeyBinding{Qt::Key_P, TModifiers::Alt, TPreviewKeyCommand::PriorPageButton},
    TKeyBinding{Qt::Key_D, TModifiers::Ctrl, TPreviewKeyCommand::ExportPDF},
    TKeyBinding{Qt::Key_H, TModifiers::Ctrl, TPreviewKeyCommand::ExportHTML},
    TKeyBinding{Qt::Key_F, TModifiers::Alt, TPreviewKeyCommand::FirstPageButton},
    TKeyBinding{Qt::Key_N, TModifiers::Alt, TPreviewKeyCommand::NextPageButton},
    TKeyBinding{Qt::Key_L, TModifiers::Alt, TPreviewKeyCommand::LastPageButton},
    TKeyBinding{Qt::Key_X, TModifiers::Alt, TPreviewKeyCommand::Close},
};

bool Matches(TModifiers wanted, Qt::KeyboardModifiers modifiers) {
    switch (wanted) {
    case TModifiers::PlainOrCtrl:
        return modifiers == Qt::NoModifier || modifiers == Qt::ControlModifier;
    case TModifiers::Ctrl:
        return modifiers == Qt::ControlModifier;
    case TModifiers::Alt:
        return modifiers == Qt::AltModifier;
    case TModifiers::ShiftCtrl:
        return modifiers == (Qt::ShiftModifier | Qt::ControlModifier);
    case TModifiers::Any:
        return true;
    }
    return false;
}

} // namespace

std::optional<TPreviewKeyCommand> PreviewKeyCommand(const QKeyEvent &event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    for (const TKeyBinding &binding : kBindings)
        if (binding.Key == event.key() && Matches(binding.Modifiers, modifiers))
            return binding.Command;
    return std::nullopt;
}

bool IsPageNumberFieldKey(const QKeyEvent &event) {
    // The field has no use for the vertical paging keys, and the command letters keep working.
    switch (event.key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
        return false;
    default:
        break;
    }
    const bool command = event.modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    return !(command && event.key() >= Qt::Key_A && event.key() <= Qt::Key_Z);
}

} // namespace fiscora
