// Page canvas: devices, job control, units, page geometry, cursor, lines and columns.
#include "report/canvas/FoBase.h"

#include "ScopeExit.h"
#include "report/canvas/FoFontCache.h"
#include "report/canvas/FoLineBuffer.h"
#include "report/core/FoErrors.h"
#include "report/devices/FoPrinterDevice.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

namespace fiscora {

namespace {
// Guards against a quotient such as 2.9999999 lines truncating to 2.
constexpr double kTruncEpsilon = 1e-7;

int TruncLines(double value) {
    return int(std::floor(value + kTruncEpsilon));
}

// Pending window messages are let through at most this often, so that a status window stays
// responsive without slowing down generation.
constexpr qint64 kEventPumpIntervalMs = 40;

QElapsedTimer &PumpClock() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock;
}
} // namespace

TBaseReport::TBaseReport()
    : FFontCache(std::make_unique<TFoFontCache>()), FLineBuffer(std::make_unique<TFoLineBuffer>()) {
    FFontSlots.fill(TSaveFont{});
    FReportDateTime = QDateTime::currentDateTime();
}

TBaseReport::~TBaseReport() {
    if (FHooked)
        UnhookDeviceCanvas();
}

// ---- Devices ------------------------------------------------------------------------------

TFoBaseDevice *TBaseReport::PrinterDevice() {
    if (!FPrinterDeviceSet) {
        FPrinterDevice = &TFoPrinterDevice::Instance();
        FPrinterDeviceSet = true;
    }
    return FPrinterDevice;
}

void TBaseReport::SetPrinterDevice(TFoBaseDevice *device) {
    CheckNotPrinting();
    FPrinterDevice = device;
    FPrinterDeviceSet = true;
}

TFoCanvas &TBaseReport::Canvas() {
    if (!FDevice)
        throw EFolioReport(kMsgCanvasNotActive);
    return FDevice->Canvas();
}

bool TBaseReport::NoPrinters() {
    TFoBaseDevice *printer = PrinterDevice();
    return !printer || printer->InvalidPrinter();
}

void TBaseReport::PrepareDevice(TFoBaseDevice *Given) {
    if (Given) {
        FDevice = Given;
    } else if (NoPrinters()) {
        FOwnedDevice = std::make_unique<TFoRenderDevice>();
        FDevice = FOwnedDevice.get();
    } else {
        FDevice = PrinterDevice();
    }
    FDevice->Canvas().SetDPI(FDevice->YDPI() > 0 ? FDevice->YDPI() : 100);
    ReadDeviceMetrics();
    FFontCache->Clear();
    FFontChanged = true;
}

void TBaseReport::ReleaseDevice() {
    if (FHooked)
        UnhookDeviceCanvas();
    FFontCache->Clear();
    FBaseFont.Handle = nullptr;
    FBaseFont.Index = -1;
    FFontChanged = true;
    FDevice = nullptr;
    FOwnedDevice.reset();
}

void TBaseReport::ReadDeviceMetrics() {
    TFoBaseDevice *device = FDevice;
    const bool printer = !NoPrinters();
    if (!device && printer)
        device = PrinterDevice();
    if (!device)
        return;
    FXDPI = device->XDPI() > 0 ? device->XDPI() : 100;
    FYDPI = device->YDPI() > 0 ? device->YDPI() : 100;
    if (printer && device == PrinterDevice()) {
        const TFoWasteMargins waste = device->WasteMargins();
        FLeftWaste = double(waste.Left) / FXDPI;
        FRightWaste = double(waste.Right) / FXDPI;
        FTopWaste = double(waste.Top) / FYDPI;
        FBottomWaste = double(waste.Bottom) / FYDPI;
    } else {
        FLeftWaste = FRightWaste = FTopWaste = FBottomWaste = 0.0;
    }
}

void TBaseReport::HookDeviceCanvas() {
    if (FHooked || !FDevice)
        return;
    TFoCanvas &canvas = FDevice->Canvas();
    FPrevFontHandler = canvas.Font().OnChange;
    FPrevPenHandler = canvas.Pen().OnChange;
    FPrevBrushHandler = canvas.Brush().OnChange;
    canvas.Font().OnChange = [this](TFoFont &font) {
        if (FPrevFontHandler)
            FPrevFontHandler(font);
        CopyFromDeviceFont(font);
    };
    canvas.Pen().OnChange = [this](TFoPen &pen) {
        if (FPrevPenHandler)
            FPrevPenHandler(pen);
        if (FPrinting)
            PenChanged();
    };
    canvas.Brush().OnChange = [this](TFoBrush &brush) {
        if (FPrevBrushHandler)
            FPrevBrushHandler(brush);
        if (FPrinting)
            BrushChanged();
    };
    FHooked = true;
}

void TBaseReport::UnhookDeviceCanvas() {
    if (!FHooked)
        return;
    if (FDevice) {
        TFoCanvas &canvas = FDevice->Canvas();
        canvas.Font().OnChange = std::move(FPrevFontHandler);
        canvas.Pen().OnChange = std::move(FPrevPenHandler);
        canvas.Brush().OnChange = std::move(FPrevBrushHandler);
    }
    FPrevFontHandler = nullptr;
    FPrevPenHandler = nullptr;
    FPrevBrushHandler = nullptr;
    FHooked = false;
}

// ---- Job control --------------------------------------------------------------------------

void TBaseReport::CheckPrinting() const {
    if (!FPrinting)
        throw EFolioReport(kMsgNotPrinting);
}

void TBaseReport::CheckNotPrinting() const {
    if (FPrinting)
        throw EFolioReport(kMsgAlreadyPrinting);
}

bool TBaseReport::OutputValid() const {
    const int kind = OutputKind();
    return !FPageInvalid && kind <= 7 && (FValidDestination & (1 << kind)) != 0;
}

bool TBaseReport::BeginOutput() {
    CheckPrinting();
    if (FAborted)
        throw EAbort();
    return OutputValid();
}

void TBaseReport::EndOutput() {
    if (FThreaded || !QCoreApplication::instance())
        return;
    const qint64 now = PumpClock().elapsed();
    if (now - FLastEventPump >= kEventPumpIntervalMs) {
        FLastEventPump = now;
        QCoreApplication::processEvents();
    }
}

void TBaseReport::Execute() {
    ApplyOrientation();
    Start();
    // After an error the first error is the one worth reporting, not one of Finish.
    ScopeExit finish([this] { Finish(); });
    if (OnPrint || !OnPrintPage) {
        if (OnPrint)
            OnPrint(*this);
    } else {
        int pageNum = 1;
        while (OnPrintPage(*this, pageNum) && !FAborted) {
            NewPage();
            ++pageNum;
        }
    }
}

void TBaseReport::NewPage() {
    // A range to the end stops at page 9999, as stored snapshots have it: the pages after it would be
    // lost without a word.
    if (FCurrentPage >= LastPageOfAll && FLastPage == LastPageOfAll && FSelection.isEmpty() && !FAborted)
        throw EFolioReport(QStringLiteral("The report has more than %1 pages. Choose a page range to "
                                          "output the pages after page %1.")
                               .arg(LastPageOfAll));
    ApplyOrientation();
    ++FCurrentPage;
    UpdateStatus();
    FPageInvalid = !(PageSelected(FCurrentPage) && !FAborted);
    if (!FPageInvalid)
        ++FJobPages;
    FOriginX = 0.0;
    FOriginY = 0.0;
    ResetTabs();
    ApplyMargins();
    ResetSection();
    Home();
}

bool TBaseReport::StartFirstPage() {
    FCurrentPage = 1;
    FPageInvalid = !(PageSelected(1) && !FAborted);
    if (!FPageInvalid)
        ++FJobPages;
    UpdateStatus();
    return !FPageInvalid;
}

void TBaseReport::AbortPage() {
    if (FPageInvalid)
        return;
    FPageInvalid = true;
    --FCurrentPage;
    // The page will not be output, so it no longer counts.
    --FJobPages;
}

void TBaseReport::Abort() {
    FAborted = true;
    FPageInvalid = true;
}

void TBaseReport::Reset() {
    ResetForJob();
    ClearTabs();
}

void TBaseReport::ResetForJob() {
    SetBrush(clBlack, TBrushStyle::bsClear, nullptr);
    SetPen(clBlack, TPenStyle::psSolid, 1, TPenMode::pmCopy);
    FOriginX = 0.0;
    FOriginY = 0.0;
    ResetSection();
    ClearColumns();
    ResetTabs();
    Home();
    FTabJustify = TTabJustify::tjNone;
}

void TBaseReport::ResetPrinter() {
    CheckNotPrinting();
    ReadDeviceMetrics();
    ApplyMargins();
    ResetSection();
}

int TBaseReport::AddReportEvent(TReportEventType ReportEventType, TReportNotify ReportEvent) {
    const int id = FNextReportEventId++;
    FReportEvents.push_back({ReportEventType, id, std::move(ReportEvent)});
    return id;
}

void TBaseReport::RemoveReportEvent(TReportEventType ReportEventType, int Id) {
    const auto found = std::find_if(FReportEvents.begin(), FReportEvents.end(), [&](const auto &entry) {
        return entry.Type == ReportEventType && entry.Id == Id;
    });
    if (found != FReportEvents.end())
        FReportEvents.erase(found);
}

void TBaseReport::RunBeginPageEvents() {
    // A callback may add or remove entries, so walk by index over a snapshot of the count.
    for (std::size_t i = 0; i < FReportEvents.size(); ++i)
        if (FReportEvents[i].Type == TReportEventType::reBeginPage && FReportEvents[i].Event)
            FReportEvents[i].Event(*this);
}

void TBaseReport::RunEndPageEvents() {
    for (std::size_t i = 0; i < FReportEvents.size(); ++i)
        if (FReportEvents[i].Type == TReportEventType::reEndPage && FReportEvents[i].Event)
            FReportEvents[i].Event(*this);
    DrawBufferedLines();
}

// ---- Units --------------------------------------------------------------------------------

void TBaseReport::SetUnits(TPrintUnits value) {
    FUnits = value;
    FUnitsFactor = UnitsFactorOf(value, FUnitsFactor);
}

void TBaseReport::SetUnitsFactor(double value) {
    if (!(value > 0.0)) // also refuses NaN
        return;
    FUnitsFactor = value;
    FUnits = UnitsOfFactor(value);
}

int TBaseReport::XI2D(double inches) const {
    return int(std::lround(((inches + FOriginX) * (FScaleX * FZoom / 10000.0) - FLeftWaste) * FXDPI)) + FAddX;
}

int TBaseReport::YI2D(double inches) const {
    return int(std::lround(((inches + FOriginY) * (FScaleY * FZoom / 10000.0) - FTopWaste) * FYDPI)) + FAddY;
}

double TBaseReport::XD2I(int pixels) const {
    return (double(pixels - FAddX) / FXDPI + FLeftWaste) * (10000.0 / (FScaleX * FZoom)) - FOriginX;
}

double TBaseReport::YD2I(int pixels) const {
    return (double(pixels - FAddY) / FYDPI + FTopWaste) * (10000.0 / (FScaleY * FZoom)) - FOriginY;
}

void TBaseReport::SetScaleX(double percent) {
    if (percent > 0.0)
        FScaleX = percent;
}

void TBaseReport::SetScaleY(double percent) {
    if (percent > 0.0)
        FScaleY = percent;
}

void TBaseReport::SetZoom(double percent) {
    if (percent > 0.0 && percent != FZoom) {
        FZoom = percent;
        // Realised fonts are sized for the zoom.
        FFontCache->Clear();
        MarkFontChanged();
    }
}

// ---- Page, margins, sections ----------------------------------------------------------------

double TBaseReport::PageWidthInches() {
    if (NoPrinters())
        return FNoPrinterPageWidth;
    TFoBaseDevice *printer = PrinterDevice();
    const int dpi = printer->XDPI() > 0 ? printer->XDPI() : 100;
    const TFoWasteMargins waste = printer->WasteMargins();
    return double(printer->PageWidth() + waste.Left + waste.Right) / dpi;
}

double TBaseReport::PageHeightInches() {
    if (NoPrinters())
        return FNoPrinterPageHeight;
    TFoBaseDevice *printer = PrinterDevice();
    const int dpi = printer->YDPI() > 0 ? printer->YDPI() : 100;
    const TFoWasteMargins waste = printer->WasteMargins();
    return double(printer->PageHeight() + waste.Top + waste.Bottom) / dpi;
}

double TBaseReport::PageWidth() {
    return XI2U(PageWidthInches());
}
double TBaseReport::PageHeight() {
    return YI2U(PageHeightInches());
}

void TBaseReport::SetOrientation(TOrientation value) {
    FNewOrientation = value;
    FOrientationPending = true;
    if (!FPrinting)
        ApplyOrientation();
}

void TBaseReport::ApplyOrientation() {
    if (!FOrientationPending)
        return;
    FOrientationPending = false;
    const TOrientation previous = FOrientation;
    if (NoPrinters()) {
        const bool wasLandscape = previous == TOrientation::poLandScape;
        const bool isLandscape = FNewOrientation == TOrientation::poLandScape;
        if (wasLandscape != isLandscape)
            std::swap(FNoPrinterPageWidth, FNoPrinterPageHeight);
        if (FDevice)
            FDevice->SetOrientation(FNewOrientation);
    } else if (FNewOrientation != TOrientation::poDefault) {
        PrinterDevice()->SetOrientation(FNewOrientation);
        ReadDeviceMetrics();
    }
    FOrientation = FNewOrientation;
    if (!FPrinting) {
        ApplyMargins();
        ResetSection();
    }
}

void TBaseReport::ApplyMargins() {
    FLeftMargin = XU2I(FLeftMarginWidth);
    FTopMargin = YU2I(FTopMarginWidth);
    FRightMargin = PageWidthInches() - XU2I(FRightMarginWidth);
    FBottomMargin = PageHeightInches() - YU2I(FBottomMarginWidth);
}

void TBaseReport::SetMarginLeft(double value) {
    FLeftMarginWidth = value;
    FLeftMargin = XU2I(value);
    SetSectionLeft(XI2U(FLeftMargin));
}

void TBaseReport::SetMarginRight(double value) {
    FRightMarginWidth = value;
    FRightMargin = PageWidthInches() - XU2I(value);
    SetSectionRight(XI2U(FRightMargin));
}

void TBaseReport::SetMarginTop(double value) {
    FTopMarginWidth = value;
    FTopMargin = YU2I(value);
    SetSectionTop(YI2U(FTopMargin));
}

void TBaseReport::SetMarginBottom(double value) {
    FBottomMarginWidth = value;
    FBottomMargin = PageHeightInches() - YU2I(value);
    SetSectionBottom(YI2U(FBottomMargin));
}

void TBaseReport::SetSectionLeft(double value) {
    FSectionLeft = XU2I(value);
    FCursorXPos = std::max(FCursorXPos, FSectionLeft);
}

void TBaseReport::SetSectionRight(double value) {
    FSectionRight = XU2I(value);
    FCursorXPos = std::min(FCursorXPos, FSectionRight);
}

void TBaseReport::SetSectionTop(double value) {
    FSectionTop = YU2I(value);
    FCursorYPos = std::max(FCursorYPos, FSectionTop);
}

void TBaseReport::SetSectionBottom(double value) {
    FSectionBottom = YU2I(value);
    FCursorYPos = std::min(FCursorYPos, FSectionBottom);
}

void TBaseReport::ResetSection() {
    FSectionLeft = FLeftMargin;
    FSectionRight = FRightMargin;
    FSectionTop = FTopMargin;
    FSectionBottom = FBottomMargin;
}

// ---- Lines and columns --------------------------------------------------------------------

void TBaseReport::SetLinesPerInch(double value) {
    if (value > 0.0)
        FLinesPerInch = value;
}

double TBaseReport::LineHeightInches() {
    switch (FLineHeightMethod) {
    case TLineHeightMethod::lhmLinesPerInch:
        FLineHeight = 1.0 / FLinesPerInch;
        break;
    case TLineHeightMethod::lhmFont:
        FLineHeight = FBaseFont.Size / 60.0;
        break;
    case TLineHeightMethod::lhmUser:
        break;
    }
    return FLineHeight;
}

double TBaseReport::LineHeight() {
    return YI2U(LineHeightInches());
}

void TBaseReport::SetLineHeight(double value) {
    FLineHeight = YU2I(value);
    FLineHeightMethod = TLineHeightMethod::lhmUser;
}

void TBaseReport::RecomputeLineHeight() {
    SelectFont();
    LineHeightInches();
}

void TBaseReport::ResetLineHeight() {
    if (FPrinting)
        RecomputeLineHeight();
}

double TBaseReport::AscentHeight() {
    SelectFont();
    return FBaseFont.Ascent;
}

double TBaseReport::DescentHeight() {
    SelectFont();
    return FBaseFont.Descent;
}

double TBaseReport::FontTop() {
    return YI2U(FCursorYPos - FBaseFont.Ascent);
}
double TBaseReport::FontBottom() {
    return YI2U(FCursorYPos + FBaseFont.Descent);
}
double TBaseReport::LineTop() {
    return YI2U(FCursorYPos + FBaseFont.Descent - FLineHeight);
}
double TBaseReport::LineMiddle() {
    return YI2U(FCursorYPos + FBaseFont.Descent - FLineHeight / 2.0);
}

void TBaseReport::SetFontTop(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) + FBaseFont.Ascent;
}

void TBaseReport::SetFontBaseline(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value);
}

void TBaseReport::SetFontBottom(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) - FBaseFont.Descent;
}

void TBaseReport::SetLineTop(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) + FLineHeight - FBaseFont.Descent;
}

void TBaseReport::SetLineMiddle(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) + FLineHeight / 2.0 - FBaseFont.Descent;
}

void TBaseReport::AdjustLine() {
    SetLineTop(LineTop());
}

double TBaseReport::LineStartInches() const {
    return FSectionLeft + (FColumnNum - 1) * FColumnWidth;
}

double TBaseReport::LineStartPos() const {
    return XI2U(LineStartInches());
}

double TBaseReport::ColumnWidth() const {
    return XI2U(FColumnWidth - FColumnBetween);
}

double TBaseReport::ColumnEnd() const {
    return XI2U(LineStartInches() + FColumnWidth - FColumnBetween);
}

void TBaseReport::SetLineNum(int value) {
    RecomputeLineHeight();
    ResetTabs();
    FLineNum = value;
    FCursorXPos = LineStartInches();
    FCursorYPos = FSectionTop + FLineHeight * value - FBaseFont.Descent;
}

void TBaseReport::SetColumnNum(int value) {
    FColumnNum = std::max(1, value);
    FCursorXPos = LineStartInches();
    ResetTabs();
}

void TBaseReport::GotoXY(double NewXPos, double NewYPos) {
    FCursorXPos = XU2I(NewXPos);
    FCursorYPos = YU2I(NewYPos);
}

void TBaseReport::Home() {
    FColumnNum = 1;
    SetLineNum(1);
}

void TBaseReport::Cr() {
    FCursorXPos = LineStartInches();
}

void TBaseReport::Lf() {
    RecomputeLineHeight();
    ++FLineNum;
    FCursorYPos += FLineHeight;
}

void TBaseReport::NewLine() {
    SoftLine();
    NewPara();
}

void TBaseReport::SoftLine() {
    if (FColumnNum >= FColumns || LinesLeft() > 1) {
        Cr();
        Lf();
    } else {
        SetColumnNum(FColumnNum + 1);
        SetLineNum(1);
        if (OnNewColumn)
            OnNewColumn(*this, FColumnNum);
    }
    ResetTabs();
    if (FCursorYPos + FBaseFont.Descent >= FSectionBottom - kTruncEpsilon && OnEndOfSection)
        OnEndOfSection(*this);
}

void TBaseReport::NewColumn() {
    if (FColumnNum >= FColumns) {
        NewPage();
        return;
    }
    SetColumnNum(FColumnNum + 1);
    SetLineNum(1);
    if (OnNewColumn)
        OnNewColumn(*this, FColumnNum);
}

void TBaseReport::GotoHeader() {
    RecomputeLineHeight();
    FCursorYPos = FSectionTop + FLineHeight - FBaseFont.Descent;
    FCursorXPos = LineStartInches();
}

void TBaseReport::GotoFooter() {
    SelectFont();
    FCursorYPos = FSectionBottom - FBaseFont.Descent;
}

void TBaseReport::SetTopOfPage() {
    FSectionTop = FCursorYPos + FBaseFont.Descent;
    FLineNum = 0;
}

int TBaseReport::LinesLeft() {
    RecomputeLineHeight();
    const double fontBottom = FCursorYPos + FBaseFont.Descent;
    if (fontBottom > FSectionBottom + kTruncEpsilon || FLineHeight <= 0.0)
        return 0;
    return TruncLines((FSectionBottom - fontBottom) / FLineHeight) + 1;
}

int TBaseReport::ColumnLinesLeft() {
    const int left = LinesLeft();
    const bool below = FCursorYPos + FBaseFont.Descent > FSectionBottom + kTruncEpsilon;
    if (below && FColumnNum >= FColumns)
        return 0;
    if (FLineHeight <= 0.0)
        return left;
    const int perColumn = TruncLines((FSectionBottom - FSectionTop) / FLineHeight);
    return left + (FColumns - FColumnNum) * perColumn;
}

void TBaseReport::SetColumns(int NewColumns, double Between) {
    FColumns = std::max(1, NewColumns);
    FColumnBetween = XU2I(Between);
    FColumnWidth = (SectionWidth() + FColumnBetween) / FColumns;
    SetColumnNum(1);
    if (OnNewColumn)
        OnNewColumn(*this, 1);
}

void TBaseReport::SetColumnWidth(double Width, double Between) {
    FColumnBetween = XU2I(Between);
    FColumnWidth = XU2I(Width) + FColumnBetween;
    if (FColumnWidth <= 0.0)
        FColumnWidth = SectionWidth();
    FColumns = std::max(1, TruncLines(SectionWidth() / FColumnWidth));
    SetColumnNum(1);
    if (OnNewColumn)
        OnNewColumn(*this, 1);
}

void TBaseReport::ClearColumns() {
    FColumns = 1;
    FColumnNum = 1;
    FColumnBetween = 0.0;
    FColumnWidth = SectionWidth();
}

// ---- Positions ----------------------------------------------------------------------------

void TBaseReport::PushPos() {
    FPosStack.emplace_back(FCursorXPos, FCursorYPos);
}

bool TBaseReport::PopPos() {
    if (FPosStack.empty())
        return false;
    FCursorXPos = FPosStack.back().x();
    FCursorYPos = FPosStack.back().y();
    FPosStack.pop_back();
    return true;
}

bool TBaseReport::SavePos(int Index) {
    if (Index < 1 || Index > 10)
        return false;
    FPosSlots[Index - 1] = QPointF(FCursorXPos, FCursorYPos);
    return true;
}

bool TBaseReport::RestorePos(int Index) {
    if (Index < 1 || Index > 10 || !FPosSlots[Index - 1])
        return false;
    FCursorXPos = FPosSlots[Index - 1]->x();
    FCursorYPos = FPosSlots[Index - 1]->y();
    return true;
}

} // namespace fiscora
