#include "CliWrite.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <unistd.h>

namespace fiscora::cli {

int WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t written = ::write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

std::string SystemReason(int error) {
    return std::strerror(error);
}

bool WriteStandardOutput(std::string_view command, std::string_view text) {
    const int error = WriteAll(STDOUT_FILENO, text);
    if (error == 0)
        return true;
    std::cerr << "fiscora-cli" << (command.empty() ? "" : " ") << command
              << ": cannot write to standard output: " << SystemReason(error) << '\n';
    return false;
}

} // namespace fiscora::cli
