#include "PartialFile.h"
#include "ScopeExit.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace fiscora {
namespace {

namespace fs = std::filesystem;

// A fresh folder for one test, removed with everything in it.
struct Folder {
    fs::path path;
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "fiscora-partial-XXXXXX").string();
        path = ::mkdtemp(pattern.data());
    }
    ~Folder() { fs::remove_all(path); }
    std::vector<std::string> Names() const {
        std::vector<std::string> names;
        for (const auto &entry : fs::directory_iterator(path))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

void Write(const std::string &path, const std::string &text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Read(const fs::path &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(PartialFile, ACommittedFileHasThePermissionsTheUmaskGivesANewFile) {
    for (const mode_t mask : {mode_t(022), mode_t(077), mode_t(002), mode_t(0)}) {
        Folder folder;
        const mode_t previous = ::umask(mask);
        ScopeExit restore([previous] { ::umask(previous); });
        const std::string target = (folder.path / "report.pdf").string();
        {
            PartialFile file(target);
            ASSERT_EQ(file.Error(), 0);
            Write(file.Path(), "new");
            ASSERT_EQ(file.Commit(), 0);
        }
        struct stat status {};
        ASSERT_EQ(::stat(target.c_str(), &status), 0);
        EXPECT_EQ(status.st_mode & 0777, 0666 & ~mask) << std::oct << mask;
        EXPECT_EQ(Read(target), "new");
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"report.pdf"}) << "no partial file is left";
    }
}

TEST(PartialFile, AFailureLeavesTheTargetAsItWasAndNoPartialFile) {
    struct Case {
        const char *name;
        bool commit;
        bool newOnly;
        bool targetIsFolder;
        int error;
    };
    for (const Case &c : {Case{"not committed", false, false, false, 0},
                          Case{"renamed over a folder", true, false, true, EISDIR},
                          Case{"a new file over an existing one", true, true, false, EEXIST}}) {
        Folder folder;
        const fs::path target = folder.path / "report.html";
        if (c.targetIsFolder) {
            fs::create_directory(target);
            Write((target / "inside").string(), "old");
        } else {
            Write(target.string(), "old");
        }
        {
            PartialFile file(target.string());
            ASSERT_EQ(file.Error(), 0) << c.name;
            Write(file.Path(), "new");
            if (c.commit) {
                EXPECT_EQ(c.newOnly ? file.CommitNew() : file.Commit(), c.error) << c.name;
            }
        }
        EXPECT_EQ(Read(c.targetIsFolder ? target / "inside" : target), "old") << c.name;
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"report.html"}) << c.name;
    }
}

TEST(PartialFile, LiesBesideTheTargetOrInTheFolderGiven) {
    Folder folder;
    Folder other;
    const std::string target = (folder.path / "out.fsn").string();
    PartialFile beside(target);
    PartialFile elsewhere(target, other.path.string());
    EXPECT_EQ(fs::path(beside.Path()).parent_path(), folder.path);
    EXPECT_EQ(fs::path(elsewhere.Path()).parent_path(), other.path);
    EXPECT_TRUE(fs::path(beside.Path()).filename().string().starts_with("out.fsn."));
    EXPECT_NE(beside.Path(), PartialFile(target).Path()) << "each partial file has a name of its own";
}

TEST(PartialFile, AMissingFolderIsAnErrorNotACrash) {
    Folder folder;
    PartialFile file((folder.path / "missing" / "out.pdf").string());
    EXPECT_EQ(file.Error(), ENOENT);
    EXPECT_TRUE(file.Path().empty());
    EXPECT_EQ(file.Commit(), ENOENT);
    EXPECT_FALSE(fs::exists(folder.path / "missing" / "out.pdf"));
}

} // namespace
} // namespace fiscora
