#pragma once

#include <string>
#include <string_view>

namespace fiscora {

// The messages for a file that could not be used, with the system's reason after the name:
// "Cannot open file "NAME". REASON" for reading, "Cannot create file "NAME". REASON" for writing.
std::string CannotOpenFileText(std::string_view fileName, std::string_view reason);
std::string CannotCreateFileText(std::string_view fileName, std::string_view reason);

} // namespace fiscora
