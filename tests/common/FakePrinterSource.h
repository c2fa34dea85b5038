#pragma once

#include "report/devices/FoPrinterDevice.h"

#include <QPrinter>

#include <memory>

namespace fiscora {

// Two printers, the second on two ports; settings and capabilities fixed; jobs print to PDF.
class TFakePrinterSource : public TFoPrinterSource {
public:
    QString Default;
    bool RefuseDevMode = false;
    QString PdfPath;
    QByteArray RawSent;
    int XResolution = 300;
    int YResolution = 300;
    int MaximumCopies = 5;
    bool SupportsDuplex = false;

    std::vector<TFoDeviceItem> Printers() override {
        return {{"Laser", "Laser Driver", "LPT1:"},
                {"Office Jet", "Jet Driver", "USB001"},
                {"Office Jet", "Jet Driver", "USB002"}};
    }
    QString DefaultPrinter() override { return Default; }
    std::optional<TFoDevMode> OpenDevMode(const TFoDeviceItem &) override {
        if (RefuseDevMode)
            return std::nullopt;
        TFoDevMode devMode;
        devMode.Fields = TFoDevMode::DM_ORIENTATION | TFoDevMode::DM_PAPERSIZE | TFoDevMode::DM_COPIES |
                         TFoDevMode::DM_COLLATE | TFoDevMode::DM_DEFAULTSOURCE;
        if (SupportsDuplex)
            devMode.Fields |= TFoDevMode::DM_DUPLEX;
        return devMode;
    }
    TFoPrinterCaps Capabilities(const TFoDeviceItem &, const TFoDevMode &devMode) override {
        TFoPrinterCaps caps;
        caps.XDPI = XResolution;
        caps.YDPI = YResolution;
        const bool landscape = devMode.Orientation == 2;
        caps.PhysicalSize = landscape ? QSize(3300, 2550) : QSize(2550, 3300);
        caps.PrintableSize = caps.PhysicalSize - QSize(100, 200);
        caps.PhysicalOffset = QPoint(40, 60);
        caps.Papers = {{"Letter", 1}, {"Legal", 5}, {"A4", 9}};
        caps.Bins = {{"Upper tray", 1}, {"Manual feed", 4}};
        caps.MaxCopies = MaximumCopies;
        caps.CustomMinimum = QSize(1000, 1000);
        caps.CustomMaximum = QSize(3000, 4000);
        return caps;
    }
    QStringList Fonts(const TFoDeviceItem &) override { return {"Arial"}; }
    bool SendRaw(const TFoDeviceItem &, const QString &, const QByteArray &data) override {
        RawSent += data;
        return true;
    }
    std::unique_ptr<QPrinter> CreatePrinter(const TFoDeviceItem &) override {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(PdfPath);
        return printer;
    }
};

struct FakePrinter {
    TFakePrinterSource *Source;
    std::unique_ptr<TFoPrinterDevice> Device;
};

inline FakePrinter MakePrinter(const QString &defaultEntry = {}) {
    auto source = std::make_unique<TFakePrinterSource>();
    source->Default = defaultEntry;
    TFakePrinterSource *raw = source.get();
    return {raw, std::make_unique<TFoPrinterDevice>(std::move(source))};
}

class TNoPrinterSource : public TFakePrinterSource {
public:
    std::vector<TFoDeviceItem> Printers() override { return {}; }
};

} // namespace fiscora
