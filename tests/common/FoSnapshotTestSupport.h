#pragma once

#include "report/playback/FoSnapshotRecorder.h"
#include "report/snapshot/FoSnapshotCodes.h"
#include "report/snapshot/FoSnapshotOutput.h"

#include <QBuffer>
#include <QByteArray>
#include <QSizeF>
#include <QString>

#include <functional>
#include <memory>

namespace fiscora::test {

// Writes hand-made snapshot streams in the version-10000 layout, so playback can be tested
// independently of the writer (and fed streams the writer never produces).
class TSnapshotBuilder {
public:
    TSnapshotBuilder() {
        FBuffer.setBuffer(&FBytes);
        FBuffer.open(QIODevice::ReadWrite);
        Out = std::make_unique<TFoSnapshotOutput>(FBuffer);
    }

    // The print job settings a report header records.
    struct TJobSettings {
        qint16 Copies = 1;
        bool Collate = false;
        quint8 Duplex = 0;
        qint16 PaperSize = 1;
        qint16 PaperWidth = 0; // tenths of a millimetre, for paper 256
        qint16 PaperLength = 0;
    };

    // The paper of the pages written from now on (and of the header); letter unless set.
    QSizeF PaperSize{8.5, 11.0};

    // Header with the given page count and range.
    void Header(int PageCount, int FirstPage = 1, int LastPage = 9999, const QString &Title = "T") {
        Header(PageCount, TJobSettings{}, FirstPage, LastPage, Title);
    }

    void Header(int PageCount, const TJobSettings &Job, int FirstPage = 1, int LastPage = 9999,
                const QString &Title = "T") {
        Out->WriteByte(scHeaderVersioned);
        Out->WriteWord(SnapshotWriteVersion);
        Out->WriteString(Title);
        Out->WriteInt(PageCount);
        Out->WriteInt(FirstPage);
        Out->WriteInt(LastPage);
        for (double value : {PaperSize.width(), PaperSize.height(), 0.0, 0.0, 0.0, 0.0})
            Out->WriteFloat(value);
        Out->WriteByte(0);
        Out->WriteWord(265);
        Out->WriteByte(Job.Collate ? 1 : 0);
        Out->WriteByte(Job.Duplex);
        Out->WriteWord(quint16(Job.Copies));
        Out->WriteWord(quint16(Job.PaperSize));
        Out->WriteWord(quint16(Job.PaperWidth));
        Out->WriteWord(quint16(Job.PaperLength));
        Out->WriteString(QString());
    }

    // A page record chained to the previous one; Body writes its records.
    void Page(int PageNo, const std::function<void(TFoSnapshotOutput &)> &Body = {}) {
        const qint64 position = Out->Position();
        if (FNextField > 0)
            Out->PatchInt(FNextField, static_cast<qint32>(position));
        Out->WriteByte(scPageHeader);
        Out->WriteInt(static_cast<qint32>(FPrevPage));
        FNextField = Out->Position();
        Out->WriteInt(0);
        Out->WriteInt(PageNo);
        Out->WriteFloat(PaperSize.width());
        Out->WriteFloat(PaperSize.height());
        Out->WriteByte(0);
        Out->WriteWord(512);
        if (Body)
            Body(*Out);
        Out->WriteByte(scPageEnd);
        FPrevPage = position;
    }

    // A stream of Count pages, each with one LeftText record "page N".
    static QByteArray Pages(int Count) {
        TSnapshotBuilder builder;
        builder.Header(Count);
        for (int page = 1; page <= Count; ++page)
            builder.Page(page, [page](TFoSnapshotOutput &out) {
                out.WriteByte(scLeftText);
                out.WriteFloat(1.0);
                out.WriteString(QStringLiteral("page %1").arg(page));
                out.WriteFloat(0.5);
            });
        return builder.Bytes();
    }

    QByteArray Bytes() {
        Out->Flush();
        return FBytes;
    }

    std::unique_ptr<TFoSnapshotOutput> Out;

private:
    QByteArray FBytes;
    QBuffer FBuffer;
    qint64 FPrevPage = 0;
    qint64 FNextField = 0;
};

// Plays the bytes into the recorder; returns the converter's error message, empty when none.
inline QString Play(const QByteArray &Bytes, TFoSnapshotRecorder &Recorder, int Page = 0) {
    QByteArray copy = Bytes;
    QBuffer stream(&copy);
    stream.open(QIODevice::ReadOnly);
    Recorder.SetSnapshotStream(&stream);
    try {
        Recorder.RenderPage(Page);
    } catch (const std::exception &error) {
        Recorder.SetSnapshotStream(nullptr);
        return QString::fromStdString(error.what());
    }
    Recorder.SetSnapshotStream(nullptr);
    return {};
}

// A run-length encoded 8-bit BMP file of the size whose pixels all end at once: a few dozen bytes
// that decode to Width x Height pixels.
inline QByteArray RunLengthBitmap(int Width, int Height) {
    QByteArray bmp;
    const auto put = [&bmp](quint32 value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            bmp.append(char((value >> (8 * i)) & 0xFF));
    };
    bmp.append("BM");
    put(0, 4);
    put(0, 4);
    put(14 + 40 + 8, 4); // file header: where the pixels begin
    put(40, 4);          // info header size
    put(quint32(Width), 4);
    put(quint32(Height), 4);
    put(1, 2); // planes
    put(8, 2); // bits a pixel
    put(1, 4); // run-length encoded, 8 bits
    put(0, 4);
    put(2835, 4);
    put(2835, 4);
    put(2, 4); // colours used
    put(0, 4);
    put(0x000000FF, 4); // the two colours
    put(0x0000FF00, 4);
    bmp.append('\0'); // end of the bitmap
    bmp.append('\1');
    return bmp;
}

// A full graphic block of the kind holding the bytes; returns the position of its length field, which
// a reference block names.
inline qint64 WriteGraphicBlock(TFoSnapshotOutput &Out, quint8 Kind, const QByteArray &Bytes) {
    Out.WriteByte(Kind);
    const qint64 lengthField = Out.Position();
    Out.WriteInt(static_cast<qint32>(Bytes.size()));
    Out.Write(Bytes.constData(), Bytes.size());
    return lengthField;
}

inline void WriteGraphicReference(TFoSnapshotOutput &Out, quint8 Kind, qint64 LengthField) {
    Out.WriteByte(Kind | GraphicReferenceFlag);
    Out.WriteInt(static_cast<qint32>(LengthField));
}

// The texts of the LeftText calls, joined by "|".
inline QString LeftTexts(const TFoSnapshotRecorder &Recorder) {
    QStringList texts;
    for (const auto &call : Recorder.CallsNamed(QStringLiteral("LeftText")))
        texts << std::get<QString>(call.Args.at(0).Value);
    return texts.join(QLatin1Char('|'));
}

} // namespace fiscora::test
