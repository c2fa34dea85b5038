// Page canvas: construction and the output device it draws on, its metrics and its canvas hooks.
#include "report/canvas/FoBase.h"

#include "report/canvas/FoFontCache.h"
#include "report/canvas/FoLineBuffer.h"
#include "report/core/FoErrors.h"
#include "report/devices/FoPrinterDevice.h"

namespace fiscora {

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

} // namespace fiscora
