#pragma once

// Where a book is: an SQLite file (".fbook"), or a PostgreSQL database named by a libpq connection
// string ("postgresql://host/db?...", "service=firm", "host=... dbname=...").

#include <string>
#include <utility>
#include <vector>

namespace fiscora {

enum class BookBackEnd { Sqlite, Postgres };

struct BookLocation {
    BookBackEnd backEnd = BookBackEnd::Sqlite;
    std::string text; // the file name, or the connection string as given
    // For PostgreSQL: the connection string's settings, as libpq parsed them (never a password).
    std::vector<std::pair<std::string, std::string>> settings;
};

// A text that starts with "postgresql://" or "postgres://", or with a libpq keyword and "="
// ("service=firm"), names a PostgreSQL book; any other text is a file name ("./service=x" too).
// Raises EBookError for a connection string libpq cannot read, one that holds a password
// (passwords come from libpq's own means: the password file, the service file, the environment),
// and one with a value Qt's driver cannot pass on (a ";").
BookLocation ParseBookLocation(const std::string &text);

// The settings as one "keyword='value' ..." text for the PostgreSQL driver.
std::string ConnectOptionsText(const BookLocation &location);

} // namespace fiscora
