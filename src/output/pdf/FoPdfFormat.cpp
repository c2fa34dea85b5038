#include "output/pdf/FoPdfFormat.h"

#include "report/core/FoStreamAnsi.h"

#include <charconv>
#include <cmath>

namespace fiscora::pdf {

namespace {

void AppendChars(QByteArray &out, double value, std::chars_format format, int precision) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    out.append(buffer, qsizetype(result.ptr - buffer));
}

} // namespace

void AppendFixed(QByteArray &out, double value, int decimals) {
    if (!std::isfinite(value))
        value = 0.0;
    AppendChars(out, value, std::chars_format::fixed, decimals);
}

void AppendInt(QByteArray &out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, qsizetype(result.ptr - buffer));
}

void AppendHundredths(QByteArray &out, double value) {
    const long long hundredths = std::isfinite(value) ? std::llround(value * 100.0) : 0;
    if (hundredths % 100 == 0)
        AppendInt(out, hundredths / 100);
    else
        AppendFixed(out, double(hundredths) / 100.0, hundredths % 10 == 0 ? 1 : 2);
}

void AppendHex(QByteArray &out, unsigned value, int digits) {
    static const char hex[] = "0123456789ABCDEF";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out.append(hex[(value >> shift) & 15]);
}

void AppendFormat(QByteArray &out, std::string_view format, std::initializer_list<TPdfArg> args) {
    auto arg = args.begin();
    size_t i = 0;
    while (i < format.size()) {
        const size_t percent = format.find('%', i);
        if (percent == std::string_view::npos) {
            out.append(format.data() + i, qsizetype(format.size() - i));
            break;
        }
        out.append(format.data() + i, qsizetype(percent - i));
        i = percent + 1;
        if (i >= format.size())
            break;
        if (format[i] == '%') {
            out.append('%');
            ++i;
            continue;
        }
        int precision = -1;
        if (format[i] == '.') {
            precision = 0;
            ++i;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                precision = precision * 10 + (format[i++] - '0');
        }
        if (i >= format.size() || arg == args.end())
            break;
        const char conversion = format[i++];
        const TPdfArg &value = *arg++;
        const double real = value.kind == TPdfArg::Kind::Real ? value.d : double(value.i);
        switch (conversion) {
        case 'd':
            AppendInt(out, value.kind == TPdfArg::Kind::Int ? value.i : std::llround(value.d));
            break;
        case 'f':
            AppendFixed(out, real, precision < 0 ? 6 : precision);
            break;
        case 'g':
            AppendChars(out, std::isfinite(real) ? real : 0.0, std::chars_format::general,
                        precision < 0 ? 6 : std::max(precision, 1));
            break;
        case 's':
            out.append(value.s.data(), qsizetype(value.s.size()));
            break;
        default:
            break;
        }
    }
}

QByteArray ColorText(TColor colour) {
    const bool system = static_cast<std::int32_t>(colour) < 0;
    const double red = system ? 0.0 : GetRValue(colour) / 255.0;
    const double green = system ? 0.0 : GetGValue(colour) / 255.0;
    const double blue = system ? 0.0 : GetBValue(colour) / 255.0;
    QByteArray text;
    Fmt(text, "%.3g %.3g %.3g", red, green, blue);
    return text;
}

void AppendEscapedText(QByteArray &out, QStringView text) {
    const QByteArray bytes = AnsiFromText(text);
    for (const char c : bytes) {
        if (c == '(' || c == ')' || c == '\\')
            out.append('\\');
        out.append(c);
    }
}

QByteArray EscapeText(QStringView text) {
    QByteArray out;
    out.reserve(text.size() + 8);
    AppendEscapedText(out, text);
    return out;
}

QByteArray InfoString(const QString &text) {
    bool ascii = true;
    for (const QChar c : text)
        if (c.unicode() >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return '(' + EscapeText(text) + ')';
    QByteArray hex = "<FEFF";
    for (const QChar c : text) {
        char buffer[5];
        std::snprintf(buffer, sizeof buffer, "%04X", unsigned(c.unicode()));
        hex.append(buffer, 4);
    }
    return hex + '>';
}

QByteArray EscapeName(QStringView Name, TNameEscape Escape) {
    static const char digits[] = "0123456789ABCDEF";
    static const std::string_view delimiters = "()<>[]{}/%#";
    QByteArray out;
    for (const char byte : Name.toUtf8()) {
        const auto code = static_cast<unsigned char>(byte);
        if (code == 0)
            continue;
        if (Escape == TNameEscape::Regular && code > ' ' && code < 0x7F &&
            delimiters.find(byte) == std::string_view::npos) {
            out.append(byte);
            continue;
        }
        out.append('#');
        out.append(digits[code >> 4]);
        out.append(digits[code & 15]);
    }
    return out;
}

bool FitsAnsi(QStringView text) {
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
            continue;
        if (AnsiFromText(QStringView(&c, 1)) == "?")
            return false;
    }
    return true;
}

} // namespace fiscora::pdf
