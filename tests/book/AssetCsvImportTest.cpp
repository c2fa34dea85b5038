// Assets from CSV: read as the command line reads entries, checked as the window checks them, all
// or nothing, every bad line listed by the physical line its record starts on.
#include "AssetCsvImport.h"
#include "Book.h"
#include "BookCsvExport.h"
#include "BookFigures.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace fiscora {
namespace {

std::vector<std::string> Problems(std::string_view text, const std::vector<std::string> &numbersInBook = {}) {
    try {
        ReadAssetCsv(text, 12, numbersInBook);
    } catch (const EImportRefused &refused) {
        std::vector<std::string> lines;
        for (const ImportProblem &problem : refused.problems)
            lines.push_back(problem.Text());
        return lines;
    }
    return {};
}

TEST(AssetCsvImport, ReadsChoicesDatesAndAmountsAsTheCommandLineDoes) {
    const std::string text =
        "\xEF\xBB\xBF"
        "Description, TYPE ,placed,cost,method,convention,life,bonus,note,asset_number,,\r\n"
        "\"Desk, oak\",0,3/1/2026,\"$10,000.00\",macrs,half-year,7-years,no,\"two\nlines\",A-1,,\r\n"
        "Car,automobile,05/01/2026,30000,,,,YES,,,,\r\n"
        "House,4,07/15/2026,200000,staright-line,2,27.5-Years,,,A-3,,\r\n"
        ",,,,,,,,,,,\r\n" // the empty rows a spreadsheet writes below its table
        " , ,,,,,,,,,,\r\n";
    const std::vector<AssetRecord> records = ReadAssetCsv(text, 12, {});
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].description, "Desk, oak");
    EXPECT_EQ(records[0].placedInService, "03/01/2026");
    EXPECT_EQ(records[0].cost, 1000000);
    EXPECT_EQ(records[0].life, DepreciableLife::Years7);
    EXPECT_EQ(records[0].note, "two\nlines");
    EXPECT_EQ(records[0].assetNumber, "A-1");
    EXPECT_EQ(records[1].propertyType, PropertyType::Automobile);
    EXPECT_TRUE(records[1].bonusRequested);
    EXPECT_EQ(records[1].assetNumber, "");
    EXPECT_EQ(records[2].propertyType, PropertyType::Residential);
    EXPECT_EQ(records[2].convention, Convention::MidMonth);
}

TEST(AssetCsvImport, ListsEveryBadLineByThePhysicalLineItStartsOn) {
    const std::string text = "asset_number,description,type,placed,cost,method,convention,life,bonus,note\n"
                             "A-1,\"Desk\nwith a note in two lines\",0,03/01/2026,10000,,,,,\n" // lines 2-3
                             "A-2,Pencil,0,03/01/2026,0.99,,,,,\n"                              // line 4
                             "A-3,Shelf,0,03/01/2026,1e5,,,,,\n"                                // line 5
                             "A-4,Shed,0,03/01/2026,5000,,Mid-Month,,,\n"                       // line 6
                             "A-5,Lathe,0,2026-03-01,5000,,,,,\n"                               // line 7
                             "A-6,Old car,1,03/01/2016,5000,,,,,\n"                             // line 8
                             "A-7,Van,9,03/01/2026,5000,,,,,\n"                                 // line 9
                             "A-8,House,4,03/01/2026,5000,MACRS,,,,\n"                          // line 10
                             "A-9,Laptop,0,03/01/2025,5000,,,,yes,\n"                           // line 11
                             "A-1,Second desk,0,03/01/2026,5000,,,,,\n"                         // line 12
                             "B-1,Chair,0,03/01/2026,5000,,,,,\n"                               // line 13
                             "A-10,Lamp,0,03/01/2026,5000\n"                                    // line 14
                             "A-11,Table,0,03/01/2026,5000,,,,maybe,\n";                        // line 15
    EXPECT_EQ(Problems(text, {"B-1"}),
              (std::vector<std::string>{
                  "line 4: Cost or Basis requires an amount of at least $1.00.",
                  "line 5: cost: the amount holds characters other than digits, \"$\", \",\" and \".\".",
                  "line 6: The Convention for the Property Type is invalid. Acceptable conventions are "
                  "Half-Year and "
                  "Mid-Quarter.",
                  "line 7: Date Placed in Service requires the following format: mm/dd/yyyy.",
                  "line 8: This Property Type only accepts dates between 01/01/2017 through 12/31/2026.",
                  "line 9: type: unknown choice (give 0 to 5 or the choice's text).",
                  "line 10: The Depreciation Method of this Property Type is fixed to Staright-Line.",
                  "line 11: 1st Year Bonus Depreciation needs a date placed in service in 2026, a cost and a "
                  "property "
                  "type other than real property.",
                  "line 12: the asset number is also on line 2.",
                  "line 13: the asset number is already in the book.",
                  "line 14: the line has 5 fields, the header 10.",
                  "line 15: bonus: give yes or no (1 or 0).",
              }));
}

TEST(AssetCsvImport, RefusesAFileWhoseHeaderItCannotRead) {
    struct Case {
        const char *text;
        const char *problem;
    };
    const Case cases[] = {
        {"", "line 1: the file has no header line."},
        {"placed,cost,colour\n",
         "line 1: unknown column \"colour\" (the columns are asset_number, description, type, "
         "placed, cost, method, convention, life, bonus, note)."},
        {"description,cost\nDesk,100\n", "line 1: the column \"placed\" is missing."},
        {"placed,cost,Cost\n", "line 1: the column \"cost\" is given twice."},
        {"placed,cost\n\"03/01/2026,100\n", "line 2: a quoted field has no closing quote."},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Problems(c.text), std::vector<std::string>{c.problem}) << c.text;
}

// A register written as CSV imports again into a new book as the same assets, formula guards and
// figures columns included.
TEST(AssetCsvImport, AnExportedRegisterImportsAgain) {
    QTemporaryDir folder;
    const auto book = Book::Create(folder.filePath(QStringLiteral("a.fbook")).toStdString(), "Acme", 12);
    const std::string text = "asset_number,description,type,placed,cost,method,convention,life,bonus,note\n"
                             "=1+1,-3 chairs,0,03/01/2026,10000,1,1,4,yes,@home\n"
                             ",\"Truck \"\"big\"\"\",3,04/10/2025,60000,,,,,\n";
    ASSERT_EQ(ImportAssetCsv(*book, text), 2u);
    const std::vector<AssetRecord> stored = book->Assets();
    EXPECT_EQ(stored[0].assetNumber, "=1+1");
    EXPECT_EQ(stored[0].description, "-3 chairs");
    EXPECT_EQ(stored[0].note, "@home");

    const std::vector<DepreciatedAsset> assets = DepreciateBookAssets(stored, 12);
    const std::string exported = RegisterCsv(MakeAssetRegister(assets, 2026));
    EXPECT_NE(exported.find("\"'=1+1\",\"'-3 chairs\""), std::string::npos) << exported;
    std::vector<AssetRecord> again = ReadAssetCsv(exported, 12, {});
    ASSERT_EQ(again.size(), stored.size());
    for (std::size_t i = 0; i < again.size(); ++i) {
        again[i].id = stored[i].id;
        again[i].rowVersion = stored[i].rowVersion;
        EXPECT_EQ(again[i], stored[i]) << i;
    }
}

TEST(AssetCsvImport, ABadLineImportsNothing) {
    QTemporaryDir folder;
    const auto book = Book::Create(folder.filePath(QStringLiteral("a.fbook")).toStdString(), "Acme", 12);
    const std::string text = "placed,cost\n03/01/2026,100\n03/01/2026,0\n";
    EXPECT_THROW(ImportAssetCsv(*book, text), EImportRefused);
    EXPECT_TRUE(book->Assets().empty());
}

} // namespace
} // namespace fiscora
