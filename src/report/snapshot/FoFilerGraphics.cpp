// Snapshot writer: graphic blocks, the graphic slots and the reuse of pictures already written.
#include "report/snapshot/FoFiler.h"

#include "report/core/FoErrors.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QBuffer>

namespace fiscora {

namespace {

QByteArray ImageFileBytes(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

void TFoSnapshotWriter::CheckGraphicIndex(const char *Operation, int Index) {
    if (Index < 1 || Index > GraphicSlots)
        throw EFolioReport(QStringLiteral("%1: Index must be between 1 and %2")
                               .arg(QLatin1String(Operation))
                               .arg(GraphicSlots));
}

void TFoSnapshotWriter::RegisterGraphic(int Index) {
    CheckGraphicIndex("RegisterGraphic", Index);
    GraphicPos[Index - 1] = LastGraphicPos;
}

void TFoSnapshotWriter::ReuseGraphic(int Index) {
    CheckGraphicIndex("ReuseGraphic", Index);
    ReuseGraphicPos = GraphicPos[Index - 1];
}

void TFoSnapshotWriter::UnregisterGraphic(int Index) {
    CheckGraphicIndex("UnregisterGraphic", Index);
    GraphicPos[Index - 1] = 0;
}

void TFoSnapshotWriter::WriteGraphic(quint8 Kind, const QByteArray &Bytes) {
    TFoSnapshotOutput &out = *FOutput;
    if (ReuseGraphicPos > 0) {
        out.WriteByte(Kind | GraphicReferenceFlag);
        out.WriteInt(static_cast<qint32>(ReuseGraphicPos));
        ReuseGraphicPos = 0;
        return;
    }
    LastGraphicPos = out.Position() + 1;
    out.WriteByte(Kind);
    out.WriteInt(static_cast<qint32>(Bytes.size()));
    out.Write(Bytes.constData(), Bytes.size());
}

void TFoSnapshotWriter::WriteImage(quint8 Kind, const QImage &Image, const char *Format) {
    const std::pair<quint8, qint64> identity{Kind, Image.cacheKey()};
    if (ReuseGraphicPos <= 0)
        if (const auto written = WrittenImages.find(identity); written != WrittenImages.end())
            ReuseGraphicPos = written->second;
    // A reference needs no bytes, so the picture is only encoded when it is written in full.
    if (ReuseGraphicPos > 0)
        return WriteGraphic(Kind, QByteArray());
    WriteGraphic(Kind, ImageFileBytes(Image, Format));
    WrittenImages[identity] = LastGraphicPos;
}

void TFoSnapshotWriter::WriteBitmap(const QImage &Bitmap) {
    WriteImage(gkBitmap, Bitmap, "BMP");
}

void TFoSnapshotWriter::WriteGraphic(const TFoGraphic &Graphic) {
    switch (Graphic.Kind) {
    case TGraphicKind::gkBitmap:
        return WriteImage(gkBitmap, Graphic.Image, "BMP");
    case TGraphicKind::gkIcon:
        return WriteImage(gkIcon, Graphic.Image, "ICO");
    case TGraphicKind::gkMetafile:
        return WriteGraphic(gkMetafile, Graphic.Data);
    case TGraphicKind::gkOther:
        return WriteGraphic(gkOther, Graphic.Data);
    }
}

} // namespace fiscora
