#pragma once

#include <exception>
#include <optional>
#include <string>

namespace fiscora {

// The text the general error display shows for an error, or nothing for a silent abort (EAbort).
// For an error that wraps others (std::throw_with_nested) it is the message of the innermost one
// that has a message; a "." is appended when the last character's code is above that of ".".
std::optional<std::string> ErrorDisplayText(const std::exception &error);

// The same for whatever is in flight (std::current_exception() and the like); a non-standard
// exception gets a generic message.
std::optional<std::string> ErrorDisplayText(const std::exception_ptr &error);

} // namespace fiscora
