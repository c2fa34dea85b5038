#include "report/core/FoStreamAnsi.h"

#include <array>

namespace fiscora {

namespace {

// Code points of the bytes 0x80..0x9F; the unassigned ones keep their own value.
constexpr std::array<char16_t, 32> HighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char AnsiByteOf(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF))
        return static_cast<char>(unit);
    for (size_t i = 0; i < HighControlBlock.size(); ++i)
        if (HighControlBlock[i] == unit)
            return static_cast<char>(0x80 + i);
    return '?';
}

} // namespace

bool AnsiHolds(char16_t unit) {
    return unit == u'?' || AnsiByteOf(unit) != '?';
}

QByteArray AnsiFromText(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text[i + 1].unicode())) {
            bytes.append('?');
            ++i;
            continue;
        }
        bytes.append(AnsiByteOf(unit));
    }
    return bytes;
}

QString TextFromAnsi(QByteArrayView bytes) {
    QString text(bytes.size(), Qt::Uninitialized);
    QChar *out = text.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? QChar(HighControlBlock[byte - 0x80]) : QChar(byte);
    }
    return text;
}

} // namespace fiscora
