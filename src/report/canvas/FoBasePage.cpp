// Page canvas: page size, orientation, margins and sections.
#include "report/canvas/FoBase.h"

#include <algorithm>
#include <utility>

namespace fiscora {

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

} // namespace fiscora
