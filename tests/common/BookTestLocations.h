#pragma once

// Fresh books for tests, on each back end. The PostgreSQL books live on the private server that
// tests/book/PostgresTest.sh starts; it names the server in FISCORA_TEST_POSTGRES ("host=SOCKET-FOLDER
// port=N user=NAME"). Without that variable the PostgreSQL cases are not instantiated.

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace fiscora::test {

enum class TestBackEnd { Sqlite, Postgres };

inline std::optional<std::string> PostgresServer() {
    const char *server = std::getenv("FISCORA_TEST_POSTGRES");
    if (!server || !*server)
        return std::nullopt;
    return std::string(server);
}

inline std::vector<TestBackEnd> PostgresBackEnds() {
    return PostgresServer() ? std::vector<TestBackEnd>{TestBackEnd::Postgres} : std::vector<TestBackEnd>{};
}

inline std::string BackEndName(const ::testing::TestParamInfo<TestBackEnd> &info) {
    return info.param == TestBackEnd::Sqlite ? "Sqlite" : "Postgres";
}

inline void PrintTo(TestBackEnd backEnd, std::ostream *out) {
    *out << (backEnd == TestBackEnd::Sqlite ? "SQLite" : "PostgreSQL");
}

// Runs statements as the server's superuser on its maintenance database; fails the test on an error.
inline void RunOnPostgresServer(const std::vector<std::string> &statements,
                                const std::string &database = "postgres") {
    static std::atomic<int> connections{0};
    const QString name = QStringLiteral("fiscora-test-admin-%1").arg(++connections);
    {
        QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        admin.setConnectOptions(QString::fromStdString(*PostgresServer() + " dbname=" + database));
        ASSERT_TRUE(admin.open()) << admin.lastError().text().toStdString();
        for (const std::string &statement : statements) {
            QSqlQuery query(admin);
            ASSERT_TRUE(query.exec(QString::fromStdString(statement)))
                << statement << ": " << query.lastError().text().toStdString();
        }
        admin.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Book locations of one test, each new and empty.
class BookLocations {
public:
    std::string New(TestBackEnd backEnd) {
        static std::atomic<int> counter{0};
        const int number = ++counter;
        if (backEnd == TestBackEnd::Sqlite)
            return FFolder.filePath(QStringLiteral("book%1.fbook").arg(number)).toStdString();
        const std::string database =
            "fiscora_test_" + std::to_string(::getpid()) + "_" + std::to_string(number);
        RunOnPostgresServer({"CREATE DATABASE " + database});
        return *PostgresServer() + " dbname=" + database;
    }

    std::string Folder() const { return FFolder.path().toStdString(); }

private:
    QTemporaryDir FFolder;
};

} // namespace fiscora::test
