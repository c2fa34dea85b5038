#include "FileMessages.h"

namespace fiscora {

namespace {

std::string FileText(std::string_view verb, std::string_view fileName, std::string_view reason) {
    std::string text = "Cannot ";
    text.append(verb).append(" file \"").append(fileName).append("\". ").append(reason);
    return text;
}

} // namespace

std::string CannotOpenFileText(std::string_view fileName, std::string_view reason) {
    return FileText("open", fileName, reason);
}

std::string CannotCreateFileText(std::string_view fileName, std::string_view reason) {
    return FileText("create", fileName, reason);
}

} // namespace fiscora
