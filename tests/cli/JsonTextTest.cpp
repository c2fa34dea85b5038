#include "JsonText.h"

#include <gtest/gtest.h>

#include <limits>

namespace fiscora::cli {
namespace {

TEST(JsonText, StringsAreEscapedAndAlwaysValidUtf8) {
    const std::pair<std::string, std::string> cases[] = {
        {"Year End\tPeriod", R"("Year End\tPeriod")"},
        {"a \"b\" \\ c\r\n", R"("a \"b\" \\ c\r\n")"},
        {std::string("\x01", 1), R"("\u0001")"},
        {"caf\xC3\xA9 \xE2\x82\xAC", "\"caf\xC3\xA9 \xE2\x82\xAC\""}, // well-formed UTF-8 passes
        {"bad \xFF byte", R"("bad \ufffd byte")"},
        {"cut \xE2\x82", R"("cut \ufffd\ufffd")"},   // truncated sequence
        {"over \xC0\xAF", R"("over \ufffd\ufffd")"}, // overlong form
        {"surrogate \xED\xA0\x80", R"("surrogate \ufffd\ufffd\ufffd")"},
    };
    for (const auto &[text, json] : cases)
        EXPECT_EQ(JsonString(text), json) << text;
}

TEST(JsonText, NumbersAreShortestRoundTripAndNeverInvalid) {
    EXPECT_EQ(JsonNumber(1862.4), "1862.4");
    EXPECT_EQ(JsonNumber(0.1), "0.1");
    EXPECT_EQ(JsonNumber(-3), "-3");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::quiet_NaN()), "null");
}

} // namespace
} // namespace fiscora::cli
