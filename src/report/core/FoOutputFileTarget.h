#pragma once

#include <QString>

#include <memory>

namespace fiscora {

class PartialFile;

// Where the bytes of an output file (a snapshot, a rendered document) go while a job writes it, so
// that a failed or cancelled job leaves no output and an earlier file as it was. A file with content
// is written beside itself and renamed over; a new or empty one is written in place and removed
// unless the job completes (a caller may have made it as its own partial file); a device, a pipe or
// a symbolic link is written through.
class TOutputFileTarget {
public:
    // Raises EFolioReport when the file beside the target cannot be made.
    explicit TOutputFileTarget(const QString &target);
    ~TOutputFileTarget();
    TOutputFileTarget(const TOutputFileTarget &) = delete;
    TOutputFileTarget &operator=(const TOutputFileTarget &) = delete;

    const QString &Target() const { return FTarget; }
    const QString &WritePath() const { return FWritePath; }
    // The job is complete: its file becomes the target. Raises EFolioReport when it cannot.
    void Commit();

private:
    QString FTarget;
    QString FWritePath;
    std::unique_ptr<PartialFile> FPartial;
    bool FRemoveUncommitted = false;
    bool FCommitted = false;
};

} // namespace fiscora
