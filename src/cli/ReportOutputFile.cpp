#include "ReportOutputFile.h"

#include "CliWrite.h"
#include "PartialFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace fiscora::cli {

namespace {

std::runtime_error OutputError(const char *what, const QString &output, int error) {
    return OutputFileError(what, output, SystemReason(error));
}

// A file descriptor closed with its owner.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : FFd(fd) {}
    ~FileDescriptor() {
        if (FFd >= 0)
            ::close(FFd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int Get() const { return FFd; }
    // Closes now; 0, or the errno of a failed close (a network file reports late write errors here).
    int Close() {
        const int result = ::close(FFd);
        FFd = -1;
        return result == 0 ? 0 : errno;
    }

private:
    int FFd;
};

} // namespace

std::runtime_error OutputFileError(const char *what, const QString &output, const std::string &reason) {
    return std::runtime_error(std::string(what) + " the output file \"" + output.toStdString() +
                              "\": " + reason);
}

ReportOutputFile::ReportOutputFile(const QString &outputFile) : FOutput(outputFile) {
    struct stat status {};
    const bool exists = ::stat(QFile::encodeName(outputFile).constData(), &status) == 0;
    // The partial file would be renamed over the link itself, leaving the file it leads to as it was;
    // only a device or a pipe (/dev/stdout) is written through its link.
    if (QFileInfo(outputFile).isSymLink() && (!exists || S_ISREG(status.st_mode)))
        throw std::runtime_error("Cannot write the output file \"" + FOutput.toStdString() +
                                 "\": Is a symbolic link; name the file it leads to");
    if (exists && S_ISDIR(status.st_mode))
        throw OutputError("Cannot write", FOutput, EISDIR);
    FRenamed = !exists || S_ISREG(status.st_mode);
    const HoldInterrupts held;
    FPartialFile = std::make_unique<PartialFile>(QFile::encodeName(outputFile).toStdString(),
                                                 FRenamed ? std::string() : QDir::tempPath().toStdString());
    if (FPartialFile->Error() != 0)
        throw OutputError("Cannot create", FOutput, FPartialFile->Error());
    FGuard = std::make_unique<RemoveOnInterrupt>(FPartialFile->Path().c_str());
    FPartial = QFile::decodeName(FPartialFile->Path().c_str());
}

ReportOutputFile::~ReportOutputFile() {
    const HoldInterrupts held;
    FPartialFile.reset();
    FGuard.reset();
}

void ReportOutputFile::Commit() {
    if (!FRenamed) {
        CopyIntoOutput();
        return;
    }
    const HoldInterrupts held;
    if (const int error = FPartialFile->Commit())
        throw OutputError("Cannot write", FOutput, error);
    FGuard.reset();
}

void ReportOutputFile::CopyIntoOutput() const {
    QFile partial(FPartial);
    const auto readError = [&] {
        return std::runtime_error("Cannot read the report written to \"" + FPartial.toStdString() +
                                  "\": " + partial.errorString().toStdString());
    };
    if (!partial.open(QIODevice::ReadOnly))
        throw readError();
    FileDescriptor output(::open(QFile::encodeName(FOutput).constData(), O_WRONLY | O_TRUNC | O_CLOEXEC));
    if (output.Get() < 0)
        throw OutputError("Cannot write", FOutput, errno);
    while (!partial.atEnd()) {
        const QByteArray chunk = partial.read(1 << 20);
        if (chunk.isEmpty())
            throw readError();
        if (const int error = WriteAll(output.Get(), std::string_view(chunk.constData(), chunk.size())))
            throw OutputError("Cannot write", FOutput, error);
    }
    if (const int error = output.Close())
        throw OutputError("Cannot write", FOutput, error);
}

} // namespace fiscora::cli
