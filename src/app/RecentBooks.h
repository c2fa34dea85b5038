#pragma once

#include <QStringList>

namespace fiscora {

// The books opened last, newest first, at most kRecentBookCount, kept in the user's settings.
inline constexpr int kRecentBookCount = 5;
QStringList RecentBooks();
void RememberBook(const QString &location);
void ForgetBook(const QString &location);

} // namespace fiscora
