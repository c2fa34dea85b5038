#pragma once

// Writing that reports the system's reason when it fails, so that a full disk or a closed pipe is
// never a silent success.

#include <string>
#include <string_view>

namespace fiscora::cli {

// Writes all of `data` to the file descriptor; 0, or the errno of the write that failed.
int WriteAll(int fd, std::string_view data);

// The system's text for an errno value ("No space left on device").
std::string SystemReason(int error);

// Writes `text` to standard output. When that fails it says so on standard error, as
// "fiscora-cli COMMAND: cannot write to standard output: REASON" ("fiscora-cli: ..." for no command),
// and returns false.
bool WriteStandardOutput(std::string_view command, std::string_view text);

} // namespace fiscora::cli
