// The storage of a book, the same on both back ends: an SQLite file and a PostgreSQL database.
#include "Book.h"
#include "BookError.h"
#include "BookTestLocations.h"
#include "BookTestSupport.h"
#include "InputValidation.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

using test::Furniture;
using test::TestBackEnd;

class BookStorageTest : public ::testing::TestWithParam<TestBackEnd> {
protected:
    std::string NewLocation() { return FLocations.New(GetParam()); }

    test::BookLocations FLocations;
};

// Text that would break SQL built by hand, and text beyond ASCII.
const std::string kHostileText = "Robert'); DROP TABLE fiscora_asset;-- \"Zürich\" 東京 \\ %";

TEST_P(BookStorageTest, KeepsTheBookAndItsAssetsAsGiven) {
    const std::string location = NewLocation();
    std::vector<AssetRecord> added = {Furniture("A-1", kHostileText), Furniture("", "Chair, no number")};
    added[0].note = "bought used\nsecond line";
    added[1].propertyType = PropertyType::Residential;
    added[1].method = DepreciationMethod::StraightLine;
    added[1].convention = Convention::MidMonth;
    added[1].life = DepreciableLife::Years27_5;
    added[1].cost = 25000012; // 250,000.12
    {
        const auto book = Book::Create(location, kHostileText, 6);
        const std::vector<std::int64_t> ids = book->AddAssets(added);
        ASSERT_EQ(ids.size(), 2u);
        EXPECT_LT(ids[0], ids[1]);
        for (std::size_t i = 0; i < ids.size(); ++i) {
            added[i].id = ids[i];
            added[i].rowVersion = 1;
        }
    }
    const auto book = Book::Open(location, BookAccess::Read);
    EXPECT_EQ(book->Name(), kHostileText);
    EXPECT_EQ(book->YearEndMonth(), 6);
    EXPECT_EQ(book->Assets(), added);
    EXPECT_EQ(book->AssetNumbers(), std::vector<std::string>{"A-1"});
    EXPECT_EQ(book->FindAsset(added[1].id), added[1]);
    EXPECT_FALSE(book->FindAsset(added[1].id + 100));
}

TEST_P(BookStorageTest, CreateRefusesAnExistingBookAndLeavesItAlone) {
    const std::string location = NewLocation();
    Book::Create(location, "First", 12)->AddAsset(Furniture("A-1", "Desk"));
    EXPECT_THROW(Book::Create(location, "Second", 3), EBookError);
    const auto book = Book::Open(location, BookAccess::Read);
    EXPECT_EQ(book->Name(), "First");
    EXPECT_EQ(book->Assets().size(), 1u);
}

TEST_P(BookStorageTest, CreateRefusesAMonthOutsideTheYearOrNoName) {
    EXPECT_THROW(Book::Create(NewLocation(), "Acme", 13), EBookError);
    EXPECT_THROW(Book::Create(NewLocation(), "Acme", 0), EBookError);
    EXPECT_THROW(Book::Create(NewLocation(), "", 12), EBookError);
}

// One refused record refuses them all: the book stays as it was.
TEST_P(BookStorageTest, AddingIsAllOrNothing) {
    const std::string location = NewLocation();
    const auto book = Book::Create(location, "Acme", 12);
    book->AddAsset(Furniture("A-1", "Desk"));
    const std::vector<AssetRecord> before = book->Assets();

    AssetRecord tooCheap = Furniture("A-3", "Pencil");
    tooCheap.cost = 99;
    AssetRecord midMonthFurniture = Furniture("A-4", "Shelf");
    midMonthFurniture.convention = Convention::MidMonth;
    AssetRecord forcedMethodChanged = Furniture("A-5", "House");
    forcedMethodChanged.propertyType =
        PropertyType::Residential; // keeps MACRS, which residential cannot have
    AssetRecord bonusOutsideTheWindow = Furniture("A-6", "Old lathe", "03/01/2025");
    bonusOutsideTheWindow.bonusRequested = true;
    struct Case {
        const char *name;
        AssetRecord bad;
        std::string message;
    };
    const Case cases[] = {
        {"window check", tooCheap, "Cost or Basis requires an amount of at least $1.00"},
        {"type check", midMonthFurniture,
         "The Convention for the Property Type is invalid.\rAcceptable conventions "
         "are Half-Year and Mid-Quarter"},
        {"forced setting", forcedMethodChanged,
         "The Depreciation Method of this Property Type is fixed to "
         "Staright-Line"},
        {"disabled bonus", bonusOutsideTheWindow,
         "1st Year Bonus Depreciation needs a date placed in service in "
         "2026, a cost and a property type other than real property"},
        {"number in the book", Furniture("A-1", "Second desk"),
         "The asset number \"A-1\" is already in the book"},
        {"number twice in the batch", Furniture("A-2", "Lamp"),
         "The asset number \"A-2\" is already in the book"},
    };
    for (const Case &c : cases) {
        try {
            book->AddAssets({Furniture("A-2", "Lamp"), c.bad});
            ADD_FAILURE() << c.name << ": added";
        } catch (const std::exception &error) {
            EXPECT_EQ(error.what(), c.message) << c.name;
        }
        EXPECT_EQ(book->Assets(), before) << c.name;
    }
}

TEST_P(BookStorageTest, TheSecondSaveOfOneAssetIsRefusedAndNothingIsLost) {
    const std::string location = NewLocation();
    const std::int64_t id = Book::Create(location, "Acme", 12)->AddAsset(Furniture("A-1", "Desk"));
    const auto alice = Book::Open(location, BookAccess::Write);
    const auto bob = Book::Open(location, BookAccess::Write);
    AssetRecord aliceCopy = *alice->FindAsset(id);
    AssetRecord bobCopy = *bob->FindAsset(id);

    aliceCopy.description = "Desk, oak";
    const AssetRecord saved = alice->SaveAsset(aliceCopy);
    EXPECT_EQ(saved.rowVersion, 2);

    bobCopy.note = "moved to the back office";
    try {
        bob->SaveAsset(bobCopy);
        ADD_FAILURE() << "the second save went through";
    } catch (const EBookConflict &conflict) {
        EXPECT_STREQ(conflict.what(), "This asset was changed by someone else since you loaded it.");
    }
    EXPECT_THROW(bob->RemoveAsset(id, bobCopy.rowVersion), EBookConflict);
    EXPECT_EQ(*bob->FindAsset(id), saved);

    // Reloaded, Bob's change goes in on top of Alice's.
    bobCopy = *bob->FindAsset(id);
    bobCopy.note = "moved to the back office";
    bob->SaveAsset(bobCopy);
    const AssetRecord stored = *alice->FindAsset(id);
    EXPECT_EQ(stored.description, "Desk, oak");
    EXPECT_EQ(stored.note, "moved to the back office");
    EXPECT_EQ(stored.rowVersion, 3);

    alice->RemoveAsset(id, stored.rowVersion);
    try {
        bob->SaveAsset(bobCopy);
        ADD_FAILURE() << "a removed asset was saved";
    } catch (const EBookConflict &conflict) {
        EXPECT_STREQ(conflict.what(), "This asset was removed by someone else since you loaded it.");
    }
}

TEST_P(BookStorageTest, RemovesOneAssetAndRefusesAnUnknownId) {
    const auto book = Book::Create(NewLocation(), "Acme", 12);
    const std::vector<std::int64_t> ids =
        book->AddAssets({Furniture("A-1", "Desk"), Furniture("A-2", "Chair")});
    book->RemoveAsset(ids[0]);
    ASSERT_EQ(book->Assets().size(), 1u);
    EXPECT_EQ(book->Assets()[0].id, ids[1]);
    try {
        book->RemoveAsset(ids[0]);
        ADD_FAILURE() << "removed twice";
    } catch (const EBookError &error) {
        EXPECT_EQ(error.what(), "The book has no asset " + std::to_string(ids[0]));
    }
    // A removed number may be used again; an id never is.
    const std::int64_t again = book->AddAsset(Furniture("A-1", "New desk"));
    EXPECT_GT(again, ids[1]);
}

TEST_P(BookStorageTest, ABookOpenedForReadingRefusesChanges) {
    const std::string location = NewLocation();
    const std::int64_t id = Book::Create(location, "Acme", 12)->AddAsset(Furniture("A-1", "Desk"));
    const auto book = Book::Open(location, BookAccess::Read);
    AssetRecord record = *book->FindAsset(id);
    record.note = "changed";
    EXPECT_THROW(book->AddAsset(Furniture("A-2", "Chair")), EBookReadOnly);
    EXPECT_THROW(book->SaveAsset(record), EBookReadOnly);
    EXPECT_THROW(book->RemoveAsset(id), EBookReadOnly);
    EXPECT_EQ(Book::Open(location, BookAccess::Read)->Assets().size(), 1u);
}

// A migration to a version 2 that adds a column: opening runs it once, in one transaction; a failing
// one leaves the book at version 1, and this Fiscora (version 1) refuses a version-2 book.
TEST_P(BookStorageTest, MigratesAnOlderBookAndRefusesANewerOne) {
    const std::string location = NewLocation();
    Book::Create(location, "Acme", 12)->AddAsset(Furniture("A-1", "Desk"));

    int runs = 0;
    std::vector<BookMigration> failing = BookMigrations();
    // Only the book's own migrations count: opening a file book also makes a new one in memory to
    // compare its tables with.
    failing.push_back([&](BookConnection &connection) {
        runs += connection.Shown() == location;
        connection.Run(QStringLiteral("ALTER TABLE fiscora_asset ADD COLUMN location TEXT"));
        throw EBookError("migration failed");
    });
    EXPECT_THROW(Book::Open(location, BookAccess::Write, failing), EBookError);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(Book::Open(location, BookAccess::Read)->Assets().size(), 1u) << "still version 1";

    std::vector<BookMigration> withVersion2 = BookMigrations();
    withVersion2.push_back([&](BookConnection &connection) {
        runs += connection.Shown() == location;
        connection.Run(QStringLiteral("ALTER TABLE fiscora_asset ADD COLUMN location TEXT"));
    });
    EXPECT_EQ(Book::Open(location, BookAccess::Read, withVersion2)->Assets().size(), 1u);
    EXPECT_EQ(Book::Open(location, BookAccess::Write, withVersion2)->Assets().size(), 1u);
    EXPECT_EQ(runs, 2) << "migrated once";

    try {
        Book::Open(location, BookAccess::Read);
        ADD_FAILURE() << "a newer book was opened";
    } catch (const EBookError &error) {
        EXPECT_NE(std::string(error.what())
                      .find("was written by a newer Fiscora (book version 2; this Fiscora "
                            "reads versions up to 1); it was left unchanged"),
                  std::string::npos)
            << error.what();
    }
}

INSTANTIATE_TEST_SUITE_P(Sqlite, BookStorageTest, ::testing::Values(TestBackEnd::Sqlite), test::BackEndName);
INSTANTIATE_TEST_SUITE_P(Postgres, BookStorageTest, ::testing::ValuesIn(test::PostgresBackEnds()),
                         test::BackEndName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(BookStorageTest);

} // namespace
} // namespace fiscora
