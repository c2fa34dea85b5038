// Shared books on the PostgreSQL server: rights of the database role, and the location forms.
#include "Book.h"
#include "BookError.h"
#include "BookTestLocations.h"
#include "BookTestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace fiscora {
namespace {

using test::TestBackEnd;

class BookServerTest : public ::testing::TestWithParam<TestBackEnd> {
protected:
    test::BookLocations FLocations;
};

// A role that may only read: it lists the book, and every change is refused with a clear message
// and changes nothing.
TEST_P(BookServerTest, ARoleWithoutWriteRightsReadsButCannotChange) {
    const std::string location = FLocations.New(GetParam());
    const std::int64_t id = Book::Create(location, "Acme", 12)->AddAsset(test::Furniture("A-1", "Desk"));
    const std::string database = location.substr(location.rfind("dbname=") + 7);
    const std::string role = "reader_" + database;
    test::RunOnPostgresServer({"CREATE ROLE " + role + " LOGIN"});
    test::RunOnPostgresServer({"GRANT SELECT ON ALL TABLES IN SCHEMA public TO " + role}, database);

    const auto book = Book::Open(location + " user=" + role, BookAccess::Write);
    ASSERT_EQ(book->Assets().size(), 1u);
    AssetRecord changed = book->Assets()[0];
    changed.note = "changed";
    const std::vector<std::function<void()>> changes = {
        [&] { book->AddAsset(test::Furniture("A-2", "Chair")); },
        [&] { book->SaveAsset(changed); },
        [&] { book->RemoveAsset(id); },
    };
    for (const auto &change : changes) {
        try {
            change();
            ADD_FAILURE() << "changed";
        } catch (const EBookReadOnly &error) {
            EXPECT_NE(std::string(error.what())
                          .find("can be read but not changed by you: ERROR:  permission denied"),
                      std::string::npos)
                << error.what();
        }
    }
    EXPECT_EQ(Book::Open(location, BookAccess::Read)->Assets(), book->Assets());
}

TEST_P(BookServerTest, TheSameBookOpensByAConnectionUri) {
    const std::string location = FLocations.New(GetParam());
    Book::Create(location, "Acme", 12)->AddAsset(test::Furniture("A-1", "Desk"));
    // "host=H port=P user=U dbname=D" as "postgresql:///D?host=H&port=P&user=U".
    std::string uri = "postgresql:///";
    std::string query;
    std::istringstream settings(location);
    for (std::string setting; settings >> setting;) {
        const std::size_t equals = setting.find('=');
        if (setting.substr(0, equals) == "dbname")
            uri += setting.substr(equals + 1);
        else
            query += (query.empty() ? "?" : "&") + setting;
    }
    const auto book = Book::Open(uri + query, BookAccess::Read);
    EXPECT_EQ(book->Name(), "Acme");
    EXPECT_EQ(book->Assets().size(), 1u);
}

TEST_P(BookServerTest, ADatabaseWithoutABookIsRefused) {
    const std::string location = FLocations.New(GetParam());
    try {
        Book::Open(location, BookAccess::Read);
        ADD_FAILURE() << "opened";
    } catch (const EBookError &error) {
        EXPECT_EQ(error.what(), "\"" + location + "\" holds no Fiscora book");
    }
}

INSTANTIATE_TEST_SUITE_P(Postgres, BookServerTest, ::testing::ValuesIn(test::PostgresBackEnds()),
                         test::BackEndName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(BookServerTest);

} // namespace
} // namespace fiscora
