#include "Book.h"

#include "BookAssetEntry.h"
#include "BookConnection.h"
#include "BookError.h"
#include "SqliteBookFile.h"
#include "ToolBox.h"

#include <QSqlError>

#include <cstring>
#include <filesystem>

namespace fiscora {

namespace {

const QString kAssetColumns =
    QStringLiteral("id, asset_number, description, property_type, placed_in_service, "
                   "cost_cents, method, convention, life, bonus_requested, note, "
                   "row_version");

// Dates are stored as "yyyy-mm-dd", so that they sort.
QString StoredDate(const std::string &dateText) {
    int month = 0;
    int day = 0;
    int year = 0;
    SplitDateStr(dateText, month, day, year);
    return QString::asprintf("%04d-%02d-%02d", year, month, day);
}

std::string DateText(const QString &stored) {
    return MakeDateStr(stored.mid(5, 2).toInt(), stored.mid(8, 2).toInt(), stored.left(4).toInt());
}

QVariant Text(const std::string &text) {
    return QString::fromStdString(text);
}

// No asset number is NULL, so that the uniqueness applies only to numbers given.
QVariant AssetNumberValue(const std::string &number) {
    return number.empty() ? QVariant(QMetaType::fromType<QString>()) : Text(number);
}

AssetRecord RecordOf(const QSqlQuery &row) {
    AssetRecord record;
    record.id = row.value(0).toLongLong();
    record.assetNumber = row.value(1).toString().toStdString();
    record.description = row.value(2).toString().toStdString();
    record.propertyType = static_cast<PropertyType>(row.value(3).toInt());
    record.placedInService = DateText(row.value(4).toString());
    record.cost = row.value(5).toLongLong();
    record.method = static_cast<DepreciationMethod>(row.value(6).toInt());
    record.convention = static_cast<Convention>(row.value(7).toInt());
    record.life = static_cast<DepreciableLife>(row.value(8).toInt());
    record.bonusRequested = row.value(9).toInt() != 0;
    record.note = row.value(10).toString().toStdString();
    record.rowVersion = row.value(11).toLongLong();
    return record;
}

bool IsUniqueViolation(BookBackEnd backEnd, const QSqlError &error) {
    if (backEnd == BookBackEnd::Postgres)
        return error.nativeErrorCode() == QLatin1String("23505");
    return error.databaseText().contains(QLatin1String("UNIQUE constraint failed"));
}

std::string NewerBookMessage(const std::string &shown, int version, int newest) {
    return "The book \"" + shown + "\" was written by a newer Fiscora (book version " +
           std::to_string(version) + "; this Fiscora reads versions up to " + std::to_string(newest) +
           "); it was left unchanged";
}

// Brings an older book up to date, or refuses one that is newer.
void BringUpToDate(BookConnection &connection, const std::vector<BookMigration> &migrations, bool mayWrite) {
    const int newest = static_cast<int>(migrations.size());
    const int version = ReadSchemaVersion(connection);
    if (version == 0)
        throw EBookError("\"" + connection.Shown() + "\" holds no Fiscora book");
    if (version > newest)
        throw EBookError(NewerBookMessage(connection.Shown(), version, newest));
    if (version == newest)
        return;
    if (!mayWrite)
        throw EBookReadOnly("The book \"" + connection.Shown() +
                            "\" needs to be brought up to this Fiscora's "
                            "version, and that needs the right to change it");
    BookTransaction transaction(connection);
    MigrateBook(connection, version, migrations);
    transaction.Commit();
}

void CheckIntegrity(BookConnection &connection) {
    QSqlQuery check = connection.Run(QStringLiteral("PRAGMA quick_check(1)"));
    if (!check.next() || check.value(0).toString() == QLatin1String("ok"))
        return;
    // The first problem found, without the line that names the database.
    const QString problem = check.value(0).toString().split(u'\n', Qt::SkipEmptyParts).constLast();
    throw EBookError("The book \"" + connection.Shown() + "\" is damaged: " + problem.toStdString());
}

void WriteBookRow(BookConnection &connection, const std::string &name, int yearEndMonth) {
    connection.Run(QStringLiteral("INSERT INTO fiscora_book (id, name, year_end_month) VALUES (1, ?, ?)"),
                   {Text(name), yearEndMonth});
}

void CheckBookSettings(const std::string &name, int yearEndMonth) {
    if (name.empty())
        throw EBookError("A book needs a name");
    if (yearEndMonth < 1 || yearEndMonth > 12)
        throw EBookError("The tax year end month must be 1 to 12");
}

} // namespace

Book::~Book() = default;

BookBackEnd Book::BackEnd() const {
    return FConnection->BackEnd();
}

const std::string &Book::Shown() const {
    return FConnection->Shown();
}

std::unique_ptr<Book> Book::Create(const std::string &locationText, const std::string &name,
                                   int yearEndMonth) {
    CheckBookSettings(name, yearEndMonth);
    const BookLocation location = ParseBookLocation(locationText);
    if (location.backEnd == BookBackEnd::Sqlite) {
        // Written under a hidden name and linked into place when complete: a failed or interrupted
        // creation leaves no half-made book, and an existing file is never replaced.
        std::error_code unused;
        if (std::filesystem::symlink_status(locationText, unused).type() !=
            std::filesystem::file_type::not_found)
            throw EBookError("The book \"" + locationText + "\" already exists; it was left unchanged");
        NewBookFile file(locationText);
        {
            const auto connection = BookConnection::OpenSqlite(file.PartialPath(), false);
            BookTransaction transaction(*connection);
            MigrateBook(*connection, 0, BookMigrations());
            WriteBookRow(*connection, name, yearEndMonth);
            transaction.Commit();
        }
        file.Publish();
        return Open(locationText, BookAccess::Write);
    }
    auto connection = BookConnection::OpenPostgres(location, false);
    if (ReadSchemaVersion(*connection) != 0)
        throw EBookError("\"" + locationText + "\" already holds a book; it was left unchanged");
    BookTransaction transaction(*connection);
    MigrateBook(*connection, 0, BookMigrations());
    WriteBookRow(*connection, name, yearEndMonth);
    transaction.Commit();
    std::unique_ptr<Book> book(new Book);
    book->FConnection = std::move(connection);
    book->FAccess = BookAccess::Write;
    book->LoadBookRow();
    return book;
}

std::unique_ptr<Book> Book::Open(const std::string &location, BookAccess access) {
    return Open(location, access, BookMigrations());
}

std::unique_ptr<Book> Book::Open(const std::string &locationText, BookAccess access,
                                 const std::vector<BookMigration> &migrations) {
    const BookLocation location = ParseBookLocation(locationText);
    std::unique_ptr<Book> book(new Book);
    book->FAccess = access;
    if (location.backEnd == BookBackEnd::Sqlite) {
        CheckBookFile(locationText, static_cast<int>(migrations.size()));
        const bool writable = IsWritableBookFile(locationText);
        if (access == BookAccess::Write && !writable)
            throw EBookReadOnly("The book \"" + locationText +
                                "\" can be read but not changed by you: " + std::strerror(EACCES));
        // Opened for writing whenever the file allows it, reading included: after a process was
        // killed in a change, only a writer can roll its journal back.
        book->FConnection = BookConnection::OpenSqlite(locationText, !writable);
        CheckIntegrity(*book->FConnection);
        BringUpToDate(*book->FConnection, migrations, writable);
        CheckSqliteSchema(*book->FConnection, migrations);
        if (access == BookAccess::Read && writable)
            book->FConnection->Run(QStringLiteral("PRAGMA query_only = ON"));
    } else {
        book->FConnection = BookConnection::OpenPostgres(location, false);
        BringUpToDate(*book->FConnection, migrations, true);
        if (access == BookAccess::Read)
            book->FConnection->Run(QStringLiteral("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY"));
    }
    book->LoadBookRow();
    return book;
}

void Book::LoadBookRow() {
    QSqlQuery row =
        FConnection->Run(QStringLiteral("SELECT name, year_end_month FROM fiscora_book WHERE id = 1"));
    if (!row.next())
        throw EBookError("The book \"" + Shown() + "\" is damaged: it has no name and year end");
    FName = row.value(0).toString().toStdString();
    FYearEndMonth = row.value(1).toInt();
    if (FYearEndMonth < 1 || FYearEndMonth > 12)
        throw EBookError("The book \"" + Shown() + "\" is damaged: its year end month is not 1 to 12");
}

void Book::RequireWrite() const {
    if (FAccess != BookAccess::Write)
        throw EBookReadOnly("The book \"" + Shown() + "\" was opened for reading only");
}

void Book::CheckStorable(const AssetRecord &record) const {
    BookAssetInputs(record, FYearEndMonth);
}

std::vector<AssetRecord> Book::Assets() {
    QSqlQuery rows = FConnection->Run(QStringLiteral("SELECT ") + kAssetColumns +
                                      QStringLiteral(" FROM fiscora_asset ORDER BY id"));
    std::vector<AssetRecord> records;
    while (rows.next())
        records.push_back(RecordOf(rows));
    return records;
}

std::optional<AssetRecord> Book::FindAsset(std::int64_t id) {
    QSqlQuery row = FConnection->Run(QStringLiteral("SELECT ") + kAssetColumns +
                                         QStringLiteral(" FROM fiscora_asset WHERE id = ?"),
                                     {qlonglong(id)});
    if (!row.next())
        return std::nullopt;
    return RecordOf(row);
}

std::vector<std::string> Book::AssetNumbers() {
    QSqlQuery rows = FConnection->Run(
        QStringLiteral("SELECT asset_number FROM fiscora_asset WHERE asset_number IS NOT NULL ORDER BY id"));
    std::vector<std::string> numbers;
    while (rows.next())
        numbers.push_back(rows.value(0).toString().toStdString());
    return numbers;
}

std::vector<std::int64_t> Book::AddAssets(const std::vector<AssetRecord> &records) {
    RequireWrite();
    for (const AssetRecord &record : records)
        CheckStorable(record);
    BookTransaction transaction(*FConnection);
    const bool postgres = BackEnd() == BookBackEnd::Postgres;
    QSqlQuery insert = FConnection->Prepare(
        QStringLiteral(
            "INSERT INTO fiscora_asset (asset_number, description, property_type, placed_in_service, "
            "cost_cents, method, convention, life, bonus_requested, note) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)") +
        (postgres ? QStringLiteral(" RETURNING id") : QString()));
    std::vector<std::int64_t> ids;
    ids.reserve(records.size());
    for (const AssetRecord &record : records) {
        insert.addBindValue(AssetNumberValue(record.assetNumber));
        insert.addBindValue(Text(record.description));
        insert.addBindValue(static_cast<int>(record.propertyType));
        insert.addBindValue(StoredDate(record.placedInService));
        insert.addBindValue(qlonglong(record.cost));
        insert.addBindValue(static_cast<int>(record.method));
        insert.addBindValue(static_cast<int>(record.convention));
        insert.addBindValue(static_cast<int>(record.life));
        insert.addBindValue(record.bonusRequested ? 1 : 0);
        insert.addBindValue(Text(record.note));
        if (!insert.exec()) {
            if (IsUniqueViolation(BackEnd(), insert.lastError())) {
                FConnection->Rollback();
                throw EBookError("The asset number \"" + record.assetNumber + "\" is already in the book");
            }
            FConnection->Raise(insert.lastError());
        }
        if (postgres) {
            insert.next();
            ids.push_back(insert.value(0).toLongLong());
        } else {
            ids.push_back(insert.lastInsertId().toLongLong());
        }
    }
    transaction.Commit();
    return ids;
}

std::int64_t Book::AddAsset(const AssetRecord &record) {
    return AddAssets({record}).front();
}

AssetRecord Book::SaveAsset(const AssetRecord &record) {
    RequireWrite();
    CheckStorable(record);
    BookTransaction transaction(*FConnection);
    QSqlQuery update = FConnection->Prepare(
        QStringLiteral("UPDATE fiscora_asset SET asset_number = ?, description = ?, property_type = ?, "
                       "placed_in_service = ?, cost_cents = ?, method = ?, convention = ?, life = ?, "
                       "bonus_requested = ?, note = ?, row_version = row_version + 1 "
                       "WHERE id = ? AND row_version = ?"));
    for (const QVariant &value :
         {AssetNumberValue(record.assetNumber), Text(record.description), QVariant(int(record.propertyType)),
          QVariant(StoredDate(record.placedInService)), QVariant(qlonglong(record.cost)),
          QVariant(int(record.method)), QVariant(int(record.convention)), QVariant(int(record.life)),
          QVariant(record.bonusRequested ? 1 : 0), Text(record.note), QVariant(qlonglong(record.id)),
          QVariant(qlonglong(record.rowVersion))})
        update.addBindValue(value);
    if (!update.exec()) {
        if (IsUniqueViolation(BackEnd(), update.lastError())) {
            FConnection->Rollback();
            throw EBookError("The asset number \"" + record.assetNumber + "\" is already in the book");
        }
        FConnection->Raise(update.lastError());
    }
    if (update.numRowsAffected() != 1) {
        if (!FindAsset(record.id))
            throw EBookConflict("This asset was removed by someone else since you loaded it.");
        throw EBookConflict("This asset was changed by someone else since you loaded it.");
    }
    transaction.Commit();
    AssetRecord saved = record;
    saved.rowVersion = record.rowVersion + 1;
    return saved;
}

void Book::RemoveAsset(std::int64_t id, std::optional<std::int64_t> loadedVersion) {
    RequireWrite();
    BookTransaction transaction(*FConnection);
    QSqlQuery removal =
        loadedVersion
            ? FConnection->Run(QStringLiteral("DELETE FROM fiscora_asset WHERE id = ? AND row_version = ?"),
                               {qlonglong(id), qlonglong(*loadedVersion)})
            : FConnection->Run(QStringLiteral("DELETE FROM fiscora_asset WHERE id = ?"), {qlonglong(id)});
    if (removal.numRowsAffected() != 1) {
        if (loadedVersion && FindAsset(id))
            throw EBookConflict("This asset was changed by someone else since you loaded it.");
        throw EBookError("The book has no asset " + std::to_string(id));
    }
    transaction.Commit();
}

} // namespace fiscora
