#include "TemplateMemo.h"

namespace fiscora {
namespace {

// Appends the longest prefix of word that fits, character by character, until the word is used up;
// returns what is left for the current line.
QString SplitLongWord(QString word, double width, const std::function<double(const QString &)> &measure,
                      QStringList &lines) {
    while (measure(word) > width && word.size() > 1) {
        qsizetype fit = 1;
        while (fit < word.size() && measure(word.left(fit + 1)) <= width)
            ++fit;
        lines << word.left(fit);
        word = word.mid(fit);
    }
    return word;
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
