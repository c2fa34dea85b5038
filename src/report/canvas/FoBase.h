#pragma once

#include "report/core/FoDraw.h"
#include "report/core/FoGraphic.h"
#include "report/core/FoRichText.h"
#include "report/core/FoTypes.h"
#include "report/devices/FoDevice.h"

#include <QDateTime>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

class QIODevice;

namespace fiscora {

class TBaseReport;
class TFoLineBuffer;
class TFoFontCache;

using TTabList = std::vector<TTab>;

// A memo buffer breaks a text into lines for the canvas; the template engine implements it.
class TBaseMemoBuf {
public:
    virtual ~TBaseMemoBuf() = default;
    // Next line of the memo; Eol tells whether it ended with a hard line break.
    virtual QString GetNextLine(bool &Eol) = 0;
    virtual int MemoLinesLeft() = 0;
    // Prints up to Lines lines at the canvas cursor; returns the height printed in user units.
    virtual double PrintLines(int Lines, bool PrintTabs) = 0;

    TBaseReport *BaseReport = nullptr; // set by the canvas before it delegates
    bool FHardLines = false;
    TPrintJustify FJustify = TPrintJustify::pjLeft;
    bool FKeepSpaces = false;
    int FPrintStart = 0;
    int FPrintEnd = 0;
    bool FRTFMode = false;
};

// Event signatures; every event receives the canvas as sender.
using TReportNotify = std::function<void(TBaseReport &)>;
using TPrintPageEvent = std::function<bool(TBaseReport &, int &PageNum)>;
using TNewColumnEvent = std::function<void(TBaseReport &, int NewColumn)>;
using TDecodeImageEvent =
    std::function<void(TBaseReport &, QIODevice &ImageStream, const QString &ImageType, QImage &Bitmap)>;

// The drawing events a report job raises; the report system holds the same set and hands it to the
// canvas it runs.
struct TReportEvents {
    TReportNotify OnPrint;
    TPrintPageEvent OnPrintPage;
    TReportNotify OnBeforePrint;
    TReportNotify OnAfterPrint;
    TReportNotify OnNewPage;
    TNewColumnEvent OnNewColumn;
    TReportNotify OnPrintHeader;
    TReportNotify OnPrintFooter;
    TReportNotify OnEndOfSection;
    TDecodeImageEvent OnDecodeImage;
};

// The page canvas. Keeps the page model (units, margins, sections, cursor, lines, columns, fonts,
// pen and brush, tabs, page numbering and selection) and turns drawing requests into primitives in
// inches, which a descendant records or draws. Positions are user units unless a name or comment
// says inches; inches are measured from the top-left corner of the physical page.
//
// A descendant implements:
//  - Start(): CheckNotPrinting(); open its output; PrepareDevice(); SetPrinting(true);
//    HookDeviceCanvas(); ResetForJob(); StartFirstPage() (returns whether page 1 is valid) and its
//    page-start output; unless Aborted(): RunBeginPageEvents(), then OnNewPage and OnPrintHeader.
//  - NewPage() override: OnPrintFooter, RunEndPageEvents() (draws the buffered lines), its page end,
//    TBaseReport::NewPage(), its page start, RunBeginPageEvents(), OnNewPage, OnNewColumn when
//    Columns() > 1 (with 1), OnPrintHeader.
//  - Finish(): unless Aborted() OnPrintFooter and RunEndPageEvents(); its last page end; then
//    UnhookDeviceCanvas(); ReleaseFontCache(); ClearLineBuffers(); ReleaseDevice(); close its output;
//    SetPrinting(false); OnAfterPrint.
//  - the Emit* primitives (inches, before origin and scale: use PageX/PageY for the page position).
//    The canvas calls them only while printing with valid output, with the font already realised.
//  - FontChanged() on every change of the font description (check Printing() and OutputValid());
//    PenChanged() and BrushChanged() on changes of the device canvas's pen and brush while printing.
//    Do not hook the device canvas's objects directly: HookDeviceCanvas() forwards their changes.
// JobPages counts the valid pages: StartFirstPage() and NewPage() add one, AbortPage() takes it back.
class TBaseReport : public TReportEvents {
public:
    TBaseReport();
    TBaseReport(const TBaseReport &) = delete;
    TBaseReport &operator=(const TBaseReport &) = delete;
    virtual ~TBaseReport();

    // ---- Devices --------------------------------------------------------------------------
    // The printer device for settings and (when usable) layout. Until set, the process's printer
    // device is used; set nullptr for a canvas without any printer.
    TFoBaseDevice *PrinterDevice();
    void SetPrinterDevice(TFoBaseDevice *device);
    // The device used for layout while printing (the printer or a printer-less device).
    TFoBaseDevice *Device() const { return FDevice; }
    // The device canvas; raises "Error!  Canvas not yet active." when no device is active.
    virtual TFoCanvas &Canvas();
    bool NoPrinters();

    // ---- Job control ----------------------------------------------------------------------
    void Execute();
    virtual void Start() = 0;
    virtual void Finish() = 0;
    // The canvas part of a page change; descendants wrap it with their page end and start.
    virtual void NewPage();
    virtual void NewPara() {}
    virtual void AbortPage();
    void Abort();
    void Reset();
    void ResetPrinter();
    void UpdateStatus();
    // 0 printer, 1 preview, 2 snapshot writer.
    virtual int OutputKind() const { return okPrinter; }

    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }
    bool PageInvalid() const { return FPageInvalid; }
    // False while nothing may be output: page invalid or the output kind not allowed.
    bool OutputValid() const;

    // ---- Units and conversions --------------------------------------------------------------
    TPrintUnits Units() const { return FUnits; }
    void SetUnits(TPrintUnits value);
    double UnitsFactor() const { return FUnitsFactor; }
    void SetUnitsFactor(double value);
    double XU2I(double value) const { return value / FUnitsFactor; }
    double YU2I(double value) const { return value / FUnitsFactor; }
    double XI2U(double value) const { return value * FUnitsFactor; }
    double YI2U(double value) const { return value * FUnitsFactor; }
    int XI2D(double inches) const;
    int YI2D(double inches) const;
    double XD2I(int pixels) const;
    double YD2I(int pixels) const;
    int XU2D(double value) const { return XI2D(XU2I(value)); }
    int YU2D(double value) const { return YI2D(YU2I(value)); }
    double XD2U(int pixels) const { return XI2U(XD2I(pixels)); }
    double YD2U(int pixels) const { return YI2U(YD2I(pixels)); }
    double ScaleX() const { return FScaleX; }
    virtual void SetScaleX(double percent);
    double ScaleY() const { return FScaleY; }
    virtual void SetScaleY(double percent);
    double Zoom() const { return FZoom; }
    void SetZoom(double percent);
    double OriginX() const { return XI2U(FOriginX); }
    void SetOriginX(double value) { FOriginX = XU2I(value); }
    double OriginY() const { return YI2U(FOriginY); }
    void SetOriginY(double value) { FOriginY = YU2I(value); }
    int AddX() const { return FAddX; }
    void SetAddX(int value) { FAddX = value; }
    int AddY() const { return FAddY; }
    void SetAddY(int value) { FAddY = value; }
    // Unprintable margins in inches.
    double LeftWaste() const { return FLeftWaste; }
    double RightWaste() const { return FRightWaste; }
    double TopWaste() const { return FTopWaste; }
    double BottomWaste() const { return FBottomWaste; }
    int XDPI() const { return FXDPI; }
    int YDPI() const { return FYDPI; }
    // Page position of an inch coordinate after origin and scale, as snapshot records store it.
    double PageX(double inches) const { return (inches + FOriginX) * FScaleX / 100.0; }
    double PageY(double inches) const { return (inches + FOriginY) * FScaleY / 100.0; }

    // ---- Page, margins, sections --------------------------------------------------------------
    double PageWidth();
    double PageHeight();
    double NoPrinterPageWidth() const { return XI2U(FNoPrinterPageWidth); }
    void SetNoPrinterPageWidth(double value) { FNoPrinterPageWidth = XU2I(value); }
    double NoPrinterPageHeight() const { return YI2U(FNoPrinterPageHeight); }
    void SetNoPrinterPageHeight(double value) { FNoPrinterPageHeight = YU2I(value); }
    TOrientation Orientation() const { return FOrientation; }
    virtual void SetOrientation(TOrientation value);
    double MarginLeft() const { return FLeftMarginWidth; }
    void SetMarginLeft(double value);
    double MarginRight() const { return FRightMarginWidth; }
    void SetMarginRight(double value);
    double MarginTop() const { return FTopMarginWidth; }
    void SetMarginTop(double value);
    double MarginBottom() const { return FBottomMarginWidth; }
    void SetMarginBottom(double value);
    double SectionLeft() const { return XI2U(FSectionLeft); }
    void SetSectionLeft(double value);
    double SectionRight() const { return XI2U(FSectionRight); }
    void SetSectionRight(double value);
    double SectionTop() const { return YI2U(FSectionTop); }
    void SetSectionTop(double value);
    double SectionBottom() const { return YI2U(FSectionBottom); }
    void SetSectionBottom(double value);
    void ResetSection();

    // ---- Cursor, lines, columns -------------------------------------------------------------
    double XPos() const { return XI2U(FCursorXPos); }
    void SetXPos(double value) { FCursorXPos = XU2I(value); }
    double YPos() const { return YI2U(FCursorYPos); }
    void SetYPos(double value) { FCursorYPos = YU2I(value); }
    int CursorXPos() const { return XI2D(FCursorXPos); }
    int CursorYPos() const { return YI2D(FCursorYPos); }
    TLineHeightMethod LineHeightMethod() const { return FLineHeightMethod; }
    void SetLineHeightMethod(TLineHeightMethod value) { FLineHeightMethod = value; }
    double LinesPerInch() const { return FLinesPerInch; }
    void SetLinesPerInch(double value);
    double LineHeight();
    void SetLineHeight(double value);
    double AscentHeight();  // inches
    double DescentHeight(); // inches
    double FontTop();
    void SetFontTop(double value);
    double FontBaseline() { return YPos(); }
    void SetFontBaseline(double value);
    double FontBottom();
    void SetFontBottom(double value);
    double LineTop();
    void SetLineTop(double value);
    double LineMiddle();
    void SetLineMiddle(double value);
    double LineBottom() { return FontBottom(); }
    void SetLineBottom(double value) { SetFontBottom(value); }
    int LineNum() const { return FLineNum; }
    void SetLineNum(int value);
    int ColumnNum() const { return FColumnNum; }
    void SetColumnNum(int value);
    int Columns() const { return FColumns; }
    double ColumnWidth() const;
    double ColumnBetween() const { return XI2U(FColumnBetween); }
    double LineStartPos() const;
    double ColumnStart() const { return LineStartPos(); }
    double ColumnEnd() const;
    void GotoXY(double NewXPos, double NewYPos);
    void Home();
    void Cr();
    void Lf();
    void NewLine();
    void CrLf() { NewLine(); }
    void SoftLine();
    void NewColumn();
    void GotoHeader();
    void GotoFooter();
    void SetTopOfPage();
    int LinesLeft();
    int ColumnLinesLeft();
    virtual void ResetLineHeight();
    void AdjustLine();
    void SetColumns(int NewColumns, double Between);
    void SetColumnWidth(double Width, double Between);
    void ClearColumns();

    // ---- Text -------------------------------------------------------------------------------
    void Print(const QString &Text);
    void Println(const QString &Text);
    void PrintLeft(const QString &Text, double Pos);
    void PrintCenter(const QString &Text, double Pos);
    void PrintRight(const QString &Text, double Pos);
    void PrintXY(double X, double Y, const QString &Text);
    void PrintBlock(const QString &Text, double Pos, double Width);
    // xPos, Margin and Width in inches.
    void PrintJustify(const QString &Text, double xPos, TPrintJustify Justify, double Margin, double Width);
    void PrintHeader(const QString &Text, TPrintJustify Justify);
    void PrintFooter(const QString &Text, TPrintJustify Justify);
    void PrintCharJustify(const QString &Text, QChar Ch, double xPos);
    void PrintTab(const QString &Text);
    // The plain pieces of a rich text, each with the current font as the command blocks before it
    // change it.
    std::vector<TRichPiece> RichTextPieces(const QString &Text) const;
    QString TruncateText(const QString &Value, double Width);
    double TextWidth(const QString &Text);
    QSize GetTextExtent(const QString &Text);
    int MemoLines(TBaseMemoBuf &MemoBuf);
    QString GetMemoLine(TBaseMemoBuf &MemoBuf, bool &Eol);
    double PrintMemo(TBaseMemoBuf &MemoBuf, int Lines, bool PrintTabs);
    QString Macro(TMacroID MacroID);
    QString Macro(int MacroID);
    virtual QString PIVar(const QString &VarName);
    virtual void SetPIVar(const QString &VarName, const QString &VarValue);
    QString GetPIVar(const QString &VarName) const { return VarName; }
    void StartLink(const QString &AHyperlink);
    void EndLink() { StartLink(QString()); }
    static QString MakeLink(const QString &ADisplayText, const QString &AHyperlink);
    const QString &HyperLink() const { return FHyperLink; }

    // ---- Fonts --------------------------------------------------------------------------------
    const QString &FontName() const { return FBaseFont.Name; }
    void SetFontName(const QString &value);
    double FontSize() const { return FBaseFont.Size; }
    void SetFontSize(double points);
    double FontHeight() const { return YI2U(FBaseFont.Height); }
    void SetFontHeight(double value);
    double FontWidth() const { return XI2U(FBaseFont.Width); }
    void SetFontWidth(double value);
    TColor FontColor() const { return FBaseFont.Color; }
    void SetFontColor(TColor value);
    TFontPitch FontPitch() const { return FBaseFont.Pitch; }
    void SetFontPitch(TFontPitch value);
    std::uint8_t FontCharset() const { return FBaseFont.CharSet; }
    void SetFontCharset(std::uint8_t value);
    bool Bold() const { return FBaseFont.Bold; }
    void SetBold(bool value);
    bool Underline() const { return FBaseFont.Underline; }
    void SetUnderline(bool value);
    bool Italic() const { return FBaseFont.Italic; }
    void SetItalic(bool value);
    bool Strikeout() const { return FBaseFont.Strikeout; }
    void SetStrikeout(bool value);
    bool Superscript() const { return FBaseFont.Superscript; }
    void SetSuperscript(bool value);
    bool Subscript() const { return FBaseFont.Subscript; }
    void SetSubscript(bool value);
    int FontRotation() const { return FBaseFont.Rotation; }
    void SetFontRotation(int degrees);
    TFontAlign FontAlign() const { return FBaseFont.Align; }
    void SetFontAlign(TFontAlign value);
    // The realised platform font (realises a changed font first); nullptr without a device.
    const QFont *FontHandle();
    const TSaveFont &GetBaseFont() const { return FBaseFont; }
    void SetBaseFont(const TSaveFont &value);
    void SetFont(const QString &NewName, double NewSize);
    void AssignFont(const TFoFont &Font);
    std::unique_ptr<TFoFont> CreateFont(const QString &NewName, int NewSize) const;
    bool PushFont();
    bool PopFont();
    bool SaveFont(int Index);
    bool RestoreFont(int Index);
    // Realises a changed base font on the device canvas (cache lookup or new font).
    void SelectFont();

    // ---- Pen, brush, background ---------------------------------------------------------------
    // NewWidth >= 0: pixels; -1..-10000: hundredths of an inch; below -10000: ten-thousandths.
    void SetPen(TColor NewColor, TPenStyle NewStyle, int NewWidth, TPenMode NewMode);
    std::unique_ptr<TFoPen> CreatePen(TColor NewColor, TPenStyle NewStyle, int NewWidth,
                                      TPenMode NewMode) const;
    void SetBrush(TColor NewColor, TBrushStyle NewStyle, const QImage *NewBitmap = nullptr);
    std::unique_ptr<TFoBrush> CreateBrush(TColor NewColor, TBrushStyle NewStyle,
                                          const QImage *NewBitmap = nullptr) const;
    // Pen width in pixels for a SetPen width argument.
    int PenWidthPixels(int NewWidth) const;
    TBKMode TextBKMode() const { return FTextBKMode; }
    virtual void SetTextBKMode(TBKMode value);
    TColor BKColor() const { return FBKColor; }
    virtual void SetBKColor(TColor value);
    TFrameMode FrameMode() const { return FFrameMode; }
    virtual void SetFrameMode(TFrameMode value);
    bool TransparentBitmaps() const { return FTransparentBitmaps; }
    void SetTransparentBitmaps(bool value) { FTransparentBitmaps = value; }
    bool NoNTColorFix() const { return FNoNTColorFix; }
    void SetNoNTColorFix(bool value) { FNoNTColorFix = value; }

    // ---- Tabs ---------------------------------------------------------------------------------
    void SetTab(double NewPos, TPrintJustify NewJustify, double NewWidth, double NewMargin, int NewLines,
                int NewShade);
    void ClearTabs();
    void ClearAllTabs();
    void ResetTabs();
    void Tab(int LeftWidth = -32768, int RightWidth = -32768, int TopWidth = -32768, int BottomWidth = -32768,
             int ShadeOverride = -32768);
    const TTab *GetTab(int Index) const;
    double TabStart(int Index) const;
    double TabEnd(int Index) const;
    double TabWidth(int Index) const;
    void FinishTabBox(int Width);
    void PushTabs();
    bool PopTabs();
    bool SaveTabs(int Index);
    bool RestoreTabs(int Index);
    TTabJustify TabJustify() const { return FTabJustify; }
    void SetTabJustify(TTabJustify value) { FTabJustify = value; }
    int TabShade() const { return FTabShade; }
    void SetTabShade(int value);
    TColor TabColor() const { return FTabColor; }
    void SetTabColor(TColor value) { FTabColor = value; }
    TColor BoxLineColor() const { return FBoxLineColor; }
    void SetBoxLineColor(TColor value) { FBoxLineColor = value; }
    double FixedTabWidth() const { return XI2U(FFixedTabWidth); }
    void SetFixedTabWidth(double value) { FFixedTabWidth = XU2I(value); }

    // ---- Positions ----------------------------------------------------------------------------
    void PushPos();
    bool PopPos();
    bool SavePos(int Index);
    bool RestorePos(int Index);

    // ---- Shapes and pictures (user units; device points and rectangles where said) ------------
    void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
    void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
    void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4);
    void Ellipse(double X1, double Y1, double X2, double Y2);
    void Rectangle(double X1, double Y1, double X2, double Y2);
    void TabRectangle(double X1, double Y1, double X2, double Y2);
    void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3);
    void MoveTo(double X, double Y);
    void LineTo(double X, double Y);
    void Polygon(std::span<const QPoint> Points);
    void Polyline(std::span<const QPoint> Points);
    void FillRect(const QRect &Rect);
    void FrameRect(const QRect &Rect);
    void DrawFocusRect(const QRect &Rect);
    void FloodFill(double X, double Y, TColor Color, TFillStyle FillStyle);
    void BrushCopy(const QRect &Dest, const QImage &Bitmap, const QRect &Source, TColor Color);
    void CopyRect(const QRect &Dest, TFoCanvas &Canvas, const QRect &Source);
    void Draw(double X, double Y, const TFoGraphic &Graphic);
    void StretchDraw(const QRect &Rect, const TFoGraphic &Graphic);
    void PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap);
    void PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap);
    // Copies the image bytes from the stream's position to its end.
    void PrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                        const QString &ImageType);
    void TextRect(const QRect &Rect, double X, double Y, const QString &Text);
    void PrintData(const QString &Value);
    // BufSize 0: the bytes remaining in the stream.
    void PrintDataStream(QIODevice &Stream, qint64 BufSize);
    virtual void RegisterGraphic(int Index);
    virtual void ReuseGraphic(int Index);
    virtual void UnregisterGraphic(int Index);
    virtual void AllowPreviewOnly();
    virtual void AllowPrinterOnly();
    virtual void AllowAll();
    int ValidDestination() const { return FValidDestination; }
    void SetValidDestination(int value) { FValidDestination = value; }
    QPoint CreatePoint(double X, double Y) const;
    QRect CreateRect(double X1, double Y1, double X2, double Y2) const;
    static double CalcGraphicWidth(double Height, const TFoGraphic &Graphic);
    static double CalcGraphicHeight(double Width, const TFoGraphic &Graphic);

    // ---- Printer settings (delegated to the printer device) -------------------------------------
    int Copies() const { return FCopies; }
    void SetCopies(int value);
    bool Collate();
    void SetCollate(bool value);
    TDuplex Duplex();
    void SetDuplex(TDuplex value);
    int PrinterIndex();
    void SetPrinterIndex(int value);
    bool SelectPrinter(const QString &PrinterName);
    virtual bool SelectBin(const QString &BinName);
    bool SelectPaper(const QString &PaperName);
    bool SetPaperSize(int Size, int Width, int Height);
    const QString &OutputName() const { return FOutputName; }
    void SetOutputName(const QString &value);
    bool SupportBin();
    bool SupportPaper();
    bool SupportOrientation();
    bool SupportDuplex();
    bool SupportCollate();
    QStringList Bins();
    QStringList Papers();
    QStringList Fonts();
    QStringList Printers();
    int MaxCopies();
    const TFoDevMode *DevMode();
    QString DeviceName();
    QString DriverName();
    QString Port();
    bool ShowPrintDialog();
    bool ShowPrinterSetupDialog();
    // Lays out without the printer until RecoverPrinter gives it back.
    void ReleasePrinter();
    void RecoverPrinter();

    // ---- Page numbering, job settings ---------------------------------------------------------
    int CurrentPage() const { return FCurrentPage; }
    int RelativePage() const { return FCurrentPage + FPageNumOffset; }
    int PageNumOffset() const { return FPageNumOffset; }
    void SetPageNumOffset(int value) { FPageNumOffset = value; }
    int FirstPage() const { return FFirstPage; }
    void SetFirstPage(int value) { FFirstPage = value; }
    int LastPage() const { return FLastPage; }
    void SetLastPage(int value) { FLastPage = value; }
    const QString &Selection() const { return FSelection; }
    void SetSelection(const QString &value) { FSelection = value; }
    // Whether page PageNum is selected by FirstPage/LastPage or Selection (EConvertError on bad tokens).
    bool PageSelected(int PageNum) const;
    int JobPages() const { return FJobPages; }
    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &value) { FTitle = value; }
    const QString &StatusFormat() const { return FStatusFormat; }
    void SetStatusFormat(const QString &value) { FStatusFormat = value; }
    QStringList &StatusText() { return FStatusText; }
    // Receives the formatted status text; empty = no status label.
    std::function<void(const QString &)> StatusLabel;
    QString FormatStatus();
    QStringList &MacroData() { return FMacroData; }
    int CurrentPass() const { return FCurrentPass; }
    void SetCurrentPass(int value) { FCurrentPass = value; }
    int TotalPasses() const { return FTotalPasses; }
    void SetTotalPasses(int value) { FTotalPasses = value; }
    const QDateTime &ReportDateTime() const { return FReportDateTime; }
    void SetReportDateTime(const QDateTime &value) { FReportDateTime = value; }
    bool Threaded() const { return FThreaded; }
    void SetThreaded(bool value) { FThreaded = value; }
    bool NoBufferLine() const { return FNoBufferLine; }
    void SetNoBufferLine(bool value) { FNoBufferLine = value; }
    bool IgnoreRichText() const { return FIgnoreRichText; }
    void SetIgnoreRichText(bool value) { FIgnoreRichText = value; }

    // ---- Events: the handlers are TReportEvents; these are the page callbacks ------------------
    // Begin-page and end-page callbacks run in registration order; the result identifies the entry.
    int AddReportEvent(TReportEventType ReportEventType, TReportNotify ReportEvent);
    void RemoveReportEvent(TReportEventType ReportEventType, int Id);

protected:
    // ---- Primitives a descendant supplies (inches; Y of text is the cursor baseline) -----------
    virtual void EmitCenterText(const QString &Text, double X) = 0;
    virtual void EmitLeftText(const QString &Text, double X) = 0;
    virtual void EmitRightText(const QString &Text, double X) = 0;
    virtual void EmitBlockText(const QString &Text, double X, double Width) = 0;
    virtual void EmitArc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                         double Y4) = 0;
    virtual void EmitChord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                           double Y4) = 0;
    virtual void EmitPie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                         double Y4) = 0;
    virtual void EmitEllipse(double X1, double Y1, double X2, double Y2) = 0;
    virtual void EmitRectangle(double X1, double Y1, double X2, double Y2) = 0;
    virtual void EmitTabRectangle(double X1, double Y1, double X2, double Y2) = 0;
    // Corner width and height X3, Y3 in inches, not offset or scaled.
    virtual void EmitRoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) = 0;
    virtual void EmitMoveTo(double X, double Y) = 0;
    virtual void EmitLineTo(double X, double Y) = 0;
    virtual void EmitPolygon(std::span<const QPointF> Points) = 0;
    virtual void EmitPolyline(std::span<const QPointF> Points) = 0;
    // Rectangles of inch coordinates (device rectangles converted back).
    virtual void EmitFillRect(const QRectF &Rect) = 0;
    virtual void EmitFrameRect(const QRectF &Rect) = 0;
    virtual void EmitDrawFocusRect(const QRectF &Rect) = 0;
    virtual void EmitFloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) = 0;
    virtual void EmitBrushCopy(const QRectF &Dest, const QImage &Bitmap, const QRectF &Source,
                               TColor Color) = 0;
    virtual void EmitCopyRect(const QRectF &Dest, TFoCanvas &Canvas, const QRectF &Source) = 0;
    virtual void EmitDraw(double X, double Y, const TFoGraphic &Graphic) = 0;
    virtual void EmitStretchDraw(const QRectF &Rect, const TFoGraphic &Graphic) = 0;
    virtual void EmitPrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) = 0;
    virtual void EmitPrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) = 0;
    virtual void EmitPrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                                    const QString &ImageType) = 0;
    virtual void EmitTextRect(const QRectF &Rect, double X, double Y, const QString &Text) = 0;
    virtual void EmitPrintData(const QString &Value) = 0;
    virtual void EmitPrintDataStream(QIODevice &Stream, qint64 BufSize) = 0;
    // State notifications.
    virtual void FontChanged() {}
    virtual void PenChanged() {}
    virtual void BrushChanged() {}
    virtual void HyperlinkChanged() {}

    // ---- Helpers for descendants -------------------------------------------------------------
    void CheckPrinting() const;    // raises "... not printing." unless printing
    void CheckNotPrinting() const; // raises "... already printing." while printing
    // True when an output operation may go on: raises when not printing, false when aborted or invalid.
    bool BeginOutput();
    // Ends an output operation: lets pending window messages run unless Threaded.
    void EndOutput();
    void SetPrinting(bool value) { FPrinting = value; }
    void SetPageInvalid(bool value) { FPageInvalid = value; }
    // Chooses the layout device: the given one, else the printer when usable, else an owned
    // printer-less device; takes resolution and wastes from it.
    void PrepareDevice(TFoBaseDevice *Given = nullptr);
    void ReleaseDevice();
    bool OwnsDevice() const { return FOwnedDevice != nullptr; }
    // Forwards device-canvas font, pen and brush changes into the canvas while printing.
    void HookDeviceCanvas();
    void UnhookDeviceCanvas();
    // Resets the canvas for a new job with the tab list preserved.
    void ResetForJob();
    // Page 1 begins: current page 1, validity by selection; counts the page when valid.
    bool StartFirstPage();
    void RunBeginPageEvents();
    // Runs the end-page callbacks, then draws the buffered lines of the page.
    void RunEndPageEvents();
    void ReleaseFontCache();
    void ClearLineBuffers();
    void ReadDeviceMetrics();
    void IncJobPages() { ++FJobPages; }
    void SetJobPages(int value) { FJobPages = value; }
    void SetAborted(bool value) { FAborted = value; }
    void SetCurrentPage(int value) { FCurrentPage = value; }
    // Whether a font change is waiting to be realised.
    bool FontPending() const { return FFontChanged; }

    // Internal state that descendants update (inches).
    double FCursorXPos = 0.0;
    double FCursorYPos = 0.0;
    int FXDPI = 300;
    int FYDPI = 300;

    // Width of a text in inches at the current font and horizontal scale.
    double TextWidthInches(const QString &Text);
    // The platform font realising a description at the device resolution and zoom.
    TFoFont PlatformFont(const TSaveFont &font) const;
    // Line drawing in inches, with line buffering.
    void MoveToInches(double X, double Y);
    void LineToInches(double X, double Y);

private:
    double SectionWidth() const { return FSectionRight - FSectionLeft; }
    double PageWidthInches();
    double PageHeightInches();
    double LineHeightInches();
    double LineStartInches() const;
    void RecomputeLineHeight();
    void ApplyOrientation();
    void ApplyMargins();
    void MarkFontChanged();
    void DrawBufferedLines();
    void TabBoxLine(int Width, bool Side, double X1, double Y1, double X2, double Y2);
    QString MacroText(int MacroID);
    void PrintPiece(const QString &Text);
    void CopyFromDeviceFont(TFoFont &Font);
    int DeviceTextWidth(const QString &Text);
    double RichTextWidthInches(const QString &Text);
    QRectF DeviceRectToInches(const QRect &Rect) const;

    // Devices.
    TFoBaseDevice *FPrinterDevice = nullptr;
    bool FPrinterDeviceSet = false;
    TFoBaseDevice *FReleasedPrinter = nullptr; // kept by ReleasePrinter for RecoverPrinter
    TFoBaseDevice *FDevice = nullptr;
    std::unique_ptr<TFoBaseDevice> FOwnedDevice;
    bool FHooked = false;
    std::function<void(TFoFont &)> FPrevFontHandler;
    std::function<void(TFoPen &)> FPrevPenHandler;
    std::function<void(TFoBrush &)> FPrevBrushHandler;
    bool FSelectingFont = false;

    // Job.
    bool FPrinting = false;
    bool FAborted = false;
    bool FPageInvalid = false;
    int FValidDestination = 31;

    // Units.
    TPrintUnits FUnits = TPrintUnits::unInch;
    double FUnitsFactor = 1.0;
    double FScaleX = 100.0;
    double FScaleY = 100.0;
    double FZoom = 100.0;
    double FOriginX = 0.0;
    double FOriginY = 0.0;
    int FAddX = 0;
    int FAddY = 0;
    double FLeftWaste = 0.0;
    double FRightWaste = 0.0;
    double FTopWaste = 0.0;
    double FBottomWaste = 0.0;

    // Page.
    double FNoPrinterPageWidth = 8.5;
    double FNoPrinterPageHeight = 11.0;
    TOrientation FOrientation = TOrientation::poPortrait;
    TOrientation FNewOrientation = TOrientation::poPortrait;
    bool FOrientationPending = false;
    double FLeftMarginWidth = 0.0; // user units as given
    double FRightMarginWidth = 0.0;
    double FTopMarginWidth = 0.0;
    double FBottomMarginWidth = 0.0;
    double FLeftMargin = 0.0; // inches from the left/top edge
    double FRightMargin = 8.5;
    double FTopMargin = 0.0;
    double FBottomMargin = 11.0;
    double FSectionLeft = 0.0;
    double FSectionRight = 8.5;
    double FSectionTop = 0.0;
    double FSectionBottom = 11.0;

    // Lines and columns.
    TLineHeightMethod FLineHeightMethod = TLineHeightMethod::lhmFont;
    double FLinesPerInch = 6.0;
    double FLineHeight = 10.0 / 60.0; // inches
    int FLineNum = 1;
    int FColumnNum = 1;
    int FColumns = 1;
    double FColumnWidth = 8.5; // inches, gap included
    double FColumnBetween = 0.0;

    // Fonts.
    TSaveFont FBaseFont;
    bool FFontChanged = true;
    std::vector<TSaveFont> FFontStack;
    std::array<std::optional<TSaveFont>, 10> FFontSlots;
    std::unique_ptr<TFoFontCache> FFontCache;
    int FBlockTextDepth = 0;

    // Pen, brush, background.
    TBKMode FTextBKMode = TBKMode::bkTransparent;
    TColor FBKColor = clWhite;
    TFrameMode FFrameMode = TFrameMode::fmInside;
    bool FTransparentBitmaps = false;
    bool FNoNTColorFix = false;

    // Tabs.
    std::unique_ptr<TTabList> FTabList;
    int FCurrentTab = -1; // index into FTabList, -1 = none
    bool FAtTab = false;
    bool FNoTabVisited = false;
    std::vector<std::unique_ptr<TTabList>> FTabStack;
    std::array<std::unique_ptr<TTabList>, 10> FTabSlots;
    TTabJustify FTabJustify = TTabJustify::tjNone;
    int FTabShade = 0;
    TColor FTabColor = clBlack;
    TColor FBoxLineColor = clBlack;
    double FFixedTabWidth = 0.5;

    // Positions.
    std::vector<QPointF> FPosStack;
    std::array<std::optional<QPointF>, 10> FPosSlots;

    // Lines: the point of the last MoveTo (inches) and the page's buffered lines.
    double FPenX = 0.0;
    double FPenY = 0.0;
    std::unique_ptr<TFoLineBuffer> FLineBuffer;

    // Page numbering and settings.
    int FCurrentPage = 0;
    int FPageNumOffset = 0;
    int FFirstPage = 1;
    int FLastPage = LastPageOfAll;
    QString FSelection;
    int FJobPages = 0;
    int FCopies = 1;
    QString FOutputName;
    QString FTitle = QStringLiteral("Folio Report");
    QString FStatusFormat = QStringLiteral("Printing page %p");
    QStringList FStatusText;
    QStringList FMacroData;
    int FCurrentPass = 1;
    int FTotalPasses = 1;
    QDateTime FReportDateTime;
    bool FThreaded = false;
    bool FNoBufferLine = false;
    bool FIgnoreRichText = false;
    QString FHyperLink;
    qint64 FLastEventPump = 0;

    struct TReportEventEntry {
        TReportEventType Type;
        int Id;
        TReportNotify Event;
    };
    std::vector<TReportEventEntry> FReportEvents;
    int FNextReportEventId = 1;
};

} // namespace fiscora
