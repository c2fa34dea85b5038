#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace fiscora {

// Raises EFolioReport with the message; the one way snapshot code reports a bad stream.
[[noreturn]] void RaiseSnapshotError(const QString &message);

// The message of a stream that ends before the data it claims.
inline constexpr const char *SnapshotReadErrorText = "Stream read error";

// A variable value block as stored: C and B, then the position of a reference block (0: keep the
// current value) or the value of a direct one.
struct TVarValueBlock {
    quint8 Capacity = 0;
    quint8 Length = 0;
    qint32 Position = 0;
    QString Value;
    bool IsReference() const;
};

// Little-endian decoder over a snapshot stream. Every read is checked against the stream's size, so a
// hostile length never reads past the end or allocates more than the stream holds.
// A memory stream (QBuffer) is read in place; other devices through a 64-kilobyte window.
class TFoSnapshotReader {
public:
    explicit TFoSnapshotReader(QIODevice &device);

    qint64 Size() const { return FSize; }
    qint64 Position() const { return FPosition; }
    qint64 Remaining() const { return FSize - FPosition; }
    // Positions outside the stream raise the read error.
    void Seek(qint64 position);

    quint8 ReadByte() { return static_cast<quint8>(*Take(1)); }
    quint16 ReadWord();
    qint16 ReadSmallInt() { return static_cast<qint16>(ReadWord()); }
    qint32 ReadInt();
    float ReadFloat();
    // A length-prefixed string in the stream's encoding (UTF-16 or 8-bit ANSI).
    QString ReadString();
    QByteArray ReadBytes(qint64 count);
    TVarValueBlock ReadVarValueBlock();
    void Skip(qint64 count);
    // Raises the read error when fewer than count bytes are left.
    void Require(qint64 count) const;

    // Strings are 8-bit ANSI (files before version 5130, or detected as such).
    bool AnsiStrings = false;
    // String lengths are always one byte (files before version 2016).
    bool OneByteLengths = false;

private:
    const char *Take(qint64 count) {
        if (count <= FWindowEnd - FPosition && FPosition >= FWindowStart) {
            const char *data = FWindow + (FPosition - FWindowStart);
            FPosition += count;
            return data;
        }
        return TakeSlow(count);
    }
    const char *TakeSlow(qint64 count);

    QIODevice &FDevice;
    qint64 FSize = 0;
    qint64 FPosition = 0;
    const char *FWindow = nullptr; // bytes of the stream from FWindowStart to FWindowEnd
    qint64 FWindowStart = 0;
    qint64 FWindowEnd = 0;
    QByteArray FChunk; // the window's storage for devices that are not read in place
};

} // namespace fiscora
