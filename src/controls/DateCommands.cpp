#include "DateCommands.h"

#include "ToolBox.h"

#include <QDate>

namespace fiscora {

namespace {

// 1 = Sunday to 7 = Saturday.
int Weekday(const QDate &date) {
    return date.dayOfWeek() % 7 + 1;
}

QDate LastDayOfMonth(int year, int month) {
    const QDate first(year, month, 1);
    return QDate(year, month, first.daysInMonth());
}

std::optional<QDate> Moved(QChar command, const QDate &date) {
    switch (command.unicode()) {
    case u'+':
        return date.addDays(1);
    case u'-':
        return date.addDays(-1);
    case u'W':
        return date.addDays(Weekday(date) == 1 ? -7 : -(Weekday(date) - 1));
    case u'K':
        return date.addDays(Weekday(date) == 7 ? 7 : 7 - Weekday(date));
    case u'M':
        return date.day() == 1 ? date.addMonths(-1) : QDate(date.year(), date.month(), 1);
    case u'H': {
        if (date.day() != date.daysInMonth())
            return LastDayOfMonth(date.year(), date.month());
        const QDate nextMonth = QDate(date.year(), date.month(), 1).addMonths(1);
        return LastDayOfMonth(nextMonth.year(), nextMonth.month());
    }
    case u'Y':
        return date.month() == 1 && date.day() == 1 ? QDate(date.year() - 1, 1, 1) : QDate(date.year(), 1, 1);
    case u'R':
        return date.month() == 12 && date.day() == 31 ? QDate(date.year() + 1, 12, 31)
                                                      : QDate(date.year(), 12, 31);
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<std::string> MovedDate(QChar command, const std::string &date) {
    int month = 0, day = 0, year = 0;
    SplitDateStr(date, month, day, year);
    if (year == 0)
        return std::nullopt;
    const std::optional<QDate> moved = Moved(command, QDate(year, month, day));
    if (!moved || !moved->isValid() || moved->year() < 1 || moved->year() > 9999)
        return std::nullopt;
    return MakeDateStr(moved->month(), moved->day(), moved->year());
}

} // namespace fiscora
