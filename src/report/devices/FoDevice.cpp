#include "report/devices/FoDevice.h"

#include "report/devices/FoFontManager.h"

#include <QFontDatabase>
#include <QImage>

#include <algorithm>
#include <array>
#include <cmath>

namespace fiscora {

namespace {
constexpr double mm(double millimetres) {
    return millimetres / 25.4;
}

// The printer-less papers with the platform's paper numbers; sizes are what their names state.
constexpr std::array<TFoPaperInfo, 43> kPaperTable = {{
    {-1, "Default", 0, 0},
    {256, "Custom", 0, 0},
    {1, "Letter, 8 1/2- by 11-inches", 8.5, 11},
    {5, "Legal, 8 1/2- by 14-inches", 8.5, 14},
    {9, "A4 Sheet, 210- by 297-millimeters", mm(210), mm(297)},
    {24, "C Sheet, 17- by 22-inches", 17, 22},
    {25, "D Sheet, 22- by 34-inches", 22, 34},
    {26, "E Sheet, 34- by 44-inches", 34, 44},
    {2, "Letter Small, 8 1/2- by 11-inches", 8.5, 11},
    {3, "Tabloid, 11- by 17-inches", 11, 17},
    {4, "Ledger, 17- by 11-inches", 17, 11},
    {6, "Statement, 5 1/2- by 8 1/2-inches", 5.5, 8.5},
    {7, "Executive, 7 1/4- by 10 1/2-inches", 7.25, 10.5},
    {8, "A3 sheet, 297- by 420-millimeters", mm(297), mm(420)},
    {10, "A4 small sheet, 210- by 297-millimeters", mm(210), mm(297)},
    {11, "A5 sheet, 148- by 210-millimeters", mm(148), mm(210)},
    {12, "B4 sheet, 250- by 354-millimeters", mm(250), mm(354)},
    {13, "B5 sheet, 182- by 257-millimeter paper", mm(182), mm(257)},
    {14, "Folio, 8 1/2- by 13-inch paper", 8.5, 13},
    {15, "Quarto, 215- by 275-millimeter paper", mm(215), mm(275)},
    {16, "10- by 14-inch sheet", 10, 14},
    {17, "11- by 17-inch sheet", 11, 17},
    {18, "Note, 8 1/2- by 11-inches", 8.5, 11},
    {19, "#9 Envelope, 3 7/8- by 8 7/8-inches", 3.875, 8.875},
    {20, "#10 Envelope, 4 1/8- by 9 1/2-inches", 4.125, 9.5},
    {21, "#11 Envelope, 4 1/2- by 10 3/8-inches", 4.5, 10.375},
    {22, "#12 Envelope, 4 3/4- by 11-inches", 4.75, 11},
    {23, "#14 Envelope, 5- by 11 1/2-inches", 5, 11.5},
    {27, "DL Envelope, 110- by 220-millimeters", mm(110), mm(220)},
    {28, "C5 Envelope, 162- by 229-millimeters", mm(162), mm(229)},
    {29, "C3 Envelope, 324- by 458-millimeters", mm(324), mm(458)},
    {30, "C4 Envelope, 229- by 324-millimeters", mm(229), mm(324)},
    {31, "C6 Envelope, 114- by 162-millimeters", mm(114), mm(162)},
    {32, "C65 Envelope, 114- by 229-millimeters", mm(114), mm(229)},
    {33, "B4 Envelope, 250- by 353-millimeters", mm(250), mm(353)},
    {34, "B5 Envelope, 176- by 250-millimeters", mm(176), mm(250)},
    {35, "B6 Envelope, 176- by 125-millimeters", mm(176), mm(125)},
    {36, "Italy Envelope, 110- by 230-millimeters", mm(110), mm(230)},
    {37, "Monarch Envelope, 3 7/8- by 7 1/2-inches", 3.875, 7.5},
    {38, "6 3/4 Envelope, 3 5/8- by 6 1/2-inches", 3.625, 6.5},
    {39, "US Std Fanfold, 14 7/8- by 11-inches", 14.875, 11},
    {40, "German Std Fanfold, 8 1/2- by 12-inches", 8.5, 12},
    {41, "German Legal Fanfold, 8 1/2- by 13-inches", 8.5, 13},
}};

bool NameMatches(const QString &candidate, const QString &name, bool exact) {
    return exact ? candidate == name : candidate.contains(name, Qt::CaseInsensitive);
}
} // namespace

// ---- TFoBaseDevice --------------------------------------------------------------------------

TFoBaseDevice::~TFoBaseDevice() = default;

std::span<const TFoPaperInfo> TFoBaseDevice::PaperTable() {
    return kPaperTable;
}

void TFoBaseDevice::PaperSizeInches(int number, double &width, double &height) {
    width = 8.5;
    height = 11.0;
    const auto found = std::find_if(kPaperTable.begin(), kPaperTable.end(),
                                    [number](const TFoPaperInfo &paper) { return paper.Number == number; });
    if (found != kPaperTable.end() && found->Width > 0 && found->Height > 0) {
        width = found->Width;
        height = found->Height;
    }
}

TFoWasteMargins TFoBaseDevice::WasteMargins() {
    return {};
}
void TFoBaseDevice::SetBin(int number) {
    FBin = number;
}
int TFoBaseDevice::Bin() {
    return FBin;
}
const TFoNamedNumberList &TFoBaseDevice::Bins() {
    return FEmptyList;
}
const TFoNamedNumberList &TFoBaseDevice::Papers() {
    return FEmptyList;
}
QStringList TFoBaseDevice::Fonts() {
    return QFontDatabase::families();
}
QStringList TFoBaseDevice::Printers() {
    return {};
}
TOrientation TFoBaseDevice::Orientation() {
    return FOrientation;
}

void TFoBaseDevice::SetOrientation(TOrientation value) {
    if (value != TOrientation::poDefault)
        FOrientation = value;
}

int TFoBaseDevice::MaxCopies() {
    return 1;
}

void TFoBaseDevice::SetCopies(int value) {
    if (value >= 1 && value <= MaxCopies())
        FCopies = value;
}

int TFoBaseDevice::Copies() {
    return FCopies;
}
void TFoBaseDevice::SetDuplex(TDuplex value) {
    FDuplex = value;
}
TDuplex TFoBaseDevice::Duplex() {
    return FDuplex;
}
void TFoBaseDevice::SetCollate(bool value) {
    FCollate = value;
}
bool TFoBaseDevice::Collate() {
    return FCollate;
}
int TFoBaseDevice::PageHeight() {
    return FPageHeight;
}
int TFoBaseDevice::PageWidth() {
    return FPageWidth;
}
void TFoBaseDevice::RawOut(const QByteArray &) {}
void TFoBaseDevice::BeginDoc() {}
void TFoBaseDevice::BeginDocSelect() {}
void TFoBaseDevice::EndDoc() {}
void TFoBaseDevice::Abort() {}
void TFoBaseDevice::NewPage() {}
void TFoBaseDevice::NewPageSelect(bool) {}

bool TFoBaseDevice::SelectBin(const QString &name, bool exact) {
    for (const TFoNamedNumber &bin : Bins()) {
        if (NameMatches(bin.Name, name, exact)) {
            if (Bin() != bin.Number)
                SetBin(bin.Number);
            return true;
        }
    }
    return false;
}

bool TFoBaseDevice::SelectPaper(const QString &name, bool exact) {
    for (const TFoNamedNumber &paper : Papers()) {
        if (NameMatches(paper.Name, name, exact)) {
            if (FPaper != paper.Number)
                SetPaperSize(paper.Number, 0, 0);
            return true;
        }
    }
    return false;
}

bool TFoBaseDevice::GetCustomExtents(QSize &, QSize &) {
    return false;
}

bool TFoBaseDevice::SetPaperSize(int number, int width, int length) {
    if (width != 0 && length != 0) {
        FPaper = 256;
        FPaperWidthInches = width / 254.0;
        FPaperHeightInches = length / 254.0;
    } else {
        FPaper = number;
        PaperSizeInches(number, FPaperWidthInches, FPaperHeightInches);
    }
    return true;
}

bool TFoBaseDevice::SupportBin() {
    return true;
}
bool TFoBaseDevice::SupportPaper() {
    return true;
}
bool TFoBaseDevice::SupportOrientation() {
    return true;
}
bool TFoBaseDevice::SupportDuplex() {
    return true;
}
bool TFoBaseDevice::SupportCollate() {
    return true;
}

// ---- TFoRenderDevice ------------------------------------------------------------------------

TFoRenderDevice::TFoRenderDevice() {
    // Only fonts are measured on this surface, so it stays tiny whatever the paper size.
    FSurface = std::make_unique<QImage>(16, 16, QImage::Format_RGB32);
    const int dotsPerMetre = int(std::lround(kResolution / 0.0254));
    FSurface->setDotsPerMeterX(dotsPerMetre);
    FSurface->setDotsPerMeterY(dotsPerMetre);
    FSurface->fill(Qt::white);
    FOwnedCanvas = std::make_unique<TFoCanvas>(FSurface.get());
    FCanvas = FOwnedCanvas.get();
    FCanvas->SetDPI(kResolution);
    FPrinting = true;
}

TFoRenderDevice::TFoRenderDevice(TFoCanvas &canvas) : FCanvas(&canvas) {
    FCanvas->SetDPI(kResolution);
    FPrinting = true;
}

TFoRenderDevice::~TFoRenderDevice() = default;

const TFoNamedNumberList &TFoRenderDevice::Papers() {
    if (FPaperList.empty())
        for (const TFoPaperInfo &paper : kPaperTable)
            FPaperList.push_back({QString::fromLatin1(paper.Name), paper.Number});
    return FPaperList;
}

int TFoRenderDevice::PageWidth() {
    const double inches = FOrientation == TOrientation::poLandScape ? FPaperHeightInches : FPaperWidthInches;
    return int(std::lround(inches * kResolution));
}

int TFoRenderDevice::PageHeight() {
    const double inches = FOrientation == TOrientation::poLandScape ? FPaperWidthInches : FPaperHeightInches;
    return int(std::lround(inches * kResolution));
}

int TFoRenderDevice::TextWidth(const QString &text) {
    const TFoFont &font = FCanvas->Font();
    if (!FHandler || FHandlerRevision != font.Revision()) {
        FHandler = &TFoFontManager::Instance().Handler(font);
        FHandlerRevision = font.Revision();
    }
    return std::max(1, FHandler->TextWidth(text, font.Height(), kResolution));
}

} // namespace fiscora
