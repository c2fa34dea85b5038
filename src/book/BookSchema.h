#pragma once

// The tables of a book and their versions. A book records the version of its tables (SQLite: the
// file's user_version; PostgreSQL: the fiscora_metadata table); opening an older book runs the
// migration of every version after it, in one transaction.

#include "BookConnection.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace fiscora {

// The version this Fiscora writes; version 1 is the first.
inline constexpr int kBookSchemaVersion = 1;
// SQLite's application id of a book file ("FBOK"), so that a foreign database is recognised.
inline constexpr std::uint32_t kBookApplicationId = 0x46424F4B;

// Brings the tables from version n - 1 to version n; migration n is element n - 1 of a list.
using BookMigration = std::function<void(BookConnection &)>;

// The migrations of this Fiscora: element 0 creates version 1 from an empty database.
const std::vector<BookMigration> &BookMigrations();

// The version recorded in the database; 0 when it holds no book tables yet. Raises EBookError when
// it holds tables that are not a book's.
int ReadSchemaVersion(BookConnection &connection);

// Runs migrations fromVersion + 1 .. migrations.size() and records the last version, inside the
// caller's transaction.
void MigrateBook(BookConnection &connection, int fromVersion, const std::vector<BookMigration> &migrations);

// Refuses (EBookError) an SQLite book whose tables and indexes are not defined as the migrations
// define them: a damaged definition (an id that is no key, a number without its uniqueness) would
// let the book store what it cannot find again.
void CheckSqliteSchema(BookConnection &connection, const std::vector<BookMigration> &migrations);

} // namespace fiscora
