#pragma once

#include <QtGlobal>

#include <span>

namespace fiscora {

// Record codes of the page snapshot stream. The values are stored in files and never change.
enum TSnapshotCode : quint8 {
    scArc = 1,
    scBrushCopy = 2,
    scChord = 3,
    scCopyRect = 4,
    scDraw = 5,
    scDrawFocusRect = 6,
    scEllipse = 7,
    scFillRect = 8,
    scFloodFill = 9,
    scFrameRect = 10,
    scLineTo = 11,
    scMoveTo = 12,
    scPie = 13,
    scPolygon = 14,
    scPolyline = 15,
    scPrintBitmap = 16,
    scPrintBitmapRect = 17,
    scRectangle = 18,
    scTabRectangle = 19,
    scRoundRect = 20,
    scStretchDraw = 21,
    scTextRect = 22,
    scCenterText = 23,
    scLeftText = 24,
    scRightText = 25,
    scTextBKMode = 26,
    scBKColor = 27,
    scScaleX = 28,
    scScaleY = 29,
    scPrintData = 30,
    scPrintDataStream = 31,
    scPrintSpaces = 32,
    scBlockText = 33,
    scTransparentBitmaps = 34,
    scFrameMode = 35,
    scPrintImageRect = 36,
    scVariableData = 37,
    scHyperlink = 38,
    scBrush = 40,
    scBrushColor = 41,
    scBrushStyle = 42,
    scBrushBitmap = 43,
    scFont = 50,
    scFontName = 51,
    scFontColor = 52,
    scFontPitch = 53,
    scFontHeight = 54,
    scFontBold = 55,
    scFontUnderline = 56,
    scFontItalic = 57,
    scFontStrikeout = 58,
    scFontSuperscript = 59,
    scFontSubscript = 60,
    scFontRotation = 61,
    scFontAlign = 62,
    scFontCharset = 63,
    scPen = 70,
    scPenColor = 71,
    scPenMode = 72,
    scPenStyle = 73,
    scPenWidth = 74,
    scPageHeader = 80,
    scPageEnd = 82,
    scResetLineHeight = 83,
    scAllowPreviewOnly = 84,
    scAllowPrinterOnly = 85,
    scAllowAll = 86,
    scOrientation = 87,
    scBin = 88,
};

// Header codes and versions.
inline constexpr quint8 scHeaderV1101 = 81;
inline constexpr quint8 scHeaderV2009 = 89;
inline constexpr quint8 scHeaderVersioned = 90;
inline constexpr quint16 SnapshotWriteVersion = 10000;

// Graphic block kinds; a reference block adds GraphicReferenceFlag.
inline constexpr quint8 gkBitmap = 1;
inline constexpr quint8 gkMetafile = 2;
inline constexpr quint8 gkIcon = 3;
inline constexpr quint8 gkOther = 4;
inline constexpr quint8 GraphicReferenceFlag = 128;

// Longest string a length field can hold, and the longest variable value.
inline constexpr int SnapshotMaxStringLength = 16383;
inline constexpr int SnapshotMaxVarLength = 64;

// Variable value block: Byte C (capacity), Byte B (the value's length, or one of the two kinds below),
// then a data area.
inline constexpr quint8 VarKindReference = 254;   // C = 4: the area's Int is the position of the value block
inline constexpr quint8 VarKindPlaceholder = 255; // the area's Int is the previous value block, or 0
inline constexpr quint8 VarLengthUnchanged = 0;   // no new value: the variable keeps its current one
inline constexpr quint8 VarReferenceCapacity = 4;
inline constexpr quint8 VarPlaceholderCapacity = 128; // also the largest value area
inline bool IsVarReferenceKind(quint8 length) {
    return length == VarKindReference || length == VarKindPlaceholder;
}
// Bytes of a value area: C characters of two bytes each, the placeholder's whole area from C = 64 on.
inline qint64 VarValueAreaBytes(quint8 capacity) {
    return capacity < SnapshotMaxVarLength ? qint64(capacity) * 2 : VarPlaceholderCapacity;
}

// The record's name, or nullptr for a code that never occurs in a page.
const char *SnapshotRecordName(int code);

// Field layout of each record, as the dump tool and the hostile-input checks read it.
enum class TSnapshotFieldType {
    Byte,
    Word,
    SmallInt,
    Int,
    Float,
    Colour,
    String,
    Point,
    Rect,
    Graphic,        // graphic block
    FlaggedGraphic, // Byte flag, then a graphic block when the flag is 1
    VarValue,       // variable value block
    PointList,      // Word highest index, then that many points plus one
    RawBytes,       // Int count, then the bytes
};

struct TSnapshotField {
    const char *Name = nullptr;
    TSnapshotFieldType Type = TSnapshotFieldType::Byte;
    int MinVersion = 0; // the field is present from this file version on
};

inline constexpr int SnapshotMaxFields = 10;

struct TSnapshotRecordLayout {
    quint8 Code;
    const char *Name;
    TSnapshotField Fields[SnapshotMaxFields]; // unused entries have no name

    std::span<const TSnapshotField> FieldList() const {
        int count = 0;
        while (count < SnapshotMaxFields && Fields[count].Name)
            ++count;
        return {Fields, static_cast<size_t>(count)};
    }
};

// The layout of a record code, or nullptr for a code that never occurs in a page.
const TSnapshotRecordLayout *SnapshotRecordLayout(int code);

} // namespace fiscora
