#include "PartialFile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <unistd.h>

namespace fiscora {

namespace {

constexpr int kNameAttempts = 16;

std::string RandomTag() {
    static thread_local std::mt19937 generator{std::random_device{}()};
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(generator()));
    return tag;
}

} // namespace

PartialFile::PartialFile(std::string target, std::string folder) : FTarget(std::move(target)) {
    const std::filesystem::path targetPath(FTarget);
    const std::filesystem::path base =
        folder.empty() ? targetPath : std::filesystem::path(folder) / targetPath.filename();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string candidate = base.string() + "." + RandomTag() + ".part";
        // Mode 0666 under O_CREAT: the kernel applies the umask as for any new file.
        const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            FPath = std::move(candidate);
            return;
        }
        FError = errno;
        if (FError != EEXIST)
            return;
    }
}

PartialFile::~PartialFile() {
    if (!FPath.empty() && !FCommitted)
        ::unlink(FPath.c_str());
}

int PartialFile::Commit() {
    if (FPath.empty())
        return FError;
    if (std::rename(FPath.c_str(), FTarget.c_str()) != 0)
        return errno;
    FCommitted = true;
    return 0;
}

int PartialFile::CommitNew() {
    if (FPath.empty())
        return FError;
    // A link never replaces a file that appeared meanwhile.
    return ::link(FPath.c_str(), FTarget.c_str()) == 0 ? 0 : errno;
}

} // namespace fiscora
