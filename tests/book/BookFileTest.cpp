// Book files: a foreign, damaged or newer file is refused with a clear message and never changed.
#include "Book.h"
#include "BookError.h"
#include "BookTestSupport.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

namespace fiscora {
namespace {

QByteArray Contents(const QString &path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return file.readAll();
}

void Write(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// A real book with a few assets, as bytes.
QByteArray BookBytes(const QTemporaryDir &folder) {
    const QString path = folder.filePath(QStringLiteral("model.fbook"));
    const auto book = Book::Create(path.toStdString(), "Acme", 12);
    std::vector<AssetRecord> assets;
    for (int i = 0; i < 40; ++i)
        assets.push_back(test::Furniture("A-" + std::to_string(i), std::string(200, 'x')));
    book->AddAssets(assets);
    return Contents(path);
}

QByteArray ForeignDatabaseBytes(const QTemporaryDir &folder) {
    const QString path = folder.filePath(QStringLiteral("foreign.db"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(path);
        EXPECT_TRUE(db.open());
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE fiscora_book (id INTEGER, name TEXT)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    return Contents(path);
}

struct FileCase {
    const char *name;
    std::function<QByteArray(const QByteArray &book, const QByteArray &foreign)> bytes;
    const char *message; // the end of the message, after the file's name
};

const FileCase kFileCases[] = {
    {"TextFile", [](const QByteArray &, const QByteArray &) { return QByteArray("asset,cost\nDesk,100\n"); },
     "\" is not a Fiscora book"},
    {"EmptyFile", [](const QByteArray &, const QByteArray &) { return QByteArray(); },
     "\" is not a Fiscora book"},
    {"OtherProgramsDatabase", [](const QByteArray &, const QByteArray &foreign) { return foreign; },
     "\" is not a Fiscora book"},
    {"NewerVersion",
     [](const QByteArray &book, const QByteArray &) {
         QByteArray newer = book;
         newer[63] = 7; // user_version, big-endian at offset 60
         return newer;
     },
     "\" was written by a newer Fiscora (book version 7; this Fiscora reads versions up to 1); it was left "
     "unchanged"},
    {"Truncated", [](const QByteArray &book, const QByteArray &) { return book.left(4096 * 2); },
     "\" is damaged: "},
    {"OverwrittenPages",
     [](const QByteArray &book, const QByteArray &) {
         QByteArray damaged = book;
         for (qsizetype i = 4096; i < damaged.size(); i += 7)
             damaged[i] = char(0xA5);
         return damaged;
     },
     "\" is damaged: "},
    {"AssetIdThatIsNoKey",
     [](const QByteArray &book, const QByteArray &) {
         // The definition in the schema table, changed in place: the ids would no longer be the rows'.
         QByteArray damaged = book;
         const QByteArray key = "id INTEGER PRIMARY KEY AUTOINCREMENT";
         damaged.replace(key, "id INTEGER" + QByteArray(key.size() - 10, ' '));
         return damaged;
     },
     "\" is damaged: its tables are not as Fiscora makes them"},
};

void PrintTo(const FileCase &fileCase, std::ostream *out) {
    *out << fileCase.name;
}

class BookFileTest : public ::testing::TestWithParam<FileCase> {};

TEST_P(BookFileTest, IsRefusedAndLeftUnchanged) {
    QTemporaryDir folder;
    const QByteArray bytes = GetParam().bytes(BookBytes(folder), ForeignDatabaseBytes(folder));
    const QString path = folder.filePath(QStringLiteral("given.fbook"));
    Write(path, bytes);
    for (const BookAccess access : {BookAccess::Read, BookAccess::Write}) {
        try {
            Book::Open(path.toStdString(), access);
            ADD_FAILURE() << "opened";
        } catch (const EBookError &error) {
            const std::string message = error.what();
            EXPECT_EQ(message.rfind("\"" + path.toStdString(), 0) == 0 ||
                          message.rfind("The book \"" + path.toStdString(), 0) == 0,
                      true)
                << message;
            EXPECT_NE(message.find(GetParam().message), std::string::npos) << message;
        }
        EXPECT_EQ(Contents(path), bytes) << "the file changed";
        EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 3)
            << "a file was left behind";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, BookFileTest, ::testing::ValuesIn(kFileCases),
                         [](const ::testing::TestParamInfo<FileCase> &info) { return info.param.name; });

TEST(BookFile, OpeningAMissingFileSaysSoAndCreatesNothing) {
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("missing.fbook")).toStdString();
    try {
        Book::Open(path, BookAccess::Write);
        ADD_FAILURE() << "opened";
    } catch (const EBookError &error) {
        EXPECT_EQ(error.what(), "The book \"" + path + "\" cannot be opened: No such file or directory");
    }
    EXPECT_TRUE(QDir(folder.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

TEST(BookFile, CreationLeavesNoHiddenFileAndReplacesNoFile) {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("firm.fbook"));
    Book::Create(path.toStdString(), "Acme", 12);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("firm.fbook")});

    const QString other = folder.filePath(QStringLiteral("notes.txt"));
    Write(other, "keep me");
    EXPECT_THROW(Book::Create(other.toStdString(), "Acme", 12), EBookError);
    EXPECT_EQ(Contents(other), QByteArray("keep me"));
    EXPECT_THROW(
        Book::Create(folder.filePath(QStringLiteral("no/such/folder.fbook")).toStdString(), "Acme", 12),
        EBookError);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

} // namespace
} // namespace fiscora
