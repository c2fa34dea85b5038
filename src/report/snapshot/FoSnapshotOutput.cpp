#include "report/snapshot/FoSnapshotOutput.h"

#include "report/snapshot/FoSnapshotCodes.h"
#include "report/snapshot/FoSnapshotReader.h"

#include <QBuffer>
#include <QFileDevice>
#include <QtEndian>

namespace fiscora {

namespace {

[[noreturn]] void RaiseWriteError(QIODevice &device) {
    RaiseSnapshotError(QStringLiteral("Stream write error: %1").arg(device.errorString()));
}

} // namespace

TFoSnapshotOutput::TFoSnapshotOutput(QIODevice &device)
    : FDevice(device), FBuffer(std::make_unique<char[]>(BufferSize)), FDevicePosition(device.pos()) {}

TFoSnapshotOutput::~TFoSnapshotOutput() = default;

void TFoSnapshotOutput::Flush() {
    if (FFill == 0)
        return;
    const qint64 count = FFill;
    FFill = 0;
    if (FDevice.write(FBuffer.get(), count) != count)
        RaiseWriteError(FDevice);
    FDevicePosition += count;
}

void TFoSnapshotOutput::Seek(qint64 position) {
    Flush();
    if (!FDevice.seek(position))
        RaiseWriteError(FDevice);
    FDevicePosition = position;
}

void TFoSnapshotOutput::TruncateHere() {
    Flush();
    if (auto *buffer = qobject_cast<QBuffer *>(&FDevice)) {
        if (buffer->buffer().size() > FDevicePosition)
            buffer->buffer().resize(FDevicePosition);
    } else if (auto *file = qobject_cast<QFileDevice *>(&FDevice)) {
        if (file->size() > FDevicePosition)
            file->resize(FDevicePosition);
    }
}

void TFoSnapshotOutput::Patch(qint64 position, const void *data, qint64 count) {
    const qint64 resume = Position();
    Seek(position);
    if (FDevice.write(static_cast<const char *>(data), count) != count)
        RaiseWriteError(FDevice);
    FDevicePosition += count;
    Seek(resume);
}

void TFoSnapshotOutput::PatchInt(qint64 position, qint32 value) {
    char bytes[4];
    qToLittleEndian<qint32>(value, bytes);
    Patch(position, bytes, 4);
}

void TFoSnapshotOutput::WriteSlow(const void *data, qint64 count) {
    Flush();
    if (count > BufferSize) {
        if (FDevice.write(static_cast<const char *>(data), count) != count)
            RaiseWriteError(FDevice);
        FDevicePosition += count;
        return;
    }
    std::memcpy(FBuffer.get(), data, count);
    FFill = count;
}

int TFoSnapshotOutput::EncodeStringLength(qint64 length, quint8 bytes[2]) {
    if (length < 192) {
        bytes[0] = static_cast<quint8>(length);
        return 1;
    }
    const auto encoded = static_cast<quint16>((length + 49152) & 0xFFFF);
    bytes[0] = static_cast<quint8>(encoded >> 8);
    bytes[1] = static_cast<quint8>(encoded & 0xFF);
    return 2;
}

void TFoSnapshotOutput::WriteString(QStringView text) {
    qint64 length = std::min<qint64>(text.size(), SnapshotMaxStringLength);
    // Never leave half of a surrogate pair at the cut.
    if (length < text.size() && length > 0 && text[length - 1].isHighSurrogate())
        --length;
    quint8 lengthBytes[2];
    Write(lengthBytes, EncodeStringLength(length, lengthBytes));
    if (HoldOutput || length == 0)
        return;
    if (length * 2 <= BufferSize - FFill) {
        char *out = FBuffer.get() + FFill;
        const char16_t *units = text.utf16();
        for (qint64 i = 0; i < length; ++i)
            qToLittleEndian<quint16>(units[i], out + 2 * i);
        FFill += length * 2;
        return;
    }
    QByteArray bytes(length * 2, Qt::Uninitialized);
    for (qint64 i = 0; i < length; ++i)
        qToLittleEndian<quint16>(text.utf16()[i], bytes.data() + 2 * i);
    Write(bytes.constData(), bytes.size());
}

void TFoSnapshotOutput::CopyFrom(QIODevice &source, qint64 count) {
    if (HoldOutput)
        return;
    Flush();
    char chunk[4096];
    while (count > 0) {
        const qint64 got = source.read(chunk, std::min<qint64>(count, sizeof chunk));
        if (got <= 0)
            RaiseSnapshotError(QString::fromLatin1(SnapshotReadErrorText));
        if (FDevice.write(chunk, got) != got)
            RaiseWriteError(FDevice);
        FDevicePosition += got;
        count -= got;
    }
}

} // namespace fiscora
