#include "report/snapshot/FoSnapshotReader.h"

#include "report/core/FoErrors.h"
#include "report/core/FoStreamAnsi.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QBuffer>
#include <QtEndian>

#include <algorithm>
#include <cstring>

namespace fiscora {

namespace {
constexpr qint64 WindowSize = 64 * 1024;
}

void RaiseSnapshotError(const QString &message) {
    throw EFolioReport(message);
}

TFoSnapshotReader::TFoSnapshotReader(QIODevice &device) : FDevice(device) {
    if (auto *buffer = qobject_cast<QBuffer *>(&device)) {
        // A memory snapshot is read in place; the buffer must not change during playback.
        FWindow = buffer->data().constData();
        FSize = buffer->data().size();
        FWindowEnd = FSize;
    } else {
        FSize = device.isSequential() ? 0 : device.size();
    }
}

void TFoSnapshotReader::Seek(qint64 position) {
    if (position < 0 || position > FSize)
        RaiseSnapshotError(QString::fromLatin1(SnapshotReadErrorText));
    FPosition = position;
}

void TFoSnapshotReader::Require(qint64 count) const {
    if (count < 0 || count > FSize - FPosition)
        RaiseSnapshotError(QString::fromLatin1(SnapshotReadErrorText));
}

const char *TFoSnapshotReader::TakeSlow(qint64 count) {
    Require(count);
    if (FPosition < FWindowStart || FPosition + count > FWindowEnd) {
        const qint64 length = std::min(FSize - FPosition, std::max(count, WindowSize));
        FChunk.resize(length);
        if (!FDevice.seek(FPosition) || FDevice.read(FChunk.data(), length) != length)
            RaiseSnapshotError(QString::fromLatin1(SnapshotReadErrorText));
        FWindow = FChunk.constData();
        FWindowStart = FPosition;
        FWindowEnd = FPosition + length;
    }
    const char *data = FWindow + (FPosition - FWindowStart);
    FPosition += count;
    return data;
}

quint16 TFoSnapshotReader::ReadWord() {
    return qFromLittleEndian<quint16>(Take(2));
}

qint32 TFoSnapshotReader::ReadInt() {
    return qFromLittleEndian<qint32>(Take(4));
}

float TFoSnapshotReader::ReadFloat() {
    const quint32 bits = qFromLittleEndian<quint32>(Take(4));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

QString TFoSnapshotReader::ReadString() {
    qint64 length = ReadByte();
    if (length >= 192 && !OneByteLengths)
        length = (((length << 8) | ReadByte()) + 16384) & 0xFFFF;
    if (AnsiStrings)
        return TextFromAnsi(QByteArrayView(Take(length), length));
    const char *bytes = Take(length * 2);
    QString text(length, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qint64 i = 0; i < length; ++i)
        out[i] = qFromLittleEndian<quint16>(bytes + 2 * i);
    return text;
}

QByteArray TFoSnapshotReader::ReadBytes(qint64 count) {
    Require(count);
    QByteArray bytes;
    bytes.resize(count);
    qint64 done = 0;
    // Large blocks go through the window in pieces so the window never has to hold them whole.
    while (done < count) {
        const qint64 piece = std::min(count - done, WindowSize);
        std::memcpy(bytes.data() + done, Take(piece), piece);
        done += piece;
    }
    return bytes;
}

void TFoSnapshotReader::Skip(qint64 count) {
    Require(count);
    FPosition += count;
}

bool TVarValueBlock::IsReference() const {
    return IsVarReferenceKind(Length);
}

TVarValueBlock TFoSnapshotReader::ReadVarValueBlock() {
    TVarValueBlock block;
    block.Capacity = ReadByte();
    block.Length = ReadByte();
    if (block.IsReference()) {
        const QByteArray area = ReadBytes(block.Capacity);
        if (area.size() >= 4)
            block.Position = qFromLittleEndian<qint32>(area.constData());
        return block;
    }
    const QByteArray area = ReadBytes(VarValueAreaBytes(block.Capacity));
    if (AnsiStrings) {
        block.Value =
            TextFromAnsi(QByteArrayView(area.constData(), std::min<qsizetype>(block.Length, area.size())));
        return block;
    }
    const qsizetype units = std::min<qsizetype>(block.Length, area.size() / 2);
    block.Value.resize(units);
    for (qsizetype i = 0; i < units; ++i)
        block.Value[i] = QChar(qFromLittleEndian<quint16>(area.constData() + 2 * i));
    return block;
}

} // namespace fiscora
