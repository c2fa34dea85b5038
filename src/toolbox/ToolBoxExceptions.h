#pragma once

#include <stdexcept>
#include <string>

namespace fiscora {

// Base of the errors this program raises itself; the message is what the user sees.
class ECustomException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Input validation failed; raised after the focus has moved to the offending control.
class EFieldException : public ECustomException {
public:
    using ECustomException::ECustomException;
};

// A text could not be converted to a number or a date.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file or folder operation failed; errorCode is the system's error number (0 when unknown).
class EInOutError : public std::runtime_error {
public:
    explicit EInOutError(const std::string &message, int errorCode = 0)
        : std::runtime_error(message), errorCode(errorCode) {}

    int errorCode;
};

// Silent abort: ends the current command without any message.
class EAbort : public std::runtime_error {
public:
    EAbort() : std::runtime_error("Operation aborted") {}
};

} // namespace fiscora
