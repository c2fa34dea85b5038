#include "CsvReader.h"
#include "CsvWriter.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

TEST(CsvReader, ReadsRfc4180WithThePhysicalLineOfEachRecord) {
    const std::string text = "\xEF\xBB\xBF"
                             "a,b,c\r\n"
                             "\"x, y\",\"say \"\"hi\"\"\",\r\n"
                             "\r\n"
                             "\"two\nlines\",\"three\r\nlines\nhere\",z\n"
                             "last,,\"\"";
    const std::vector<CsvRecord> records = ReadCsvRecords(text);
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0].line, 1);
    EXPECT_EQ(records[0].fields, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(records[1].line, 2);
    EXPECT_EQ(records[1].fields, (std::vector<std::string>{"x, y", "say \"hi\"", ""}));
    EXPECT_EQ(records[2].line, 4);
    EXPECT_EQ(records[2].fields, (std::vector<std::string>{"two\nlines", "three\r\nlines\nhere", "z"}));
    EXPECT_EQ(records[3].line, 8); // the record before spans lines 4 to 7
    EXPECT_EQ(records[3].fields, (std::vector<std::string>{"last", "", ""}));
}

TEST(CsvReader, RefusesBrokenQuotesAtTheLineOfTheirRecord) {
    struct Case {
        const char *text;
        int line;
        const char *message;
    };
    const Case cases[] = {
        {"a,b\n1,\"open\nstill open\n", 2, "a quoted field has no closing quote"},
        {"a,b\n\"x\"y,2\n", 2, "text follows the closing quote of a field"},
    };
    for (const Case &c : cases) {
        try {
            ReadCsvRecords(c.text);
            ADD_FAILURE() << c.text;
        } catch (const ECsvError &error) {
            EXPECT_EQ(error.line, c.line) << c.text;
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(CsvWriter, GuardsFormulasAndQuotesWhatNeedsIt) {
    struct Case {
        const char *field;
        const char *cell;
    };
    const Case cases[] = {
        {"Desk", "Desk"},
        {"Desk, oak", "\"Desk, oak\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
        {"+1", "\"'+1\""},
        {"-3 chairs", "\"'-3 chairs\""},
        {"@SUM(A1)", "\"'@SUM(A1)\""},
        {"\tx", "\"'\tx\""},
        {"\rx", "\"'\rx\""},
        {"'=x", "\"''=x\""},
        {"'plain", "'plain"},
        {"1234.50", "1234.50"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CsvCell(c.field), c.cell) << c.field;
        // Written and read back, the field is what it was.
        const std::vector<CsvRecord> back = ReadCsvRecords(CsvLine({c.field, "end"}));
        ASSERT_EQ(back.size(), 1u) << c.field;
        EXPECT_EQ(UnguardedCsvField(back[0].fields[0]), c.field);
    }
}

TEST(CsvReader, TellsWellFormedUtf8) {
    EXPECT_TRUE(IsValidUtf8("Zürich 東京 \xF0\x9F\x98\x80"));
    for (const char *bad : {"\xFC", "Z\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\x80"})
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
}

} // namespace
} // namespace fiscora
