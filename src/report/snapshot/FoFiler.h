#pragma once

#include <optional>

#include "report/canvas/FoBase.h"
#include "report/snapshot/FoSnapshotOutput.h"

#include <QIODevice>
#include <QString>

#include <array>
#include <map>
#include <memory>
#include <vector>

namespace fiscora {

class TOutputFileTarget;

enum class TStreamMode : std::uint8_t { smMemory, smFile, smUser, smTempFile };
enum class TAccuracyMethod : std::uint8_t { amPositioning, amAppearance };

// The page canvas that records every drawing operation into a page snapshot stream (format
// version 10000). Pages are chained through their headers; the page count is patched in at Finish.
class TFoSnapshotWriter : public TBaseReport {
public:
    TFoSnapshotWriter();
    ~TFoSnapshotWriter() override;

    // ---- Properties -------------------------------------------------------------------------------
    TStreamMode StreamMode() const { return FStreamMode; }
    void SetStreamMode(TStreamMode value) { FStreamMode = value; }
    // Output file (smFile), file the memory snapshot is saved to (smMemory, when not empty) or the
    // temporary file's name (smTempFile, set by Start).
    const QString &FileName() const { return FOutputFileName; }
    void SetFileName(const QString &value) { FOutputFileName = value; }
    // The caller's stream for smUser; never freed here.
    QIODevice *Stream() const { return FStream; }
    void SetStream(QIODevice *value) { FStream = value; }
    TAccuracyMethod AccuracyMethod() const { return FAccuracyMethod; }
    void SetAccuracyMethod(TAccuracyMethod value) { FAccuracyMethod = value; }
    // While set, nothing is written at all.
    bool HoldOutput() const { return FHoldOutput; }
    void SetHoldOutput(bool value);
    // Raised after the page header of every page from the second on, the stream positioned at 0.
    TReportNotify OnRenderPage;
    // Kept for the report system, which hands its handler on; the writer has no data pass of its own.
    TReportNotify OnRenderData;

    // ---- Canvas operations ------------------------------------------------------------------------
    void Start() override;
    void Finish() override;
    void NewPage() override;
    void AbortPage() override;
    void ResetLineHeight() override;
    int OutputKind() const override { return okSnapshot; }
    bool SelectBin(const QString &BinName) override;
    void SetScaleX(double percent) override;
    void SetScaleY(double percent) override;
    void SetTextBKMode(TBKMode value) override;
    void SetBKColor(TColor value) override;
    void SetFrameMode(TFrameMode value) override;
    void SetOrientation(TOrientation value) override;
    void RegisterGraphic(int Index) override;
    void ReuseGraphic(int Index) override;
    void UnregisterGraphic(int Index) override;
    void AllowPreviewOnly() override;
    void AllowPrinterOnly() override;
    void AllowAll() override;
    QString PIVar(const QString &VarName) override;
    void SetPIVar(const QString &VarName, const QString &VarValue) override;

    static constexpr int GraphicSlots = 10;
    // The text whose width every font height record carries as reference width.
    static const QString ReferenceWidthText;

protected:
    void EmitCenterText(const QString &Text, double X) override;
    void EmitLeftText(const QString &Text, double X) override;
    void EmitRightText(const QString &Text, double X) override;
    void EmitBlockText(const QString &Text, double X, double Width) override;
    void EmitArc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                 double Y4) override;
    void EmitChord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                   double Y4) override;
    void EmitPie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                 double Y4) override;
    void EmitEllipse(double X1, double Y1, double X2, double Y2) override;
    void EmitRectangle(double X1, double Y1, double X2, double Y2) override;
    void EmitTabRectangle(double X1, double Y1, double X2, double Y2) override;
    void EmitRoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override;
    void EmitMoveTo(double X, double Y) override;
    void EmitLineTo(double X, double Y) override;
    void EmitPolygon(std::span<const QPointF> Points) override;
    void EmitPolyline(std::span<const QPointF> Points) override;
    void EmitFillRect(const QRectF &Rect) override;
    void EmitFrameRect(const QRectF &Rect) override;
    void EmitDrawFocusRect(const QRectF &Rect) override;
    void EmitFloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) override;
    void EmitBrushCopy(const QRectF &Dest, const QImage &Bitmap, const QRectF &Source, TColor Color) override;
    void EmitCopyRect(const QRectF &Dest, TFoCanvas &Canvas, const QRectF &Source) override;
    void EmitDraw(double X, double Y, const TFoGraphic &Graphic) override;
    void EmitStretchDraw(const QRectF &Rect, const TFoGraphic &Graphic) override;
    void EmitPrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) override;
    void EmitPrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) override;
    void EmitPrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                            const QString &ImageType) override;
    void EmitTextRect(const QRectF &Rect, double X, double Y, const QString &Text) override;
    void EmitPrintData(const QString &Value) override;
    void EmitPrintDataStream(QIODevice &Stream, qint64 BufSize) override;
    void FontChanged() override;
    void PenChanged() override;
    void BrushChanged() override;
    void HyperlinkChanged() override;

private:
    struct TVarEntry {
        QString Name;
        qint64 Position; // of its value block; negative when that block holds the final value
        // A value set while no recorded page was open; the next recorded page defines it.
        std::optional<QString> HeldValue = std::nullopt;
    };

    void OpenOutput();
    void CloseOutput();
    // Frees the output, the device and the job's caches; printing ends.
    void ReleaseJob();
    // Records may be written: printing, a page open and output not held.
    bool CanWrite() const;
    void WriteReportHeader();
    void WritePageStart();
    void PageEnd(bool LastPage);
    void WriteBrushState();
    void WriteFontState();
    void WritePenState();
    void WriteCode(quint8 Code) { FOutput->WriteByte(Code); }
    void WritePoint(double X, double Y);
    void WriteRect(const QRectF &Rect);
    void WriteGraphic(quint8 Kind, const QByteArray &Bytes);
    void WriteGraphic(const TFoGraphic &Graphic);
    void WriteBitmap(const QImage &Bitmap);
    // A picture this job already holds in full becomes a reference to it.
    void WriteImage(quint8 Kind, const QImage &Image, const char *Format);
    void WriteTextRecord(quint8 Code, const QString &Text, double X);
    void WriteBlockRecord(const QString &Text, double X, double Width);
    void WriteVarDefined(const QString &Value);
    void WriteVarPlaceholder(qint64 BackReference);
    TVarEntry *FindVar(const QString &Name);
    static void CheckGraphicIndex(const char *Operation, int Index);
    // Text that must be written as a positioned record even in positioning mode.
    bool NeedsPositionedText(const QString &Text) const;

    TStreamMode FStreamMode = TStreamMode::smMemory;
    TAccuracyMethod FAccuracyMethod = TAccuracyMethod::amAppearance;
    QString FOutputFileName;
    QIODevice *FStream = nullptr;
    std::unique_ptr<QIODevice> FOwnedStream;
    std::unique_ptr<TOutputFileTarget> FFileTarget; // of the file mode

    QIODevice *OutputStream = nullptr;
    std::unique_ptr<TFoSnapshotOutput> FOutput;
    bool FHoldOutput = false;
    bool FPageOpen = false; // a page header was written and its page end was not

    // Last written state.
    TColor SaveBrushColor = clBlack;
    TBrushStyle SaveBrushStyle = TBrushStyle::bsSolid;
    bool SaveBrushPattern = false;
    qint64 SaveBrushPatternKey = 0;
    TSaveFont SaveFont;
    TColor SavePenColor = clBlack;
    TPenMode SavePenMode = TPenMode::pmCopy;
    TPenStyle SavePenStyle = TPenStyle::psSolid;
    int SavePenWidth = 1;
    bool WriteAll = false;
    bool FWritingFont = false;
    quint8 AllowMode = 86;

    std::array<qint64, GraphicSlots> GraphicPos{};
    qint64 LastGraphicPos = 0;
    qint64 ReuseGraphicPos = 0;
    // Length-field positions of the pictures written in full, by kind and image identity.
    std::map<std::pair<quint8, qint64>, qint64> WrittenImages;

    qint64 PrevPagePos = 0;    // page code position of the last recorded page
    qint64 NextPagePos = 0;    // its NextPagePos field, patched when the page ends
    qint64 SaveJobPos = 0;     // the header's page count field
    qint64 CurrentPagePos = 0; // page code position of the open page
    qint64 AbortPrevPagePos = 0;
    qint64 AbortNextPagePos = 0;
    int AbsolutePage = 0;
    std::vector<TVarEntry> VarList;
};

} // namespace fiscora
