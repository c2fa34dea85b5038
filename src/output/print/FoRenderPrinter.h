#pragma once

#include "output/screen/FoRenderCanvas.h"
#include "report/core/FoTypes.h"

#include <functional>

class QIODevice;

namespace fiscora {

class TFoPrinterDevice;

// Plays a snapshot onto the printer: the canvas renderer's drawing on the printer's page, and around it
// the print job (title, orientation, paper, copies, collation, duplex, bins, raw data). One pass of
// Render is one print job.
class TFoRenderPrinter : public TFoRenderCanvas {
public:
    static constexpr qint64 kRawChunkBytes = 4096;

    // Prints on the process's printer unless a test hands in another device (not owned).
    TFoRenderPrinter();
    explicit TFoRenderPrinter(TFoPrinterDevice &device);
    ~TFoRenderPrinter() override;

    // Copies, collation and duplex chosen in the Output Options dialog; they replace the snapshot's
    // own once FIgnoreFileSettings is set.
    int FCopies = 1;
    bool FCollate = false;
    TDuplex FDuplex = TDuplex::dupSimplex;
    bool FIgnoreFileSettings = false;
    // Set while copies are printed as passes: each pass is a job of one copy, whatever the snapshot
    // or the dialog asks for.
    bool FOneCopyPerPass = false;
    // Page count of the stream to print, as the caller knows it.
    int FPages = 0;

    int Copies() const { return FCopies; }
    void SetCopies(int value) { FCopies = value; }
    // The page count of the snapshot played last, else FPages.
    int Pages() const;

    // Status while printing: the format's text is handed to StatusLabel at every page.
    QString StatusFormat = QStringLiteral("Printing page %p");
    std::function<void(const QString &)> StatusLabel;
    // Cancel: the job is abandoned at the next page and Render ends with a silent abort.
    void Abort() { FAbortRequested = true; }

    TFoPrinterDevice &Device() const { return FDevice; }
    TFoCanvas &Canvas() override;
    int XDPI() override;
    int YDPI() override;
    int MaxCopies();
    int XI2D(double Pos) override;
    int YI2D(double Pos) override;

    void DocBegin() override;
    void PageBegin() override;
    void PageEnd() override;
    void DocEnd() override;
    void SetBin(const QString &BinName) override;
    void SetPaperBin(int Bin) override;
    void PrintData(const QString &Text) override;
    void PrintDataStream(QIODevice &Stream, qint64 Length) override;

private:
    void ShowStatus();

    TFoPrinterDevice &FDevice;
    int FPlayedPages = 0;
    int FUncaughtAtBegin = 0;
    bool FAbortRequested = false;
};

// Prints the snapshot once, or once per copy on a printer that cannot make that many copies itself
// (the device is then told one copy per pass). The copies are the renderer's unless given.
void PrintSnapshotCopies(TFoRenderPrinter &printer, QIODevice *snapshot);
void PrintSnapshotCopies(TFoRenderPrinter &printer, QIODevice *snapshot, int copies);

} // namespace fiscora
