#include "Clock.h"

#include "ToolBox.h"

#include <ctime>

namespace fiscora {

namespace {

std::string LocalToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return MakeDateStr(local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
}

TodaySource &CurrentSource() {
    static TodaySource source = LocalToday;
    return source;
}

} // namespace

std::string TodayDateStr() {
    return CurrentSource()();
}

TodaySource InstallTodaySource(TodaySource source) {
    TodaySource previous = std::move(CurrentSource());
    CurrentSource() = source ? std::move(source) : TodaySource(LocalToday);
    return previous;
}

} // namespace fiscora
