#include "report/snapshot/FoSnapshotCodes.h"

#include <array>

namespace fiscora {

namespace {

using F = TSnapshotFieldType;

const TSnapshotRecordLayout RecordLayouts[] = {
    {scArc, "Arc", {{"Point1", F::Point}, {"Point2", F::Point}, {"Point3", F::Point}, {"Point4", F::Point}}},
    {scBrushCopy,
     "BrushCopy",
     {{"Graphic", F::Graphic}, {"Dest", F::Rect}, {"Source", F::Rect}, {"Color", F::Colour}}},
    {scChord,
     "Chord",
     {{"Point1", F::Point}, {"Point2", F::Point}, {"Point3", F::Point}, {"Point4", F::Point}}},
    {scCopyRect, "CopyRect", {{"Dest", F::Rect}, {"Canvas", F::Int}, {"Source", F::Rect}}},
    {scDraw, "Draw", {{"Graphic", F::Graphic}, {"Point", F::Point}}},
    {scDrawFocusRect, "DrawFocusRect", {{"Rect", F::Rect}}},
    {scEllipse, "Ellipse", {{"Point1", F::Point}, {"Point2", F::Point}}},
    {scFillRect, "FillRect", {{"Rect", F::Rect}}},
    {scFloodFill, "FloodFill", {{"Point", F::Point}, {"Color", F::Colour}, {"FillStyle", F::Int}}},
    {scFrameRect, "FrameRect", {{"Rect", F::Rect}}},
    {scLineTo, "LineTo", {{"Point", F::Point}}},
    {scMoveTo, "MoveTo", {{"Point", F::Point}}},
    {scPie, "Pie", {{"Point1", F::Point}, {"Point2", F::Point}, {"Point3", F::Point}, {"Point4", F::Point}}},
    {scPolygon, "Polygon", {{"Points", F::PointList}}},
    {scPolyline, "Polyline", {{"Points", F::PointList}}},
    {scPrintBitmap,
     "PrintBitmap",
     {{"Graphic", F::Graphic}, {"Point", F::Point}, {"ScaleX", F::Float}, {"ScaleY", F::Float}}},
    {scPrintBitmapRect,
     "PrintBitmapRect",
     {{"Graphic", F::Graphic}, {"Point1", F::Point}, {"Point2", F::Point}}},
    {scRectangle, "Rectangle", {{"Point1", F::Point}, {"Point2", F::Point}}},
    {scTabRectangle, "TabRectangle", {{"Point1", F::Point}, {"Point2", F::Point}}},
    {scRoundRect,
     "RoundRect",
     {{"Point1", F::Point}, {"Point2", F::Point}, {"CornerWidth", F::Float}, {"CornerHeight", F::Float}}},
    {scStretchDraw, "StretchDraw", {{"Graphic", F::Graphic}, {"Rect", F::Rect}}},
    {scTextRect, "TextRect", {{"Rect", F::Rect}, {"Point", F::Point}, {"Text", F::String}}},
    {scCenterText, "CenterText", {{"Y", F::Float}, {"Text", F::String}, {"X", F::Float}}},
    {scLeftText, "LeftText", {{"Y", F::Float}, {"Text", F::String}, {"X", F::Float}}},
    {scRightText, "RightText", {{"Y", F::Float}, {"Text", F::String}, {"X", F::Float}}},
    {scTextBKMode, "TextBKMode", {{"Mode", F::Byte}}},
    {scBKColor, "BKColor", {{"Color", F::Colour}}},
    {scScaleX, "ScaleX", {{"Scale", F::Float}}},
    {scScaleY, "ScaleY", {{"Scale", F::Float}}},
    {scPrintData, "PrintData", {{"Data", F::String}}},
    {scPrintDataStream, "PrintDataStream", {{"Data", F::RawBytes}}},
    {scPrintSpaces,
     "PrintSpaces",
     {{"Y", F::Float}, {"Text", F::String}, {"X", F::Float}, {"Width", F::Float}}},
    {scBlockText, "BlockText", {{"Y", F::Float}, {"Text", F::String}, {"X", F::Float}, {"Width", F::Float}}},
    {scTransparentBitmaps, "TransparentBitmaps", {{"Transparent", F::Byte}}},
    {scFrameMode, "FrameMode", {{"Mode", F::Byte}}},
    {scPrintImageRect,
     "PrintImageRect",
     {{"Image", F::RawBytes}, {"ImageType", F::String}, {"Point1", F::Point}, {"Point2", F::Point}}},
    {scVariableData, "VariableData", {{"Name", F::String}, {"Value", F::VarValue}}},
    {scHyperlink, "Hyperlink", {{"Link", F::String}}},
    {scBrush, "Brush", {{"Color", F::Colour}, {"Style", F::Byte}, {"HasPattern", F::FlaggedGraphic}}},
    {scBrushColor, "BrushColor", {{"Color", F::Colour}}},
    {scBrushStyle, "BrushStyle", {{"Style", F::Byte}}},
    {scBrushBitmap, "BrushBitmap", {{"Flag", F::FlaggedGraphic}}},
    {scFont,
     "Font",
     {{"Name", F::String},
      {"Color", F::Colour},
      {"Pitch", F::Byte},
      {"Charset", F::Byte, 2018},
      {"Height", F::Float},
      {"Bold", F::Byte},
      {"Italic", F::Byte},
      {"Strikeout", F::Byte},
      {"Unused", F::Byte},
      {"Rotation", F::SmallInt, 2000}}},
    {scFontName, "FontName", {{"Name", F::String}}},
    {scFontColor, "FontColor", {{"Color", F::Colour}}},
    {scFontPitch, "FontPitch", {{"Pitch", F::Byte}}},
    {scFontHeight, "FontHeight", {{"Height", F::Float}, {"RefWidth", F::Float, 2000}}},
    {scFontBold, "FontBold", {{"Bold", F::Byte}}},
    {scFontUnderline, "FontUnderline", {{"Underline", F::Byte}}},
    {scFontItalic, "FontItalic", {{"Italic", F::Byte}}},
    {scFontStrikeout, "FontStrikeout", {{"Strikeout", F::Byte}}},
    {scFontSuperscript, "FontSuperscript", {{"Superscript", F::Byte}}},
    {scFontSubscript, "FontSubscript", {{"Subscript", F::Byte}}},
    {scFontRotation, "FontRotation", {{"Rotation", F::SmallInt}}},
    {scFontAlign, "FontAlign", {{"Align", F::Byte}}},
    {scFontCharset, "FontCharset", {{"Charset", F::Byte}}},
    {scPen, "Pen", {{"Color", F::Colour}, {"Mode", F::Byte}, {"Style", F::Byte}, {"Width", F::Float}}},
    {scPenColor, "PenColor", {{"Color", F::Colour}}},
    {scPenMode, "PenMode", {{"Mode", F::Byte}}},
    {scPenStyle, "PenStyle", {{"Style", F::Byte}}},
    {scPenWidth, "PenWidth", {{"Width", F::Float}}},
    {scPageEnd, "PageEnd", {}},
    {scResetLineHeight,
     "ResetLineHeight",
     {{"Ascent", F::Float}, {"Descent", F::Float}, {"LineHeight", F::Float}}},
    {scAllowPreviewOnly, "AllowPreviewOnly", {}},
    {scAllowPrinterOnly, "AllowPrinterOnly", {}},
    {scAllowAll, "AllowAll", {}},
    {scOrientation, "Orientation", {{"Orientation", F::Byte}}},
    {scBin, "Bin", {{"Name", F::String}}},
};

// Direct lookup by code byte.
std::array<const TSnapshotRecordLayout *, 256> BuildLayoutIndex() {
    std::array<const TSnapshotRecordLayout *, 256> index{};
    for (const auto &layout : RecordLayouts)
        index[layout.Code] = &layout;
    return index;
}

} // namespace

const TSnapshotRecordLayout *SnapshotRecordLayout(int code) {
    static const auto index = BuildLayoutIndex();
    return code >= 0 && code < 256 ? index[code] : nullptr;
}

const char *SnapshotRecordName(int code) {
    const auto *layout = SnapshotRecordLayout(code);
    return layout ? layout->Name : nullptr;
}

} // namespace fiscora
