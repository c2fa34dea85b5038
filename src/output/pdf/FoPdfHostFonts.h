#pragma once

#include <QString>

namespace fiscora {

// The TrueType-outline file fontconfig chooses for a face and style. Empty when none is found.
QString FindFontFile(const QString &Face, bool Bold, bool Italic);
// True when the host face (after substitution) is a TrueType-outline font.
bool IsTrueTypeFace(const QString &Face, bool Bold, bool Italic);

} // namespace fiscora
