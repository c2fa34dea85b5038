#pragma once

#include <QFile>

#include <optional>
#include <string>

namespace fiscora::cli {

// Opens a snapshot file named on the command line for reading; the message
// "Cannot open file "NAME". REASON" when it cannot be opened, with the system's reason.
std::optional<std::string> OpenInputFile(QFile &file);

// Opens it as OpenInputFile does and writes the message to standard error when it cannot.
bool OpenInputFileOrSay(QFile &file);

} // namespace fiscora::cli
