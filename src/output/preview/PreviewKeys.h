#pragma once

#include <optional>

class QKeyEvent;

namespace fiscora {

// What a key asks of the preview window.
enum class TPreviewKeyCommand {
    PageUp,      // a screen up, or to the end of the page before
    PageDown,    // a screen down, or to the top of the page after
    FirstPage,   // to the top of the first page
    LastPage,    // to the end of the last page
    LineUp,      // a line up, across into the page before
    LineDown,    // a line down, across into the page after
    LineLeft,    // a step left
    LineRight,   // a step right
    ScreenLeft,  // a screen's width left
    ScreenRight, // a screen's width right
    Close,
    ZoomIn,
    ZoomOut,
    // Tool bar commands: the key clicks the button, and acts only while the button is enabled.
    Open,
    Save,
    Print,
    ExportPDF,
    ExportHTML,
    FirstPageButton,
    PriorPageButton,
    NextPageButton,
    LastPageButton,
};

// The command a key press gives the preview window; none for a key the window leaves alone.
std::optional<TPreviewKeyCommand> PreviewKeyCommand(const QKeyEvent &event);

// Whether the focused page number field keeps the key for its typing: all but the vertical paging keys
// and the Ctrl and Alt letters.
bool IsPageNumberFieldKey(const QKeyEvent &event);

} // namespace fiscora
