#pragma once

#include <functional>
#include <string>

namespace fiscora {

// Today's date as "mm/dd/yyyy", from the local clock unless a test has installed its own.
std::string TodayDateStr();

// Installs a source of today's date and returns the one it replaces; empty restores the local clock.
using TodaySource = std::function<std::string()>;
TodaySource InstallTodaySource(TodaySource source);

} // namespace fiscora
