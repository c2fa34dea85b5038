#include "report/playback/FoSnapshotConverter.h"

#include "report/playback/FoRender.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <algorithm>
#include <cstdint>

namespace fiscora {

namespace {

[[noreturn]] void RaiseUnexpectedCode(int code) {
    RaiseSnapshotError(QStringLiteral("Unexpected code [%1] found in report file.").arg(code));
}

} // namespace

void TFoConverter::DispatchRecord(quint8 Code) {
    switch (Code) {
    case scArc:
    case scChord:
    case scPie:
        return DoFourPoints(Code);
    case scBrushCopy:
        return DoBrushCopy();
    case scCopyRect:
        return DoCopyRect();
    case scDraw:
        return DoDraw();
    case scDrawFocusRect:
    case scFillRect:
    case scFrameRect:
        return DoRectRecord(Code);
    case scEllipse:
        return DoEllipse();
    case scFloodFill:
        return DoFloodFill();
    case scLineTo:
        return DoLineTo();
    case scMoveTo:
        return DoMoveTo();
    case scPolygon:
        return DoPolygon(true);
    case scPolyline:
        return DoPolygon(false);
    case scPrintBitmap:
        return DoPrintBitmap();
    case scPrintBitmapRect:
        return DoPrintBitmapRect();
    case scRectangle:
    case scTabRectangle:
        return DoRectangle();
    case scRoundRect:
        return DoRoundRect();
    case scStretchDraw:
        return DoStretchDraw();
    case scTextRect:
        return DoTextRect();
    case scCenterText:
    case scLeftText:
    case scRightText:
        return DoText(Code);
    case scTextBKMode:
        FRenderer.FTextBKMode = FReader.ReadByte() ? TBKMode::bkOpaque : TBKMode::bkTransparent;
        return;
    case scBKColor: {
        const auto colour = static_cast<TColor>(FReader.ReadInt());
        FRenderer.FBKColor = colour;
        FRenderer.BKColorChanged(colour);
        return;
    }
    case scScaleX:
    case scScaleY:
        FReader.ReadFloat();
        return;
    case scPrintData:
        return DoPrintData();
    case scPrintDataStream:
        return DoPrintDataStream();
    case scPrintSpaces:
    case scBlockText:
        return DoPrintSpaces();
    case scTransparentBitmaps:
        FRenderer.FTransparentBitmaps = FReader.ReadByte() != 0;
        return;
    case scFrameMode:
        FRenderer.snFrameMode = static_cast<TFrameMode>(std::min<quint8>(FReader.ReadByte(), 2));
        return;
    case scPrintImageRect:
        return DoPrintImageRect();
    case scVariableData:
        return DoVariableData();
    case scHyperlink:
        FRenderer.SetHyperlink(ReadText());
        return;
    case scBrush:
        return SetBrush();
    case scBrushColor:
        return SetBrushColor();
    case scBrushStyle:
        return SetBrushStyle();
    case scBrushBitmap:
        return SetBrushBitmap();
    case scFont:
        return SetFont();
    case scFontName: {
        const QString name = ReadText();
        SetFontAttribute([&] {
            FontData.Name = name;
            Font.SetName(name);
        });
        return;
    }
    case scFontColor: {
        const auto colour = static_cast<TColor>(FReader.ReadInt());
        SetFontAttribute([&] {
            FontData.Color = colour;
            Font.SetColor(colour);
        });
        return;
    }
    case scFontPitch: {
        const auto pitch = static_cast<TFontPitch>(std::min<quint8>(FReader.ReadByte(), 2));
        SetFontAttribute([&] {
            FontData.Pitch = pitch;
            Font.SetPitch(pitch);
        });
        return;
    }
    case scFontHeight:
        return SetFontHeight();
    case scFontBold: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Bold = on;
            Font.SetBold(on);
        });
        return;
    }
    case scFontUnderline: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Underline = on;
            Font.SetUnderline(on);
        });
        return;
    }
    case scFontItalic: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Italic = on;
            Font.SetItalic(on);
        });
        return;
    }
    case scFontStrikeout: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Strikeout = on;
            Font.SetStrikeout(on);
        });
        return;
    }
    case scFontSuperscript: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] { FontData.Superscript = on; });
        return;
    }
    case scFontSubscript: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] { FontData.Subscript = on; });
        return;
    }
    case scFontRotation: {
        const int degrees = FReader.ReadSmallInt();
        SetFontAttribute(
            [&] { FontData.Rotation = static_cast<std::int16_t>(((degrees % 360) + 360) % 360); });
        return;
    }
    case scFontAlign: {
        const auto align = static_cast<TFontAlign>(std::min<quint8>(FReader.ReadByte(), 2));
        SetFontAttribute([&] { FontData.Align = align; });
        return;
    }
    case scFontCharset: {
        const quint8 charset = FReader.ReadByte();
        SetFontAttribute([&] {
            FontData.CharSet = charset;
            Font.SetCharSet(charset);
        });
        return;
    }
    case scPen:
        return SetPen();
    case scPenColor:
        return SetPenColor();
    case scPenMode:
        return SetPenMode();
    case scPenStyle:
        return SetPenStyle();
    case scPenWidth:
        return SetPenWidth();
    case scResetLineHeight:
        return DoResetLineHeight();
    case scAllowPreviewOnly:
        return FRenderer.AllowPreviewOnly();
    case scAllowPrinterOnly:
        return FRenderer.AllowPrinterOnly();
    case scAllowAll:
        return FRenderer.AllowAll();
    case scOrientation:
        ReportHeader.Orientation = static_cast<TOrientation>(std::min<quint8>(FReader.ReadByte(), 2));
        return;
    case scBin:
        FRenderer.SetBin(ReadText());
        return;
    default:
        RaiseUnexpectedCode(Code);
    }
}

} // namespace fiscora
