#pragma once

// The checks and the creation of a book file that need no database connection, so that a foreign or
// newer file is recognised without SQLite ever opening it for writing.

#include "PartialFile.h"

#include <cstdint>
#include <optional>
#include <string>

namespace fiscora {

// What the first 100 bytes of an SQLite database file record.
struct SqliteFileHeader {
    std::uint32_t userVersion = 0;   // the book's version of its tables
    std::uint32_t applicationId = 0; // kBookApplicationId for a book
};

// Reads the header; nothing when the file is no SQLite database (too short, another format).
// Raises EBookError when the file cannot be read at all, with the system's reason.
std::optional<SqliteFileHeader> ReadSqliteFileHeader(const std::string &path);

// Refuses (EBookError) a file that is not a book of at most `newestVersion`; nothing is written.
void CheckBookFile(const std::string &path, int newestVersion);

// True when the file and its folder (where SQLite keeps its journal) may be written.
bool IsWritableBookFile(const std::string &path);

// A partial file beside `path` for a new book to be written into; the guard removes the partial name
// and its journal (a published book keeps its own name).
class NewBookFile {
public:
    explicit NewBookFile(const std::string &path);
    ~NewBookFile();
    NewBookFile(const NewBookFile &) = delete;
    NewBookFile &operator=(const NewBookFile &) = delete;

    const std::string &PartialPath() const { return FPartial.Path(); }
    // Gives the finished file its name, never over an existing file.
    void Publish();

private:
    std::string FPath;
    PartialFile FPartial;
};

} // namespace fiscora
