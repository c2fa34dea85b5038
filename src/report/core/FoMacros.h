#pragma once

#include "report/core/FoTypes.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace fiscora {

// Marker characters inside report strings, expanded at playback.
inline constexpr char16_t kMarkerChar = 253;
inline constexpr char16_t kVarNameStart = 252;
inline constexpr char16_t kVarNameEnd = 251;

// Character 253 and "$FOL": every marker starts so; "M" (macro) or "V" (variable) follows.
const QString &MarkerPrefix();
inline constexpr char16_t kMacroKind = u'M';
inline constexpr char16_t kVariableKind = u'V';

// Character 253, "$FOLM" and the macro ID as two decimal digits.
QString MacroMarker(int MacroID);
// Character 253, "$FOLV", character 252, the name, character 251.
QString VariableMarker(const QString &VarName);
// Whether a text holds a macro or variable marker (character 253 followed by "$FOL").
bool HasMarker(const QString &Text);

// The text of a date or time macro (IDs 0 to 7) for the given moment; empty for other IDs.
QString MacroDateTimeText(int MacroID, const QDateTime &When);

// What the macros print, as the page canvas or playback knows it.
struct TMacroValues {
    QDateTime When;
    int FirstPage = 0;
    int LastPage = 0;
    int TotalPages = 0;
    int CurrentPage = 0;
    // Unknown at playback: the macro then prints nothing.
    std::optional<int> RelativePage;
    // The printer, driver and port names; asked for only when such a macro is printed.
    std::function<QString(TMacroID)> DeviceText;
    QStringList UserTexts;
};

// The text of any macro; empty for an ID that names none (or a user text not set).
QString MacroText(int MacroID, const TMacroValues &Values);

} // namespace fiscora
