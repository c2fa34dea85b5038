#pragma once

#include <QIODevice>
#include <QStringView>

#include <cstring>
#include <memory>

namespace fiscora {

// The snapshot writer's output: little-endian fields coalesced in a 16-kilobyte buffer.
// Positions are logical (stream position plus buffer fill), so no flush is needed to learn them.
class TFoSnapshotOutput {
public:
    static constexpr qint64 BufferSize = 16384;

    // The device is written from its current position; it must be open for writing.
    explicit TFoSnapshotOutput(QIODevice &device);
    ~TFoSnapshotOutput();
    TFoSnapshotOutput(const TFoSnapshotOutput &) = delete;
    TFoSnapshotOutput &operator=(const TFoSnapshotOutput &) = delete;

    // While held, every write is dropped.
    bool HoldOutput = false;

    qint64 Position() const { return FDevicePosition + FFill; }
    void Flush();
    void Seek(qint64 position);
    // Drops whatever the device holds beyond the current position (memory buffers and files only).
    void TruncateHere();
    // Overwrites an Int already written at position and returns to where writing was.
    void PatchInt(qint64 position, qint32 value);
    // Overwrites bytes already written at position and returns to where writing was.
    void Patch(qint64 position, const void *data, qint64 count);

    void WriteByte(quint8 value) {
        if (HoldOutput)
            return;
        if (FFill == BufferSize)
            Flush();
        FBuffer[FFill++] = static_cast<char>(value);
    }
    void WriteBool(bool value) { WriteByte(value ? 1 : 0); }
    void WriteWord(quint16 value) {
        const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
        Write(bytes, 2);
    }
    void WriteInt(qint32 value) {
        const auto bits = static_cast<quint32>(value);
        const char bytes[4] = {static_cast<char>(bits & 0xFF), static_cast<char>((bits >> 8) & 0xFF),
                               static_cast<char>((bits >> 16) & 0xFF), static_cast<char>(bits >> 24)};
        Write(bytes, 4);
    }
    // Doubles are narrowed to single precision, as the format stores them.
    void WriteFloat(double value) {
        const float narrowed = static_cast<float>(value);
        quint32 bits;
        std::memcpy(&bits, &narrowed, sizeof bits);
        WriteInt(static_cast<qint32>(bits));
    }
    // Length (one or two bytes) and UTF-16LE text, cut to the longest length the format can hold.
    void WriteString(QStringView text);
    void Write(const void *data, qint64 count) {
        if (HoldOutput)
            return;
        if (count <= BufferSize - FFill) {
            std::memcpy(FBuffer.get() + FFill, data, count);
            FFill += count;
        } else {
            WriteSlow(data, count);
        }
    }
    // Copies count bytes (all that are left when count is 0) from the source's position, in 4096-byte chunks.
    void CopyFrom(QIODevice &source, qint64 count);

    // The length-field bytes of a string of the given length.
    static int EncodeStringLength(qint64 length, quint8 bytes[2]);

private:
    void WriteSlow(const void *data, qint64 count);

    QIODevice &FDevice;
    std::unique_ptr<char[]> FBuffer;
    qint64 FFill = 0;
    qint64 FDevicePosition = 0;
};

} // namespace fiscora
