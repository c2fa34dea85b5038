#include "report/core/FoPageSelection.h"

#include "ToolBoxExceptions.h"

namespace fiscora {

namespace {
int TokenToInt(const QString &token) {
    bool ok = false;
    const int value = token.trimmed().toInt(&ok);
    if (!ok)
        throw EConvertError("'" + token.toStdString() + "' is not a valid integer value");
    return value;
}
} // namespace

bool PageInSelection(const QString &Selection, int PageNum) {
    QString token;
    int start = 0;
    bool rangePending = false;
    for (qsizetype i = 0; i <= Selection.size(); ++i) {
        const QChar ch = i < Selection.size() ? Selection[i] : QLatin1Char(',');
        if (ch == QLatin1Char('-')) {
            start = token.trimmed().isEmpty() ? 1 : TokenToInt(token);
            rangePending = true;
            token.clear();
            continue;
        }
        if (ch != QLatin1Char(',')) {
            token += ch;
            continue;
        }
        const QString test = token.trimmed().toUpper();
        token.clear();
        bool selected = false;
        if (test.isEmpty())
            selected = rangePending && PageNum >= start;
        else if (test == QLatin1String("E") || test == QLatin1String("EVEN"))
            selected = PageNum % 2 == 0;
        else if (test == QLatin1String("R"))
            selected = false;
        else if (test == QLatin1String("O") || test == QLatin1String("ODD"))
            selected = PageNum % 2 != 0;
        else if (test == QLatin1String("A") || test == QLatin1String("ALL"))
            selected = true;
        else {
            const int last = TokenToInt(test);
            selected = rangePending ? start <= PageNum && PageNum <= last : PageNum == last;
        }
        rangePending = false;
        if (selected)
            return true;
    }
    return false;
}

} // namespace fiscora
