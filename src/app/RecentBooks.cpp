#include "RecentBooks.h"

#include <QSettings>

namespace fiscora {

namespace {

const char *const kRecentBooksKey = "Book/Recent";

void Store(const QStringList &books) {
    QSettings().setValue(QLatin1String(kRecentBooksKey), books);
}

} // namespace

QStringList RecentBooks() {
    return QSettings().value(QLatin1String(kRecentBooksKey)).toStringList().mid(0, kRecentBookCount);
}

void RememberBook(const QString &location) {
    QStringList books = RecentBooks();
    books.removeAll(location);
    books.prepend(location);
    Store(books.mid(0, kRecentBookCount));
}

void ForgetBook(const QString &location) {
    QStringList books = RecentBooks();
    books.removeAll(location);
    Store(books);
}

} // namespace fiscora
