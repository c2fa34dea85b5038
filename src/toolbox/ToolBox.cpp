#include "ToolBox.h"

#include "DecimalText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <system_error>

namespace fiscora {

namespace {

constexpr int kDaysPerMonth[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

struct CivilDate {
    int year;
    int month;
    int day;
};

int DaysInMonth(int month, int year) {
    return month == 2 && IsLeapYear(year) ? 29 : kDaysPerMonth[month - 1];
}

// Reads digits [pos, end) of the text as a number of 1 to maxDigits digits; advances pos.
std::optional<int> ReadNumber(std::string_view text, std::size_t &pos, std::size_t maxDigits) {
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        ++pos;
    if (pos == start || pos - start > maxDigits)
        return std::nullopt;
    int number = 0;
    std::from_chars(text.data() + start, text.data() + pos, number);
    return number;
}

// The date conversion: month/day/year with "/" separators, blanks around the whole allowed.
std::optional<CivilDate> ParseDate(std::string_view text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && text[first] == ' ')
        ++first;
    while (last > first && text[last - 1] == ' ')
        --last;
    const std::string_view core = text.substr(first, last - first);
    std::size_t pos = 0;
    const auto month = ReadNumber(core, pos, 2);
    if (!month || pos >= core.size() || core[pos++] != '/')
        return std::nullopt;
    const auto day = ReadNumber(core, pos, 2);
    if (!day || pos >= core.size() || core[pos++] != '/')
        return std::nullopt;
    const auto year = ReadNumber(core, pos, 4);
    if (!year || pos != core.size())
        return std::nullopt;
    if (*year < 1 || *month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*month, *year))
        return std::nullopt;
    return CivilDate{*year, *month, *day};
}

// Days since 01/01/1970 of a proleptic Gregorian date.
long DaySerial(const CivilDate &date) {
    const long y = date.month <= 2 ? date.year - 1 : date.year;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yearOfEra = y - era * 400;
    const long dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// "'text' is not a valid what", as the platform's conversion errors read.
std::string NotValidMessage(std::string_view text, std::string_view what) {
    std::string message;
    message.reserve(text.size() + what.size() + 20);
    message += '\'';
    message += text;
    message += "' is not a valid ";
    message += what;
    return message;
}

// The members of the set in the text, with "0" for a blank result and "-0" for a lone "-".
std::string NumberText(std::string_view text, const CharSet &numberChars) {
    std::string number = FilterChars(text, numberChars);
    if (IsBlankStr(number))
        return "0";
    if (number == "-")
        return "-0";
    return number;
}

// The whole text as a number; anything left over or out of range raises the conversion error.
template <typename Number, typename... Format>
Number ConvertNumber(std::string_view number, std::string_view what, Format... format) {
    Number value{};
    const char *end = number.data() + number.size();
    const auto parsed = std::from_chars(number.data(), end, value, format...);
    if (parsed.ec != std::errc() || parsed.ptr != end)
        throw EConvertError(NotValidMessage(number, what));
    return value;
}

long DaySerialOrThrow(std::string_view text) {
    const auto date = IsValidDateStr(text) ? ParseDate(text) : std::nullopt;
    if (!date)
        throw EConvertError(NotValidMessage(text, "date"));
    return DaySerial(*date);
}

const CharSet &DateChars() {
    static const CharSet set = MakeCharSet("/0123456789");
    return set;
}

} // namespace

CharSet MakeCharSet(std::string_view members) {
    CharSet set;
    for (const char c : members)
        set.set(static_cast<unsigned char>(c));
    return set;
}

double RoundAmount(double value, int decimals) {
    if (!std::isfinite(value))
        return 0;
    if (decimals < 0)
        decimals = 0;
    const int exponent = DecimalExponent(value);
    const bool scientific = std::fabs(value) > std::ldexp(1.0, 119) || exponent > 35 || exponent < -35;
    const std::string text = scientific ? ScientificDecimalText(value, 4) : FixedDecimalText(value, decimals);
    double result = 0;
    const auto parsed = std::from_chars(text.data(), text.data() + text.size(), result);
    return parsed.ec == std::errc() ? result : 0;
}

std::string FilterChars(std::string_view text, const CharSet &set) {
    std::string filtered;
    filtered.reserve(text.size());
    for (const char c : text)
        if (set.test(static_cast<unsigned char>(c)))
            filtered += c;
    return filtered;
}

bool IsValidDateStr(std::string_view text) {
    return FilterChars(text, DateChars()).size() > 9 && ParseDate(text).has_value();
}

int DaysBetweenDates(std::string_view from, std::string_view to) {
    const long fromSerial = DaySerialOrThrow(from);
    return static_cast<int>(DaySerialOrThrow(to) - fromSerial);
}

bool IsLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

bool IsBlankStr(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > 32)
            return false;
    return true;
}

double StrToAmount(std::string_view text) {
    static const CharSet amountChars = MakeCharSet("-.0123456789");
    std::string number = NumberText(text, amountChars);
    if (number == ".")
        number = "0.";
    // from_chars takes no "+" and needs a digit, as the decimal conversion does; "12." reads as 12.
    const double value = ConvertNumber<double>(number, "floating point value", std::chars_format::fixed);
    if (!std::isfinite(value))
        throw EConvertError(NotValidMessage(number, "floating point value"));
    return value;
}

int StrToWhole(std::string_view text) {
    static const CharSet wholeChars = MakeCharSet("-0123456789");
    return ConvertNumber<int>(NumberText(text, wholeChars), "integer value");
}

int StrToInt(std::string_view text) {
    return ConvertNumber<int>(text, "integer value");
}

std::string TildeToLineBreak(std::string_view text) {
    std::string result(text);
    for (char &c : result)
        if (c == '~')
            c = '\r';
    return result;
}

void SplitDateStr(std::string_view text, int &month, int &day, int &year) {
    month = day = year = 0;
    // The parsed fields equal characters 1-2, 4-5 and 7-10 of every valid ten-character text, and
    // stay right when blanks surround the date.
    const auto date = IsValidDateStr(text) ? ParseDate(text) : std::nullopt;
    if (!date)
        return;
    month = date->month;
    day = date->day;
    year = date->year;
}

std::string MakeDateStr(int month, int day, int year) {
    // "%02d" pads exactly the one-character texts (a negative number already has two characters).
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%d", month, day, year);
    return buffer;
}

int DaysInMonthOf(std::string_view text) {
    int month = 0;
    int day = 0;
    int year = 0;
    SplitDateStr(text, month, day, year);
    if (month < 1 || month > 12)
        return 0;
    return DaysInMonth(month, year);
}

std::string AddPathDelimiter(std::string_view path) {
    std::string result(path);
    if (result.empty() || result.back() != '/')
        result += '/';
    return result;
}

std::string AddMonthsToDate(std::string_view text, int months) {
    const auto date = IsValidDateStr(text) ? ParseDate(text) : std::nullopt;
    if (!date)
        return {};
    const long monthIndex = static_cast<long>(date->year) * 12 + (date->month - 1) + months;
    const long year = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    const int month = static_cast<int>(monthIndex - year * 12) + 1;
    if (year < 1 || year > 9999)
        return {};
    const int day = std::min(date->day, DaysInMonth(month, static_cast<int>(year)));
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04ld", month, day, year);
    return buffer;
}

bool IsDateInRange(std::string_view text, std::string_view first, std::string_view last) {
    const long serial = DaySerialOrThrow(text);
    const long firstSerial = DaySerialOrThrow(first);
    const long lastSerial = DaySerialOrThrow(last);
    return firstSerial <= serial && serial <= lastSerial;
}

} // namespace fiscora
