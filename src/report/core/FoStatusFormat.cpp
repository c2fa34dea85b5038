#include "report/core/FoStatusFormat.h"

namespace fiscora {

QString FormatStatusText(const QString &format, const TFoStatusValues &values) {
    QString result;
    result.reserve(format.size() + 16);
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar ch = format[i];
        if (ch != QLatin1Char('%') || i + 1 >= format.size()) {
            result += ch;
            continue;
        }
        const QChar code = format[++i];
        if (code.isDigit() && code.unicode() <= u'9') {
            const int line = code.unicode() - u'0';
            if (line < values.Lines.size())
                result += values.Lines[line];
            continue;
        }
        switch (code.toUpper().unicode()) {
        case u'%':
            result += QLatin1Char('%');
            break;
        case u'C':
            result += QString::number(values.CurrentPass);
            break;
        case u'D':
            result += values.DeviceName;
            break;
        case u'F':
            result += QString::number(values.FirstPage);
            break;
        case u'L':
            result += QString::number(values.LastPage);
            break;
        case u'N':
            result += QLatin1Char('\r');
            break;
        case u'P':
            result += QString::number(values.CurrentPage);
            break;
        case u'R':
            result += values.DriverName;
            break;
        case u'S':
            result += QString::number(values.TotalPasses);
            break;
        case u'T':
            result += values.Port;
            break;
        default:
            result += QStringLiteral("<ERROR-%") + code + QLatin1Char('>');
            break;
        }
    }
    return result;
}

} // namespace fiscora
