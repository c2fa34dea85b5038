#pragma once

#include <string>

namespace fiscora {

// A file written beside its target and put in its place only when complete, so that a failed write
// leaves no half-written file and an existing target as it was. The partial file is
// "TARGET.xxxxxxxx.part" in the target's folder, created as any new file is (its permissions are what
// the umask gives), and removed by the destructor unless it became the target.
class PartialFile {
public:
    // Creates the partial file beside the target, or in `folder` when given (a target that cannot be
    // renamed over, such as a device, is then copied into by the caller). Error() tells the outcome.
    explicit PartialFile(std::string target, std::string folder = {});
    ~PartialFile();
    PartialFile(const PartialFile &) = delete;
    PartialFile &operator=(const PartialFile &) = delete;

    // 0 when the partial file was created, else the system's error number (errno).
    int Error() const { return FError; }
    const std::string &Path() const { return FPath; }
    const std::string &Target() const { return FTarget; }

    // Renames the partial file over the target; 0, or errno (the target is then untouched).
    int Commit();
    // Links the partial file to the target's name, which must be free (EEXIST when it is not); the
    // partial name goes with the destructor.
    int CommitNew();

private:
    std::string FTarget;
    std::string FPath;
    int FError = 0;
    bool FCommitted = false;
};

} // namespace fiscora
