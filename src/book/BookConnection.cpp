#include "BookConnection.h"

#include "BookError.h"

#include <QSqlError>

#include <atomic>

namespace fiscora {

namespace {

QString NewConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("fiscora-book-%1").arg(++counter);
}

// SQLite result codes and PostgreSQL SQLSTATEs that have a message of their own.
bool IsReadOnlyError(BookBackEnd backEnd, const QSqlError &error) {
    const QString code = error.nativeErrorCode();
    if (backEnd == BookBackEnd::Postgres)
        return code == QLatin1String("42501") || code == QLatin1String("25006"); // no privilege, read-only
    return code == QLatin1String("8") || error.databaseText().contains(QLatin1String("readonly database"));
}

bool IsDamagedError(BookBackEnd backEnd, const QSqlError &error) {
    const QString code = error.nativeErrorCode();
    return backEnd == BookBackEnd::Sqlite && (code == QLatin1String("11") || code == QLatin1String("26"));
}

std::string ErrorText(const QSqlError &error) {
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    return text.toStdString();
}

} // namespace

BookConnection::BookConnection(BookBackEnd backEnd, std::string shown)
    : FBackEnd(backEnd), FShown(std::move(shown)), FName(NewConnectionName()) {}

BookConnection::~BookConnection() {
    // Closing ends an open transaction without committing it.
    if (FDatabase.isOpen())
        FDatabase.close();
    FDatabase = QSqlDatabase();
    QSqlDatabase::removeDatabase(FName);
}

std::unique_ptr<BookConnection> BookConnection::OpenSqlite(const std::string &path, bool readOnly) {
    std::unique_ptr<BookConnection> connection(new BookConnection(BookBackEnd::Sqlite, path));
    connection->FDatabase = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection->FName);
    if (!connection->FDatabase.isValid())
        throw EBookError("Books in files need Qt's SQLite driver (Debian: libqt6sql6-sqlite)");
    connection->FDatabase.setDatabaseName(QString::fromStdString(path));
    // Another process may be writing: wait for it rather than fail at once.
    connection->FDatabase.setConnectOptions(
        readOnly ? QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000")
                 : QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!connection->FDatabase.open())
        throw EBookError("The book \"" + path +
                         "\" cannot be opened: " + ErrorText(connection->FDatabase.lastError()));
    connection->Run(QStringLiteral("PRAGMA foreign_keys = ON"));
    return connection;
}

std::unique_ptr<BookConnection> BookConnection::OpenPostgres(const BookLocation &location, bool readOnly) {
    std::unique_ptr<BookConnection> connection(new BookConnection(BookBackEnd::Postgres, location.text));
    connection->FDatabase = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connection->FName);
    if (!connection->FDatabase.isValid())
        throw EBookError("Shared books need Qt's PostgreSQL driver (Debian: libqt6sql6-psql)");
    connection->FDatabase.setConnectOptions(QString::fromStdString(ConnectOptionsText(location)));
    if (!connection->FDatabase.open())
        throw EBookError("The book \"" + location.text +
                         "\" cannot be opened: " + ErrorText(connection->FDatabase.lastError()));
    connection->Run(QStringLiteral("SET client_min_messages = warning"));
    if (readOnly)
        connection->Run(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
    return connection;
}

QSqlQuery BookConnection::Prepare(const QString &sql) {
    QSqlQuery query(FDatabase);
    query.setForwardOnly(true);
    if (!query.prepare(sql))
        Raise(query.lastError());
    return query;
}

void BookConnection::Execute(QSqlQuery &query) {
    if (!query.exec())
        Raise(query.lastError());
}

QSqlQuery BookConnection::Run(const QString &sql, std::initializer_list<QVariant> values) {
    if (values.size() == 0) {
        // Statements without values run as they are: PostgreSQL prepares no SET or CREATE.
        QSqlQuery query(FDatabase);
        query.setForwardOnly(true);
        if (!query.exec(sql))
            Raise(query.lastError());
        return query;
    }
    QSqlQuery query = Prepare(sql);
    for (const QVariant &value : values)
        query.addBindValue(value);
    Execute(query);
    return query;
}

void BookConnection::Begin() {
    if (!FDatabase.transaction())
        Raise(FDatabase.lastError());
    FInTransaction = true;
}

void BookConnection::Commit() {
    if (!FDatabase.commit())
        Raise(FDatabase.lastError());
    FInTransaction = false;
}

void BookConnection::Rollback() noexcept {
    if (!FInTransaction)
        return;
    FDatabase.rollback();
    FInTransaction = false;
}

void BookConnection::Raise(const QSqlError &error) {
    // Rolled back at once, while the failed statement still exists: PostgreSQL frees a prepared
    // statement only outside a failed transaction.
    Rollback();
    if (IsReadOnlyError(FBackEnd, error))
        throw EBookReadOnly("The book \"" + FShown +
                            "\" can be read but not changed by you: " + ErrorText(error));
    if (IsDamagedError(FBackEnd, error))
        throw EBookError("The book \"" + FShown + "\" is damaged: " + ErrorText(error));
    throw EBookError("The book \"" + FShown + "\" refused the request: " + ErrorText(error));
}

} // namespace fiscora
