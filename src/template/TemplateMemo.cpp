#include "TemplateMemo.h"

namespace fiscora {
namespace {

using Measure = std::function<double(const QString &)>;

// The largest count in 0..limit for which fits holds, fits being true up to some count and false
// beyond it. Counts are probed at doubling values and then halved down, so finding a line of n
// characters or words costs a few measurements of about that length, whatever is left to wrap.
qsizetype LongestFitting(qsizetype limit, const std::function<bool(qsizetype)> &fits) {
    if (limit < 1 || !fits(1))
        return 0;
    qsizetype good = 1;
    qsizetype bad = 2;
    while (bad <= limit && fits(bad)) {
        good = bad;
        bad *= 2;
    }
    if (bad > limit) {
        if (good == limit || fits(limit))
            return limit;
        bad = limit;
    }
    while (bad - good > 1) {
        const qsizetype middle = good + (bad - good) / 2;
        (fits(middle) ? good : bad) = middle;
    }
    return good;
}

// Appends the longest prefixes of word that fit (at least one character each) as lines until the
// rest fits; returns the rest, which starts the current line.
QString SplitLongWord(const QString &word, double width, const Measure &measure, QStringList &lines) {
    qsizetype start = 0;
    for (;;) {
        const QStringView rest = QStringView(word).mid(start);
        const qsizetype fit = std::max<qsizetype>(1, LongestFitting(rest.size(), [&](qsizetype length) {
                                                      return measure(rest.left(length).toString()) <= width;
                                                  }));
        if (fit == rest.size())
            return rest.toString();
        lines << rest.left(fit).toString();
        start += fit;
    }
}

} // namespace

QStringList WrapMemoText(const QString &text, double width, const Measure &measure) {
    QStringList lines;
    QString normalized = text;
    normalized.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    for (const QString &paragraph : normalized.split(u'\n')) {
        const QStringList words = paragraph.split(u' ', Qt::SkipEmptyParts);
        QString line;
        qsizetype next = 0;
        while (next < words.size()) {
            // The line with the next count words added.
            const auto extended = [&](qsizetype count) {
                QString candidate = line;
                for (qsizetype index = next; index < next + count; ++index) {
                    if (!candidate.isEmpty())
                        candidate += u' ';
                    candidate += words[index];
                }
                return candidate;
            };
            const qsizetype count = LongestFitting(
                words.size() - next, [&](qsizetype count) { return measure(extended(count)) <= width; });
            if (count > 0) {
                line = extended(count);
                next += count;
                continue;
            }
            if (!line.isEmpty())
                lines << line;
            line = SplitLongWord(words[next], width, measure, lines);
            ++next;
        }
        lines << line;
    }
    return lines;
}

} // namespace fiscora
