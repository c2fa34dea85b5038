#include "TypedChar.h"

#include <QKeyEvent>

namespace fiscora {

std::optional<QChar> TypedChar(const QKeyEvent &event) {
    // Some input paths leave the text of these keys empty.
    switch (event.key()) {
    case Qt::Key_Backspace:
        return QChar(kKeyBackspace);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(kKeyEnter);
    case Qt::Key_Escape:
        return QChar(kKeyEscape);
    case Qt::Key_Delete:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return std::nullopt;
    default:
        break;
    }
    const QString text = event.text();
    // More than one character (a composed key) is judged by its first one.
    if (text.isEmpty() || text[0].unicode() == 0x7f)
        return std::nullopt;
    return text[0];
}

} // namespace fiscora
