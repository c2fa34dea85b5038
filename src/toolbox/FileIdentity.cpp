#include "FileIdentity.h"

#include <sys/stat.h>

namespace fiscora {

std::optional<TFileIdentity> FileIdentityOf(const char *Path) {
    struct stat status {};
    if (::stat(Path, &status) != 0)
        return std::nullopt;
    return TFileIdentity{status.st_dev, status.st_ino};
}

} // namespace fiscora
