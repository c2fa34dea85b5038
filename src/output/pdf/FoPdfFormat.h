#pragma once

#include "report/core/FoTypes.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <initializer_list>
#include <string_view>

namespace fiscora::pdf {

// One argument of the PDF text formatter: an integer, a double or bytes.
struct TPdfArg {
    enum class Kind { Int, Real, Bytes } kind;
    long long i = 0;
    double d = 0.0;
    std::string_view s;

    TPdfArg(int v) : kind(Kind::Int), i(v) {}
    TPdfArg(long v) : kind(Kind::Int), i(v) {}
    TPdfArg(long long v) : kind(Kind::Int), i(v) {}
    TPdfArg(unsigned v) : kind(Kind::Int), i(v) {}
    TPdfArg(unsigned long v) : kind(Kind::Int), i(static_cast<long long>(v)) {}
    TPdfArg(double v) : kind(Kind::Real), d(v) {}
    TPdfArg(const char *v) : kind(Kind::Bytes), s(v) {}
    TPdfArg(std::string_view v) : kind(Kind::Bytes), s(v) {}
    TPdfArg(const QByteArray &v) : kind(Kind::Bytes), s(v.constData(), size_t(v.size())) {}
};

// C-style formatting into PDF bytes, independent of the process locale ("." is always the decimal
// separator). Understands %d, %s, %.Nf, %.Ng and %%, which is all the PDF renderer's format strings use.
void AppendFormat(QByteArray &out, std::string_view format, std::initializer_list<TPdfArg> args);

template <class... A> void Fmt(QByteArray &out, std::string_view format, const A &...args) {
    AppendFormat(out, format, {TPdfArg(args)...});
}
// Formats and ends the line with CR LF.
template <class... A> void FmtLn(QByteArray &out, std::string_view format, const A &...args) {
    AppendFormat(out, format, {TPdfArg(args)...});
    out.append("\r\n", 2);
}
inline void Ln(QByteArray &out, std::string_view text = {}) {
    out.append(text.data(), qsizetype(text.size()));
    out.append("\r\n", 2);
}

// "%.Nf" of a value, as C's printf writes it in the "C" locale.
void AppendFixed(QByteArray &out, double value, int decimals);
void AppendInt(QByteArray &out, long long value);
// A value rounded to two decimals, written without trailing zeros ("610.84", "-12.5", "1000").
void AppendHundredths(QByteArray &out, double value);
// Digits upper-case hexadecimal digits of a value: the code of a hex string (2 for one byte, 4 for two).
void AppendHex(QByteArray &out, unsigned value, int digits);

// The colour text "%.3g %.3g %.3g" of red, green and blue; a negative (system) colour is black.
QByteArray ColorText(TColor colour);

// Text as a PDF literal string body: Windows-1252 bytes with "(", ")" and "\" escaped.
QByteArray EscapeText(QStringView text);
void AppendEscapedText(QByteArray &out, QStringView text);

// A document information string: the escaped Windows-1252 literal "(...)" when the text is plain ASCII,
// else a UTF-16BE hex string with byte-order mark, which is what PDF text strings need beyond ASCII.
QByteArray InfoString(const QString &text);

// How a name's bytes are written after its "/": Regular keeps the characters a name may hold ("!" to
// "~" but the delimiters "()<>[]{}/%" and "#") and writes every other byte as "#" and two upper-case
// hexadecimal digits; EveryByte writes every byte so (the base names of composite fonts).
enum class TNameEscape { Regular, EveryByte };

// The text as a PDF name, without its "/": its UTF-8 bytes, escaped. A NUL, which no name can hold, is
// left out. Every name that comes from outside the renderer (font names) is written through it.
QByteArray EscapeName(QStringView Name, TNameEscape Escape = TNameEscape::Regular);

// True when every character of the text has a Windows-1252 byte.
bool FitsAnsi(QStringView text);

} // namespace fiscora::pdf
