#include "ErrorDisplay.h"

#include "ToolBoxExceptions.h"

namespace fiscora {

namespace {

// The innermost non-empty message of a chain of nested errors.
std::string InnermostMessage(const std::exception &error) {
    std::string message = error.what();
    try {
        std::rethrow_if_nested(error);
    } catch (const std::exception &inner) {
        std::string innerMessage = InnermostMessage(inner);
        if (!innerMessage.empty())
            message = std::move(innerMessage);
    } catch (...) {
    }
    return message;
}

} // namespace

std::optional<std::string> ErrorDisplayText(const std::exception &error) {
    if (dynamic_cast<const EAbort *>(&error) != nullptr)
        return std::nullopt;
    std::string message = InnermostMessage(error);
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        message += '.';
    return message;
}

std::optional<std::string> ErrorDisplayText(const std::exception_ptr &error) {
    if (!error)
        return std::nullopt;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception &caught) {
        return ErrorDisplayText(caught);
    } catch (...) {
        return std::string("An unknown error occurred.");
    }
}

} // namespace fiscora
