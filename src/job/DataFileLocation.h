#pragma once

#include <QString>

namespace fiscora {

// The folder, relative to the executable's, where an installed Fiscora keeps its data files
// (/usr/bin/fiscora reads /usr/share/fiscora/Amortix.fol).
inline constexpr const char *kInstalledDataFolder = "../share/fiscora";

// Finds one of the program's data files (the report template, the help file) by its bare name:
// beside the executable first, as the build tree has them, then in the installed data folder. When
// neither holds the file, the path beside the executable is returned, so that the error names the
// place the program looked first.
QString FindDataFile(const QString &fileName, const QString &executableFolder);

// The same for the running program's executable.
QString FindDataFile(const QString &fileName);

} // namespace fiscora
