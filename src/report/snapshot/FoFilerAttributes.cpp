// Snapshot writer: brush, font and pen records, written when an attribute changed.
#include "report/snapshot/FoFiler.h"

#include "ScopeExit.h"
#include "report/snapshot/FoSnapshotCodes.h"

namespace fiscora {

const QString TFoSnapshotWriter::ReferenceWidthText =
    QStringLiteral("abcdefg hijklmnop qrstuv wxyz ABCDEFG HIJKLMNOP QRSTUV WXYZ 0123456789");

void TFoSnapshotWriter::BrushChanged() {
    WriteBrushState();
}
void TFoSnapshotWriter::PenChanged() {
    WritePenState();
}
void TFoSnapshotWriter::FontChanged() {
    WriteFontState();
}

void TFoSnapshotWriter::WriteBrushState() {
    if (!CanWrite())
        return;
    TFoBrush &brush = Canvas().Brush();
    TFoSnapshotOutput &out = *FOutput;
    if (WriteAll || brush.Color() != SaveBrushColor) {
        out.WriteByte(scBrushColor);
        out.WriteInt(static_cast<qint32>(brush.Color()));
        SaveBrushColor = brush.Color();
    }
    if (WriteAll || brush.Style() != SaveBrushStyle) {
        out.WriteByte(scBrushStyle);
        out.WriteByte(static_cast<quint8>(brush.Style()));
        SaveBrushStyle = brush.Style();
    }
    if (!brush.Bitmap().isNull()) {
        if (WriteAll || !SaveBrushPattern || brush.Bitmap().cacheKey() != SaveBrushPatternKey) {
            out.WriteByte(scBrushBitmap);
            out.WriteByte(1);
            WriteBitmap(brush.Bitmap());
            SaveBrushPattern = true;
            SaveBrushPatternKey = brush.Bitmap().cacheKey();
        }
    } else if (SaveBrushPattern || WriteAll) {
        out.WriteByte(scBrushBitmap);
        out.WriteByte(0);
        SaveBrushPattern = false;
    }
}

void TFoSnapshotWriter::WriteFontState() {
    if (FWritingFont || !CanWrite())
        return;
    const TSaveFont &font = GetBaseFont();
    TFoSnapshotOutput &out = *FOutput;
    bool needHeight = WriteAll || font.Height != SaveFont.Height;
    auto byteRecord = [&](quint8 code, auto value, auto saved, bool affectsWidth) {
        if (WriteAll || value != saved) {
            out.WriteByte(code);
            out.WriteByte(static_cast<quint8>(value));
            needHeight = needHeight || affectsWidth;
        }
    };
    if (WriteAll || font.Name != SaveFont.Name) {
        out.WriteByte(scFontName);
        out.WriteString(font.Name);
        needHeight = true;
    }
    if (WriteAll || font.Color != SaveFont.Color) {
        out.WriteByte(scFontColor);
        out.WriteInt(static_cast<qint32>(font.Color));
    }
    byteRecord(scFontPitch, font.Pitch, SaveFont.Pitch, true);
    byteRecord(scFontCharset, font.CharSet, SaveFont.CharSet, true);
    byteRecord(scFontBold, font.Bold, SaveFont.Bold, true);
    byteRecord(scFontItalic, font.Italic, SaveFont.Italic, true);
    byteRecord(scFontUnderline, font.Underline, SaveFont.Underline, true);
    byteRecord(scFontStrikeout, font.Strikeout, SaveFont.Strikeout, true);
    byteRecord(scFontSuperscript, font.Superscript, SaveFont.Superscript, false);
    byteRecord(scFontSubscript, font.Subscript, SaveFont.Subscript, false);
    if (WriteAll || font.Rotation != SaveFont.Rotation) {
        out.WriteByte(scFontRotation);
        out.WriteWord(static_cast<quint16>(font.Rotation));
    }
    byteRecord(scFontAlign, font.Align, SaveFont.Align, false);
    if (needHeight) {
        // Measuring realises the font; nothing it does may be recorded.
        double referenceWidth = 0.0;
        {
            FWritingFont = true;
            ScopeExit restore([this, held = FHoldOutput] {
                SetHoldOutput(held);
                FWritingFont = false;
            });
            SetHoldOutput(true);
            referenceWidth = TextWidth(ReferenceWidthText) * 100.0 / ScaleX();
        }
        out.WriteByte(scFontHeight);
        out.WriteFloat(font.Height);
        out.WriteFloat(referenceWidth);
    }
    SaveFont = font;
}

void TFoSnapshotWriter::WritePenState() {
    if (!CanWrite())
        return;
    TFoPen &pen = Canvas().Pen();
    TFoSnapshotOutput &out = *FOutput;
    if (WriteAll || pen.Color() != SavePenColor) {
        out.WriteByte(scPenColor);
        out.WriteInt(static_cast<qint32>(pen.Color()));
        SavePenColor = pen.Color();
    }
    if (WriteAll || pen.Mode() != SavePenMode) {
        out.WriteByte(scPenMode);
        out.WriteByte(static_cast<quint8>(pen.Mode()));
        SavePenMode = pen.Mode();
    }
    if (WriteAll || pen.Style() != SavePenStyle) {
        out.WriteByte(scPenStyle);
        out.WriteByte(static_cast<quint8>(pen.Style()));
        SavePenStyle = pen.Style();
    }
    if (WriteAll || pen.Width() != SavePenWidth) {
        out.WriteByte(scPenWidth);
        out.WriteFloat(double(pen.Width()) / XDPI());
        SavePenWidth = pen.Width();
    }
}

} // namespace fiscora
