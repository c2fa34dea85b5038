#pragma once

#include "report/devices/FoPrinterDevice.h"

#include <memory>

class QPrinter;

namespace fiscora {

// Page layout and job settings of a settings record applied to a Qt printer.
void ApplyDevModeToPrinter(const TFoDevMode &devMode, QPrinter &printer);
// Only the paper and orientation of a settings record, which may change between the pages of a job.
void ApplyPageLayoutToPrinter(const TFoDevMode &devMode, QPrinter &printer);

// The paper number of the printer-less table that has this size (inches, portrait); 0 when none.
int PaperNumberForSize(double widthInches, double heightInches);

// Printing services through Qt PrintSupport (CUPS on this platform).
class TFoQtPrinterSource : public TFoPrinterSource {
public:
    std::vector<TFoDeviceItem> Printers() override;
    QString DefaultPrinter() override;
    std::optional<TFoDevMode> OpenDevMode(const TFoDeviceItem &item) override;
    TFoPrinterCaps Capabilities(const TFoDeviceItem &item, const TFoDevMode &devMode) override;
    QStringList Fonts(const TFoDeviceItem &item) override;
    bool SendRaw(const TFoDeviceItem &item, const QString &title, const QByteArray &data) override;
    std::unique_ptr<QPrinter> CreatePrinter(const TFoDeviceItem &item) override;
};

} // namespace fiscora
