#pragma once

#include <QByteArray>
#include <QtEndian>

namespace fiscora::pdf {

// Big-endian numbers of a font's tables (head, OS/2, post) at a byte offset; 0 where the table ends
// before the number does.
inline qint16 Int16At(const QByteArray &Table, int Offset) {
    if (Offset + 2 > Table.size())
        return 0;
    return qFromBigEndian<qint16>(Table.constData() + Offset);
}
inline quint16 UInt16At(const QByteArray &Table, int Offset) {
    if (Offset + 2 > Table.size())
        return 0;
    return qFromBigEndian<quint16>(Table.constData() + Offset);
}
inline qint32 Int32At(const QByteArray &Table, int Offset) {
    if (Offset + 4 > Table.size())
        return 0;
    return qFromBigEndian<qint32>(Table.constData() + Offset);
}

} // namespace fiscora::pdf
