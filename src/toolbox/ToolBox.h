#pragma once

// Shared routines for date texts, amounts and character filtering. Dates are ten-character texts
// "mm/dd/yyyy" read month/day/year whatever the host locale; amounts are doubles in dollars.
// Only DaysBetweenDates, IsDateInRange, StrToAmount and StrToWhole raise (EConvertError); every other
// routine turns bad input into a defined result.

#include "MsgBox.h"
#include "ToolBoxExceptions.h"

#include <bitset>
#include <string>
#include <string_view>

namespace fiscora {

// A set of 8-bit character codes; characters above 255 are never members.
using CharSet = std::bitset<256>;

// The set of the given characters.
CharSet MakeCharSet(std::string_view members);

// Rounds through the value's decimal text: 18 significant digits, halves away from zero on the first
// dropped digit (1.005 gives 1.00, 0.125 gives 0.13, -0.125 gives -0.13). Magnitudes above 2^119 or
// with a decimal exponent beyond +-35 come back rounded to 4 significant digits. NaN and infinities
// give 0; a negative number of decimals is taken as 0.
double RoundAmount(double value, int decimals);

// The characters of the text, in order, that are members of the set. The text is Latin-1/ASCII
// bytes as far as the set goes: bytes of multi-byte UTF-8 characters are above 127 and are kept
// only when the set holds them.
std::string FilterChars(std::string_view text, const CharSet &set);

// True for a text with more than 9 characters from "/0123456789" that reads as a month/day/year date.
bool IsValidDateStr(std::string_view text);

// Whole days from `from` to `to` (negative when `to` is earlier). Raises EConvertError for an invalid text.
int DaysBetweenDates(std::string_view from, std::string_view to);

bool IsLeapYear(int year);

// True when nothing but characters with codes up to 32 is left after trimming them from both ends.
bool IsBlankStr(std::string_view text);

// The amount in the text, ignoring everything but "-", "." and digits ("$1,234.56" gives 1234.56,
// blank gives 0). Raises EConvertError when what remains is no number ("1.2.3", "5-").
double StrToAmount(std::string_view text);

// The whole number in the text, ignoring everything but "-" and digits; blank gives 0.
// Raises EConvertError when what remains is no 32-bit number ("1-2").
int StrToWhole(std::string_view text);

// The whole text as a 32-bit number: an optional "-" and digits, nothing else.
// Raises EConvertError otherwise ("", "12px", " 5").
int StrToInt(std::string_view text);

// Every "~" becomes a carriage return (character 13).
std::string TildeToLineBreak(std::string_view text);

// Month, day and year of a valid date text; all three are 0 when the text is not a valid date.
void SplitDateStr(std::string_view text, int &month, int &day, int &year);

// "mm/dd/yyyy" with a leading zero on one-digit months and days; the year in full.
std::string MakeDateStr(int month, int day, int year);

// Days of the date's month (February of leap years 29); 0 when the text is not a valid date.
int DaysInMonthOf(std::string_view text);

// The path with a trailing "/" unless it already ends with one.
std::string AddPathDelimiter(std::string_view path);

// The date moved by the months (backwards when negative), clamped to the target month's last day;
// empty when the text is not a valid date or the result would leave the years 1 to 9999.
std::string AddMonthsToDate(std::string_view text, int months);

// first <= text <= last as dates. Raises EConvertError when any of the three is invalid.
bool IsDateInRange(std::string_view text, std::string_view first, std::string_view last);

} // namespace fiscora
