#pragma once

#include <cstring>

#include "FileMessages.h"
#include "ToolBoxExceptions.h"

#include <QString>

#include <string>

namespace fiscora {

// Errors of the page canvas, the output devices, the snapshot writer and playback.
class EFolioReport : public ECustomException {
public:
    using ECustomException::ECustomException;
    explicit EFolioReport(const QString &message) : ECustomException(message.toStdString()) {}
};

// Errors of the report template project.
class EFolioException : public ECustomException {
public:
    using ECustomException::ECustomException;
    explicit EFolioException(const QString &message) : ECustomException(message.toStdString()) {}
};

// A file that could not be opened or created, with the system's reason as Qt words it.
inline EFolioReport CannotOpenFileError(const QString &fileName, const QString &reason) {
    return EFolioReport(CannotOpenFileText(fileName.toStdString(), reason.toStdString()));
}
// The system's text for an errno, as the file messages give it after the name.
inline QString SystemErrorText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

inline EFolioReport CannotCreateFileError(const QString &fileName, const QString &reason) {
    return EFolioReport(CannotCreateFileText(fileName.toStdString(), reason.toStdString()));
}

// Message texts shared by the canvas and the devices.
inline constexpr const char *kMsgNotPrinting = "Invalid method call.  Report canvas is not printing.";
inline constexpr const char *kMsgAlreadyPrinting = "Invalid method call.  Report canvas already printing.";
inline constexpr const char *kMsgCanvasNotActive = "Error!  Canvas not yet active.";
inline constexpr const char *kMsgDeviceAlreadyPrinting = "Invalid method call.  Device already printing.";
inline constexpr const char *kMsgDeviceNotPrinting = "Invalid method call.  Device is not printing.";

} // namespace fiscora
