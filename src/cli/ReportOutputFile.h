#pragma once

#include "RemoveOnInterrupt.h"

#include <QString>

#include <memory>
#include <stdexcept>
#include <string>

namespace fiscora {
class PartialFile;
} // namespace fiscora

namespace fiscora::cli {

// Where a report is written before it becomes the output: a partial file beside the output,
// so that a failed or interrupted run never leaves a half-written snapshot under the output's name,
// and nothing else either. An output that is a device or a pipe cannot be renamed over: its partial
// file lies in the temporary folder and the finished snapshot is copied into it.
// "Cannot WHAT the output file "NAME": REASON", the message for an output that could not be written.
std::runtime_error OutputFileError(const char *what, const QString &output, const std::string &reason);

class ReportOutputFile {
public:
    // Raises std::runtime_error, naming the output and the reason, when the output is a folder, a
    // symbolic link to anything but a device or a pipe, or the partial file cannot be created.
    explicit ReportOutputFile(const QString &outputFile);
    ~ReportOutputFile();
    ReportOutputFile(const ReportOutputFile &) = delete;
    ReportOutputFile &operator=(const ReportOutputFile &) = delete;

    const QString &PartialFileName() const { return FPartial; }

    // Puts the finished snapshot in place of the output; raises std::runtime_error naming the output
    // and the system's reason when that fails (the partial file is removed all the same).
    void Commit();

private:
    void CopyIntoOutput() const;

    QString FOutput;
    QString FPartial;
    bool FRenamed = false; // a regular file, or none yet: the partial file is renamed over it
    std::unique_ptr<PartialFile> FPartialFile;
    std::unique_ptr<RemoveOnInterrupt> FGuard;
};

} // namespace fiscora::cli
