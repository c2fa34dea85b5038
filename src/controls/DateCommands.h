#pragma once

#include <QChar>

#include <optional>
#include <string>

namespace fiscora {

// The date a date-field letter moves a valid date to: "+"/"-" a day on or back, "W" the Sunday
// before, "K" the Saturday after, "M"/"H" the first/last day of the month, "Y"/"R" January 1 /
// December 31 (each stepping on when the date already is that day). Letters in upper case.
// Nothing for other keys, for an invalid text, or when the result would leave the years 1 to 9999.
std::optional<std::string> MovedDate(QChar command, const std::string &date);

} // namespace fiscora
