#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace fiscora {

// Breaks a memo text into lines no wider than width: at line breaks, then between words; a word wider
// than the line is split between characters. measure gives a text's width in the units of width.
QStringList WrapMemoText(const QString &text, double width,
                         const std::function<double(const QString &)> &measure);

} // namespace fiscora
