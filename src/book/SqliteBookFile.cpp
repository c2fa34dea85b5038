#include "SqliteBookFile.h"

#include "BookError.h"
#include "BookSchema.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fiscora {

namespace {

constexpr std::size_t kHeaderSize = 100;
constexpr std::string_view kSqliteMagic{"SQLite format 3\0", 16};
constexpr std::size_t kUserVersionOffset = 60;
constexpr std::size_t kApplicationIdOffset = 68;

std::uint32_t BigEndian32(const unsigned char *bytes) {
    return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 | std::uint32_t(bytes[2]) << 8 |
           std::uint32_t(bytes[3]);
}

std::string Reason(int error) {
    return std::strerror(error);
}

std::string FolderOf(const std::string &path) {
    const std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

} // namespace

std::optional<SqliteFileHeader> ReadSqliteFileHeader(const std::string &path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EBookError("The book \"" + path + "\" cannot be opened: " + Reason(errno));
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISDIR(status.st_mode)) {
        ::close(fd);
        throw EBookError("The book \"" + path + "\" cannot be opened: " + Reason(EISDIR));
    }
    std::array<unsigned char, kHeaderSize> header{};
    std::size_t got = 0;
    while (got < header.size()) {
        const ssize_t n = ::read(fd, header.data() + got, header.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw EBookError("The book \"" + path + "\" cannot be read: " + Reason(error));
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got < header.size() || std::memcmp(header.data(), kSqliteMagic.data(), kSqliteMagic.size()) != 0)
        return std::nullopt;
    return SqliteFileHeader{BigEndian32(header.data() + kUserVersionOffset),
                            BigEndian32(header.data() + kApplicationIdOffset)};
}

void CheckBookFile(const std::string &path, int newestVersion) {
    const auto header = ReadSqliteFileHeader(path);
    if (!header || header->applicationId != kBookApplicationId)
        throw EBookError("\"" + path + "\" is not a Fiscora book");
    if (header->userVersion > static_cast<std::uint32_t>(newestVersion))
        throw EBookError("The book \"" + path + "\" was written by a newer Fiscora (book version " +
                         std::to_string(header->userVersion) + "; this Fiscora reads versions up to " +
                         std::to_string(newestVersion) + "); it was left unchanged");
}

bool IsWritableBookFile(const std::string &path) {
    return ::access(path.c_str(), W_OK) == 0 && ::access(FolderOf(path).c_str(), W_OK) == 0;
}

NewBookFile::NewBookFile(const std::string &path) : FPath(path), FPartial(path) {
    if (FPartial.Error() != 0)
        throw EBookError("The book \"" + path + "\" cannot be created: " + Reason(FPartial.Error()));
}

NewBookFile::~NewBookFile() {
    if (!FPartial.Path().empty())
        ::unlink((FPartial.Path() + "-journal").c_str());
}

void NewBookFile::Publish() {
    if (const int error = FPartial.CommitNew()) {
        if (error == EEXIST)
            throw EBookError("The book \"" + FPath + "\" already exists; it was left unchanged");
        throw EBookError("The book \"" + FPath + "\" cannot be created: " + Reason(error));
    }
}

} // namespace fiscora
