#include "TemplateMemo.h"

namespace fiscora {
namespace {

// The length of the longest prefix of text that fits, at least one character. Prefixes are probed at
// doubling lengths and then halved down, so a very long word costs about its own length per line
// instead of being measured whole for every line it fills.
qsizetype FittingPrefix(QStringView text, double width,
                        const std::function<double(const QString &)> &measure) {
    const auto fits = [&](qsizetype length) { return measure(text.left(length).toString()) <= width; };
    qsizetype good = 1;
    qsizetype bad = 2;
    while (bad <= text.size() && fits(bad)) {
        good = bad;
        bad *= 2;
    }
    if (bad > text.size()) {
        if (fits(text.size()))
            return text.size();
        bad = text.size();
    }
    while (bad - good > 1) {
        const qsizetype middle = good + (bad - good) / 2;
        (fits(middle) ? good : bad) = middle;
    }
    return good;
}

// Appends the longest prefixes of word that fit as lines until the rest fits; returns the rest, which
// starts the current line.
QString SplitLongWord(const QString &word, double width,
                      const std::function<double(const QString &)> &measure, QStringList &lines) {
    qsizetype start = 0;
    for (;;) {
        const QStringView rest = QStringView(word).mid(start);
        const qsizetype fit = FittingPrefix(rest, width, measure);
        if (fit == rest.size())
            return rest.toString();
        lines << rest.left(fit).toString();
        start += fit;
    }
}

} // namespace

QStringList WrapMemoText(const QString &text, double width,
                         const std::function<double(const QString &)> &measure) {
    QStringList lines;
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString &paragraph : normalized.split(u'\n')) {
        QString line;
        for (const QString &word : paragraph.split(u' ', Qt::SkipEmptyParts)) {
            const QString candidate = line.isEmpty() ? word : line + u' ' + word;
            if (measure(candidate) <= width) {
                line = candidate;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            line = SplitLongWord(word, width, measure, lines);
        }
        lines << line;
    }
    return lines;
}

} // namespace fiscora
