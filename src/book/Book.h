#pragma once

// An asset book: a business's name, its tax year end month and its assets, kept in an SQLite file
// (".fbook") or shared on a PostgreSQL server. Every change is one transaction; every asset stored
// has passed the window's rules and checks (BookAssetEntry.h).

#include "AssetRecord.h"
#include "BookLocation.h"
#include "BookSchema.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace fiscora {

enum class BookAccess { Read, Write };

class Book {
public:
    // A new, empty book at the location (a file that does not exist yet, or a database without a
    // book). Raises EBookError, leaving nothing behind, when it cannot be made.
    static std::unique_ptr<Book> Create(const std::string &location, const std::string &name,
                                        int yearEndMonth);

    // An existing book. A file is checked before any database connection opens it; a book of an
    // older version is migrated (`migrations`, normally BookMigrations()), one of a newer version or
    // a foreign or damaged one is refused unchanged. Raises EBookError.
    static std::unique_ptr<Book> Open(const std::string &location, BookAccess access);
    static std::unique_ptr<Book> Open(const std::string &location, BookAccess access,
                                      const std::vector<BookMigration> &migrations);

    ~Book();
    Book(const Book &) = delete;
    Book &operator=(const Book &) = delete;

    const std::string &Name() const { return FName; }
    int YearEndMonth() const { return FYearEndMonth; }
    BookAccess Access() const { return FAccess; }
    BookBackEnd BackEnd() const;
    const std::string &Shown() const; // the location as messages name it

    // Every asset, by id.
    std::vector<AssetRecord> Assets();
    std::optional<AssetRecord> FindAsset(std::int64_t id);
    // The asset numbers in use.
    std::vector<std::string> AssetNumbers();

    // Stores new assets, all or none (their ids and versions are the book's; the records' are
    // ignored). Each must pass the window's checks (EFieldException, EDisabledControl) and have an
    // asset number not in the book (EBookError). Returns the ids given, in order.
    std::vector<std::int64_t> AddAssets(const std::vector<AssetRecord> &records);
    std::int64_t AddAsset(const AssetRecord &record);

    // Saves a changed asset loaded earlier: refused with EBookConflict when anyone changed or
    // removed it since (its row version differs), with nothing written. Returns it as stored.
    AssetRecord SaveAsset(const AssetRecord &record);

    // Removes an asset; with `loadedVersion`, only if nobody changed it since (EBookConflict).
    // Raises EBookError when the book has no such asset.
    void RemoveAsset(std::int64_t id, std::optional<std::int64_t> loadedVersion = std::nullopt);

private:
    Book() = default;
    void LoadBookRow();
    void RequireWrite() const;
    void CheckStorable(const AssetRecord &record) const;

    std::unique_ptr<BookConnection> FConnection;
    BookAccess FAccess = BookAccess::Read;
    std::string FName;
    int FYearEndMonth = 12;
};

} // namespace fiscora
