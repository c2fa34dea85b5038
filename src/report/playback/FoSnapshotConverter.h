#pragma once

#include "report/core/FoDraw.h"
#include "report/core/FoTypes.h"
#include "report/playback/FoPictureCache.h"
#include "report/snapshot/FoSnapshotHeaders.h"
#include "report/snapshot/FoSnapshotReader.h"

#include <QDateTime>
#include <QHash>
#include <QIODevice>
#include <QPointF>
#include <QRect>
#include <QString>

#include <memory>

namespace fiscora {

class TFoRender;

// Plays a page snapshot into a renderer: reads the stream record by record and calls the renderer
// once per drawing operation and per change of font, pen or brush. Lives for one playback.
// Neither the stream nor the renderer is owned.
class TFoConverter {
public:
    TFoConverter(QIODevice &AStream, TFoRender &ARenderer);
    ~TFoConverter();
    TFoConverter(const TFoConverter &) = delete;
    TFoConverter &operator=(const TFoConverter &) = delete;

    // Plays page APageNo, or (0) every page of the renderer's range or selection.
    // DocBegin and DocEnd frame the playback; DocEnd runs also when an error ends it.
    void Generate(int APageNo, int APageCount = 0);
    bool PageInRange(int PageNum) const;
    // Positions the stream at page APageNum by walking the page chain; outside the stream: first or last
    // page.
    void GotoPage(int APageNum);
    // Width of a rich text in inches, measured at 1248 pixels per inch.
    double RichTextWidth(const QString &Value);

    // Header data.
    TFoReportHeader ReportHeader;
    TFoPageHeader PageHeader;
    quint16 FileVer() const { return ReportHeader.FileVer; }
    const QString &Title() const { return ReportHeader.Title; }
    int PageCount() const { return ReportHeader.PageCount; }
    int PageNo() const { return FPageNo; }
    const QDateTime &ReportDateTime() const { return FReportDateTime; }

    // Drawing state; changes of Font, Pen and Brush reach the renderer.
    TFoFont Font;
    TSaveFont FontData;
    TFoPen Pen;
    TFoBrush Brush;
    double FontReferenceWidth = 0.0; // inches, from the last height record
    double Ascent = 0.0;
    double Descent = 0.0;
    double LineHeight = 0.0;
    double CurrX = 0.0;
    double CurrY = 0.0;
    double FXPos = 0.0;
    double FYPos = 0.0;
    QString Hyperlink;
    bool FReuseGraphic = false;

    // Page-independent variables: current value by upper-cased name.
    QString VarValue(const QString &Name) const;
    // The text with macro and variable markers expanded.
    QString ExpandMarkers(const QString &Text) const;

private:
    static constexpr int RichPixelsPerInch = 1248;

    // Paging (FoSnapshotConverterPaging.cpp).
    // Plays the page at the stream position; raises an error when it is not page ExpectedPageNo (0: any).
    void PlayPage(int ExpectedPageNo = 0);
    // Moves to the renderer's page mark when it lies between the current page and APageNum.
    void StartFromPageMark(int APageNum);
    // Record code to handler (FoSnapshotConverterRecords.cpp).
    void DispatchRecord(quint8 Code);

    // Field readers, pictures, variables and markers (FoSnapshotConverter.cpp).
    // Whether the renderer's output kind is one the current records are not meant for.
    bool Skipped();
    QString ReadText();
    // A number clamped to +-Limit; not a number reads as 0.
    double ReadClamped(double Limit);
    double ReadCoord();
    QPointF ReadPoint();
    QRect ReadRect();
    // A graphic block's kind and the position of its picture's length field (for a reference, that of
    // the block it names); the stream continues after the block.
    struct TGraphicBlock {
        quint8 Kind = 0;
        qint64 Position = 0;
    };
    TGraphicBlock ReadGraphicBlock();
    TFoPictureCache &Pictures();
    QImage DecodeGraphic(const TGraphicBlock &Block, const char *Format);
    QImage DecodePicture(const TGraphicBlock &Block);
    QString ReadVarValue(bool &HasValue, int Depth);
    QString MacroText(int MacroID) const;

    // Rich text (FoSnapshotConverterText.cpp).
    void ApplyRichCommands(const QString &Commands);
    void FollowFontData(const TSaveFont &Before);
    double SegmentWidth(const QString &Text);
    void SetFontAttribute(const std::function<void()> &Change);

    // Record handlers: drawing, brushes and pens in FoSnapshotConverterDrawing.cpp, text and fonts in
    // FoSnapshotConverterText.cpp, variables in FoSnapshotConverter.cpp.
    void DoFourPoints(quint8 Code);
    void DoEllipse();
    void DoRectangle();
    void DoRoundRect();
    void DoMoveTo();
    void DoLineTo();
    void DoPolygon(bool Closed);
    void DoRectRecord(quint8 Code);
    void DoFloodFill();
    void DoBrushCopy();
    void DoCopyRect();
    void DoDraw();
    void DoStretchDraw();
    void DoPrintBitmap();
    void DoPrintBitmapRect();
    void DoPrintImageRect();
    void DoTextRect();
    void DoText(quint8 Code);
    void DoPrintSpaces();
    void DoPrintData();
    void DoPrintDataStream();
    void DoVariableData();
    void DoResetLineHeight();
    void SetBrush();
    void SetBrushColor();
    void SetBrushStyle();
    void SetBrushBitmap();
    void SetFont();
    void SetFontHeight();
    void SetPen();
    void SetPenColor();
    void SetPenMode();
    void SetPenStyle();
    void SetPenWidth();

    QIODevice &FStream;
    TFoRender &FRenderer;
    TFoSnapshotReader FReader;
    std::unique_ptr<TFoCanvas> FFontBitmap;     // measures rich text at 1248 pixels per inch
    std::unique_ptr<TFoPictureCache> FPictures; // this playback's, unless the renderer shares one
    QHash<QString, QString> FVarList;
    QDateTime FReportDateTime;
    int FPageNo = 1;
    qint64 FCurrPagePos = 0;
    qint64 FPrevPagePos = 0;
    qint64 FNextPagePos = 0;
    qint64 FPlayedPagePos = 0; // page header of the page played last
    bool FPenNotified = false;
    bool FBrushNotified = false;
    bool FFontNotified = false;
    bool FMeasuring = false; // rich text is being measured, not output
};

} // namespace fiscora
