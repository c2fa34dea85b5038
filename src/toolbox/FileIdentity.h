#pragma once

#include <optional>
#include <sys/types.h>

namespace fiscora {

// A file as the system knows it, by device and inode: the same whichever path, spelling, symbolic or
// hard link leads there.
struct TFileIdentity {
    dev_t Device;
    ino_t Inode;
    bool operator==(const TFileIdentity &) const = default;
};

// The identity of the file the path names, symbolic links followed; none when it names no file.
std::optional<TFileIdentity> FileIdentityOf(const char *Path);

} // namespace fiscora
