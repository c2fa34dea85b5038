#pragma once

#include <optional>

#include <QChar>

class QKeyEvent;

namespace fiscora {

// Character codes of the typed keys the controls treat specially.
inline constexpr char16_t kKeyBackspace = 8;
inline constexpr char16_t kKeyEnter = 13;
inline constexpr char16_t kKeyEscape = 27;

// The character a key press types, as a key-press handler sees it: printable characters, backspace,
// Enter, Esc and the control characters of Ctrl+letter. Keys that type nothing (arrows, Home,
// Delete, function keys) give nothing: they are editing keys, not typed characters.
std::optional<QChar> TypedChar(const QKeyEvent &event);

} // namespace fiscora
