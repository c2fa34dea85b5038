#include "CliInputFile.h"

#include "CliWrite.h"
#include "FileMessages.h"

#include <QFileInfo>

#include <cerrno>
#include <iostream>

namespace fiscora::cli {

std::optional<std::string> OpenInputFile(QFile &file) {
    // Qt words a folder its own way; the system's reason reads like every other.
    const bool isFolder = QFileInfo(file).isDir();
    if (!isFolder && file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return CannotOpenFileText(file.fileName().toStdString(),
                              isFolder ? SystemReason(EISDIR) : file.errorString().toStdString());
}

bool OpenInputFileOrSay(QFile &file) {
    const std::optional<std::string> failure = OpenInputFile(file);
    if (failure)
        std::cerr << *failure << '\n';
    return !failure;
}

} // namespace fiscora::cli
