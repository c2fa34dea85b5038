#pragma once

#include <QString>

#include <functional>

namespace fiscora {

// The text with its macro and variable markers replaced by their values: a macro's from MacroText (by
// its ID; a marker without two digits prints nothing), a variable's from VarValue (by its name as
// written). What follows the marker prefix but is no marker stays as it is. Expansion is bounded, so a
// value that names itself cannot grow forever: what is left then stays unexpanded.
QString ExpandSnapshotMarkers(const QString &Text, const std::function<QString(int MacroID)> &MacroText,
                              const std::function<QString(const QString &Name)> &VarValue);

} // namespace fiscora
