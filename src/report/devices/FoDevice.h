#pragma once

#include "report/core/FoDraw.h"
#include "report/core/FoTypes.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class QImage;

namespace fiscora {

// A bin or paper the printer offers: its name and the driver's number for it.
struct TFoNamedNumber {
    QString Name;
    int Number = 0;
};
using TFoNamedNumberList = std::vector<TFoNamedNumber>;

// Unprintable margins in device pixels.
struct TFoWasteMargins {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
};

// The printer settings record: the fields of the classic DEVMODE the report system uses.
struct TFoDevMode {
    static constexpr std::uint32_t DM_ORIENTATION = 1;
    static constexpr std::uint32_t DM_PAPERSIZE = 2;
    static constexpr std::uint32_t DM_PAPERLENGTH = 4;
    static constexpr std::uint32_t DM_PAPERWIDTH = 8;
    static constexpr std::uint32_t DM_COPIES = 256;
    static constexpr std::uint32_t DM_DEFAULTSOURCE = 512;
    static constexpr std::uint32_t DM_DUPLEX = 4096;
    static constexpr std::uint32_t DM_COLLATE = 32768;

    std::uint32_t Fields = 0;     // which settings the driver supports
    std::int16_t Orientation = 1; // 1 portrait, 2 landscape
    std::int16_t PaperSize = 1;   // paper number, 256 = custom
    std::int16_t PaperLength = 0; // tenths of a millimetre
    std::int16_t PaperWidth = 0;
    std::int16_t Copies = 1;
    std::int16_t DefaultSource = 0; // bin number
    std::int16_t Duplex = 1;        // 1 simplex, 2 vertical, 3 horizontal
    std::int16_t Collate = 0;       // 1 on

    bool operator==(const TFoDevMode &) const = default;
};

// One paper of the printer-less device's table. Sizes in inches; 0 = no size of its own.
struct TFoPaperInfo {
    int Number;
    const char *Name;
    double Width;
    double Height;
};

// The output device interface: resolution, paper, fonts and print jobs. The page canvas talks to
// devices only through this class. Page sizes and margins are device pixels.
class TFoBaseDevice {
public:
    TFoBaseDevice() = default;
    TFoBaseDevice(const TFoBaseDevice &) = delete;
    TFoBaseDevice &operator=(const TFoBaseDevice &) = delete;
    virtual ~TFoBaseDevice();

    virtual TFoCanvas &Canvas() = 0;
    virtual int XDPI() = 0;
    virtual int YDPI() = 0;
    virtual TFoWasteMargins WasteMargins();
    virtual void SetBin(int number);
    virtual int Bin();
    virtual const TFoNamedNumberList &Bins();
    virtual const TFoNamedNumberList &Papers();
    virtual QStringList Fonts();
    virtual QStringList Printers();
    virtual TOrientation Orientation();
    virtual void SetOrientation(TOrientation value);
    virtual int MaxCopies();
    virtual void SetCopies(int value);
    virtual int Copies();
    virtual void SetDuplex(TDuplex value);
    virtual TDuplex Duplex();
    virtual void SetCollate(bool value);
    virtual bool Collate();
    virtual int PageHeight();
    virtual int PageWidth();
    // Width of a text in pixels at the canvas font, at least 1.
    virtual int TextWidth(const QString &text) = 0;
    virtual void RawOut(const QByteArray &data);
    virtual void BeginDoc();
    virtual void BeginDocSelect();
    virtual void EndDoc();
    virtual void Abort();
    virtual void NewPage();
    virtual void NewPageSelect(bool valid);
    virtual bool SelectBin(const QString &name, bool exact = false);
    virtual bool SelectPaper(const QString &name, bool exact = false);
    // Minimum and maximum custom paper size in tenths of a millimetre; false when unknown.
    virtual bool GetCustomExtents(QSize &minimum, QSize &maximum);
    // Paper by number, or a custom size when width and length (tenths of a millimetre) are both set.
    virtual bool SetPaperSize(int number, int width, int length);
    virtual bool SupportBin();
    virtual bool SupportPaper();
    virtual bool SupportOrientation();
    virtual bool SupportDuplex();
    virtual bool SupportCollate();

    // What the canvas asks besides the slot operations above.
    virtual bool InvalidPrinter() { return false; }
    virtual QString DeviceName() { return {}; }
    virtual QString DriverName() { return {}; }
    virtual QString Port() { return {}; }
    // The printer settings record; nullptr when the device has none.
    virtual const TFoDevMode *DevMode() { return nullptr; }
    // Output kind 0 devices that print in two colours only (text other than white prints black).
    virtual bool IsMonochrome() { return false; }

    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &value) { FTitle = value; }
    bool Printing() const { return FPrinting; }
    bool Aborted() const { return FAborted; }

    // The printer-less paper table (43 rows) and a paper's size in inches (8.5 x 11 when unknown).
    static std::span<const TFoPaperInfo> PaperTable();
    static void PaperSizeInches(int number, double &width, double &height);

protected:
    QString FTitle;
    bool FPrinting = false;
    bool FAborted = false;
    TOrientation FOrientation = TOrientation::poPortrait;
    int FCopies = 1;
    TDuplex FDuplex = TDuplex::dupSimplex;
    bool FCollate = false;
    int FPageHeight = 0;
    int FPageWidth = 0;
    int FBin = 0;
    int FPaper = 1;
    double FPaperWidthInches = 8.5; // portrait size chosen by SetPaperSize
    double FPaperHeightInches = 11.0;
    TFoNamedNumberList FEmptyList;
};

// The printer-less device: 600 dots per inch, always printing, measures text through the font
// manager, draws on a small memory bitmap or on a canvas handed to it.
class TFoRenderDevice : public TFoBaseDevice {
public:
    static constexpr int kResolution = 600;

    TFoRenderDevice();
    // Draws on the given canvas (not owned) instead of the memory bitmap.
    explicit TFoRenderDevice(TFoCanvas &canvas);
    ~TFoRenderDevice() override;

    TFoCanvas &Canvas() override { return *FCanvas; }
    int XDPI() override { return kResolution; }
    int YDPI() override { return kResolution; }
    const TFoNamedNumberList &Papers() override;
    int PageHeight() override;
    int PageWidth() override;
    int TextWidth(const QString &text) override;

private:
    std::unique_ptr<QImage> FSurface;
    std::unique_ptr<TFoCanvas> FOwnedCanvas;
    TFoCanvas *FCanvas = nullptr;
    TFoNamedNumberList FPaperList;
    const class TFoFontHandler *FHandler = nullptr; // measures the canvas font as of FHandlerRevision
    std::uint64_t FHandlerRevision = 0;
};

} // namespace fiscora
