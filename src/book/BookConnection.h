#pragma once

// One database connection of a book, with the statements run through it; every failure becomes an
// EBookError worded for the user.

#include "BookLocation.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

#include <initializer_list>
#include <string>

namespace fiscora {

class BookConnection {
public:
    // An SQLite file, opened read-only or for writing.
    static std::unique_ptr<BookConnection> OpenSqlite(const std::string &path, bool readOnly);
    // A PostgreSQL database; `readOnly` makes every transaction of the session read-only.
    static std::unique_ptr<BookConnection> OpenPostgres(const BookLocation &location, bool readOnly);

    ~BookConnection();
    BookConnection(const BookConnection &) = delete;
    BookConnection &operator=(const BookConnection &) = delete;

    BookBackEnd BackEnd() const { return FBackEnd; }
    const std::string &Shown() const { return FShown; }

    // A prepared statement, run with the values bound in order; its rows can be read forward.
    QSqlQuery Run(const QString &sql, std::initializer_list<QVariant> values = {});
    // A prepared statement to run many times (Execute).
    QSqlQuery Prepare(const QString &sql);
    void Execute(QSqlQuery &query);

    void Begin();
    void Commit();
    // Ends the open transaction, if any, without its changes.
    void Rollback() noexcept;

    // The error of a failed statement as the user reads it (a read-only book, a damaged file, or the
    // database's own text), after rolling the open transaction back.
    [[noreturn]] void Raise(const QSqlError &error);

private:
    BookConnection(BookBackEnd backEnd, std::string shown);

    BookBackEnd FBackEnd;
    std::string FShown; // the book as messages name it
    QString FName;      // the connection's name among Qt's connections
    QSqlDatabase FDatabase;
    bool FInTransaction = false;
};

// One transaction: rolled back unless committed, so an error leaves the book as it was.
class BookTransaction {
public:
    explicit BookTransaction(BookConnection &connection) : FConnection(connection) { FConnection.Begin(); }
    ~BookTransaction() {
        if (!FCommitted)
            FConnection.Rollback();
    }
    BookTransaction(const BookTransaction &) = delete;
    BookTransaction &operator=(const BookTransaction &) = delete;

    void Commit() {
        FConnection.Commit();
        FCommitted = true;
    }

private:
    BookConnection &FConnection;
    bool FCommitted = false;
};

} // namespace fiscora
