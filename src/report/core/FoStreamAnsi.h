#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace fiscora {

// The ANSI code page written files use: Windows-1252.
// Characters it cannot represent become "?" (one per character, surrogate pairs included).
QByteArray AnsiFromText(QStringView text);

// True when the code page holds the UTF-16 unit, so that AnsiFromText writes it as itself.
bool AnsiHolds(char16_t unit);

// Decodes Windows-1252 bytes; the five bytes the code page leaves unassigned map to the same code point.
QString TextFromAnsi(QByteArrayView bytes);

} // namespace fiscora
