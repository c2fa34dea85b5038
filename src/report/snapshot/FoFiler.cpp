#include "report/snapshot/FoFiler.h"

#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/core/FoMacros.h"
#include "report/core/FoRichText.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>

#include <cmath>
#include <numbers>

namespace fiscora {

namespace {

// Bin numbers the format stores when there are no printer settings.
constexpr int ReportHeaderDefaultBin = 265;
constexpr int PageHeaderDefaultBin = 512;

QByteArray ImageFileBytes(const QImage &image, const char *format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

quint8 VarLength(const QString &Value) {
    return static_cast<quint8>(std::min<qsizetype>(Value.size(), SnapshotMaxVarLength));
}

} // namespace

const QString TFoSnapshotWriter::ReferenceWidthText =
    QStringLiteral("abcdefg hijklmnop qrstuv wxyz ABCDEFG HIJKLMNOP QRSTUV WXYZ 0123456789");

TFoSnapshotWriter::TFoSnapshotWriter() = default;

TFoSnapshotWriter::~TFoSnapshotWriter() {
    // A job left open by an exception still releases its output here.
    FOutput.reset();
    FOwnedStream.reset();
}

void TFoSnapshotWriter::SetHoldOutput(bool value) {
    FHoldOutput = value;
    if (FOutput)
        FOutput->HoldOutput = value;
}

bool TFoSnapshotWriter::CanWrite() const {
    return FOutput && Printing() && FPageOpen && !FHoldOutput && OutputValid();
}

// ---- Job ------------------------------------------------------------------------------------------

void TFoSnapshotWriter::OpenOutput() {
    switch (FStreamMode) {
    case TStreamMode::smMemory: {
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        FOwnedStream = std::move(buffer);
        break;
    }
    case TStreamMode::smFile: {
        auto file = std::make_unique<QFile>(FOutputFileName);
        if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate))
            throw CannotCreateFileError(FOutputFileName, file->errorString());
        FOwnedStream = std::move(file);
        break;
    }
    case TStreamMode::smUser:
        if (!FStream)
            throw EFolioReport(QStringLiteral("StreamMode is smUser but Stream is nil"));
        if (!FStream->isOpen() && !FStream->open(QIODevice::ReadWrite))
            throw EFolioReport(QStringLiteral("Stream write error: %1").arg(FStream->errorString()));
        if (!FStream->seek(0))
            throw EFolioReport(QStringLiteral("Stream write error: %1").arg(FStream->errorString()));
        OutputStream = FStream;
        return;
    case TStreamMode::smTempFile: {
        auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/FOXXXXXX"));
        file->setAutoRemove(false);
        if (!file->open())
            throw CannotCreateFileError(file->fileTemplate(), file->errorString());
        FOutputFileName = file->fileName();
        FOwnedStream = std::move(file);
        break;
    }
    }
    OutputStream = FOwnedStream.get();
}

void TFoSnapshotWriter::CloseOutput() {
    FOutput.reset();
    if (FStreamMode == TStreamMode::smMemory && FOwnedStream && !FOutputFileName.isEmpty()) {
        QFile file(FOutputFileName);
        const QByteArray &bytes = static_cast<QBuffer *>(FOwnedStream.get())->data();
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            throw CannotCreateFileError(FOutputFileName, file.errorString());
    }
    FOwnedStream.reset();
    OutputStream = nullptr;
}

void TFoSnapshotWriter::Start() {
    CheckNotPrinting();
    SetReportDateTime(QDateTime::currentDateTime());
    AllowMode = scAllowAll;
    SetCurrentPage(0);
    AbsolutePage = 0;
    PrevPagePos = NextPagePos = SaveJobPos = CurrentPagePos = 0;
    SetJobPages(0);
    VarList.clear();
    GraphicPos.fill(0);
    LastGraphicPos = ReuseGraphicPos = 0;
    WrittenImages.clear();
    FPageOpen = false;
    SetAborted(false);
    if (OnBeforePrint)
        OnBeforePrint(*this);

    OpenOutput();
    {
        // The caller's Finish does not run when Start fails: release the output here.
        ScopeFailure release([this] { ReleaseJob(); });
        FOutput = std::make_unique<TFoSnapshotOutput>(*OutputStream);
        FHoldOutput = false;
        PrepareDevice();
        SetPrinting(true);
        WriteReportHeader();
        SetHoldOutput(true);
        HookDeviceCanvas();
        ResetForJob();
        const bool valid = StartFirstPage();
        if (valid)
            ++AbsolutePage;
        SetHoldOutput(false);
        if (valid)
            WritePageStart();
    }
    if (!Aborted()) {
        RunBeginPageEvents();
        if (OnNewPage)
            OnNewPage(*this);
        if (OnPrintHeader)
            OnPrintHeader(*this);
    }
}

void TFoSnapshotWriter::NewPage() {
    if (OnPrintFooter)
        OnPrintFooter(*this);
    RunEndPageEvents();
    PageEnd(false);
    SetHoldOutput(true);
    TBaseReport::NewPage();
    if (!NoPrinters())
        ReadDeviceMetrics();
    SetHoldOutput(false);
    if (!PageInvalid()) {
        ++AbsolutePage; // the canvas has counted the page in JobPages
        WritePageStart();
        if (OnRenderPage && FOutput) {
            const qint64 resume = FOutput->Position();
            FOutput->Seek(0);
            OnRenderPage(*this);
            FOutput->Seek(resume);
        }
    }
    RunBeginPageEvents();
    if (OnNewPage)
        OnNewPage(*this);
    if (Columns() > 1 && OnNewColumn)
        OnNewColumn(*this, 1);
    if (OnPrintHeader)
        OnPrintHeader(*this);
}

void TFoSnapshotWriter::AbortPage() {
    const bool wasOpen = FPageOpen && !PageInvalid();
    TBaseReport::AbortPage();
    if (!wasOpen || !FOutput)
        return;
    // The next page overwrites this one; the chain and everything recorded on it are undone.
    FOutput->Seek(CurrentPagePos);
    FPageOpen = false;
    PrevPagePos = AbortPrevPagePos;
    NextPagePos = AbortNextPagePos;
    --AbsolutePage; // the canvas has taken it off JobPages
    std::erase_if(VarList,
                  [this](const TVarEntry &entry) { return std::abs(entry.Position) >= CurrentPagePos; });
    for (auto &slot : GraphicPos)
        if (slot >= CurrentPagePos)
            slot = 0;
    if (LastGraphicPos >= CurrentPagePos)
        LastGraphicPos = 0;
    if (ReuseGraphicPos >= CurrentPagePos)
        ReuseGraphicPos = 0;
    std::erase_if(WrittenImages, [this](const auto &entry) { return entry.second >= CurrentPagePos; });
}

void TFoSnapshotWriter::ReleaseJob() {
    FOutput.reset();
    FOwnedStream.reset();
    OutputStream = nullptr;
    FPageOpen = false;
    UnhookDeviceCanvas();
    ReleaseFontCache();
    ClearLineBuffers();
    ReleaseDevice();
    SetPrinting(false);
}

void TFoSnapshotWriter::Finish() {
    // Releases the job's resources however Finish ends.
    struct TReleaseScope {
        TFoSnapshotWriter &Writer;
        ~TReleaseScope() { Writer.ReleaseJob(); }
    };
    {
        TReleaseScope release{*this};
        if (!FOutput)
            return; // Start failed before the output was open
        if (!Aborted()) {
            if (OnPrintFooter)
                OnPrintFooter(*this);
            RunEndPageEvents();
        }
        SetHoldOutput(false);
        PageEnd(true);
        if (SaveJobPos > 0)
            FOutput->PatchInt(SaveJobPos, JobPages());
        // An aborted page longer than the one that replaced it would leave its tail behind.
        FOutput->TruncateHere();
        CloseOutput();
    }
    if (OnAfterPrint)
        OnAfterPrint(*this);
}

// ---- Headers and pages ----------------------------------------------------------------------------

void TFoSnapshotWriter::WriteReportHeader() {
    const TFoDevMode *devMode = NoPrinters() ? nullptr : DevMode();
    TFoSnapshotOutput &out = *FOutput;
    out.WriteByte(scHeaderVersioned);
    out.WriteWord(SnapshotWriteVersion);
    out.WriteString(Title());
    SaveJobPos = out.Position();
    out.WriteInt(0);
    out.WriteInt(FirstPage());
    out.WriteInt(LastPage());
    out.WriteFloat(XU2I(PageWidth()));
    out.WriteFloat(YU2I(PageHeight()));
    out.WriteFloat(LeftWaste());
    out.WriteFloat(RightWaste());
    out.WriteFloat(TopWaste());
    out.WriteFloat(BottomWaste());
    out.WriteByte(static_cast<quint8>(Orientation()));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->DefaultSource : ReportHeaderDefaultBin));
    out.WriteBool(devMode ? Collate() : false);
    out.WriteByte(static_cast<quint8>(devMode ? Duplex() : TDuplex::dupSimplex));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->Copies : 1));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->PaperSize : 1));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->PaperWidth : 0));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->PaperLength : 0));
    out.WriteString(OutputName());
}

void TFoSnapshotWriter::WritePageStart() {
    TFoSnapshotOutput &out = *FOutput;
    const TFoDevMode *devMode = NoPrinters() ? nullptr : DevMode();
    AbortPrevPagePos = PrevPagePos;
    AbortNextPagePos = NextPagePos;
    CurrentPagePos = out.Position();
    out.WriteByte(scPageHeader);
    out.WriteInt(static_cast<qint32>(PrevPagePos));
    NextPagePos = out.Position();
    out.WriteInt(0);
    out.WriteInt(AbsolutePage);
    out.WriteFloat(XU2I(PageWidth()));
    out.WriteFloat(YU2I(PageHeight()));
    out.WriteByte(static_cast<quint8>(Orientation()));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->DefaultSource : PageHeaderDefaultBin));
    PrevPagePos = CurrentPagePos;
    FPageOpen = true;

    WriteAll = true;
    WriteBrushState();
    WriteFontState();
    WritePenState();
    WriteAll = false;
    out.WriteByte(scScaleX);
    out.WriteFloat(ScaleX());
    out.WriteByte(scScaleY);
    out.WriteFloat(ScaleY());
    out.WriteByte(scTextBKMode);
    out.WriteByte(static_cast<quint8>(TextBKMode()));
    out.WriteByte(scBKColor);
    out.WriteInt(static_cast<qint32>(BKColor()));
    for (TVarEntry &entry : VarList) {
        out.WriteByte(scVariableData);
        out.WriteString(entry.Name);
        if (entry.HeldValue) {
            entry.Position = -out.Position();
            WriteVarDefined(*entry.HeldValue);
            entry.HeldValue.reset();
            continue;
        }
        out.WriteByte(VarReferenceCapacity);
        out.WriteByte(VarKindReference);
        out.WriteInt(static_cast<qint32>(entry.Position));
    }
}

void TFoSnapshotWriter::PageEnd(bool LastPage) {
    if (!FOutput)
        return;
    if (FPageOpen) {
        FOutput->WriteByte(scPageEnd);
        FPageOpen = false;
    }
    if (NextPagePos > 0)
        FOutput->PatchInt(NextPagePos, LastPage ? 0 : static_cast<qint32>(FOutput->Position()));
}

// ---- State records ---------------------------------------------------------------------------------

void TFoSnapshotWriter::BrushChanged() {
    WriteBrushState();
}
void TFoSnapshotWriter::PenChanged() {
    WritePenState();
}
void TFoSnapshotWriter::FontChanged() {
    WriteFontState();
}

void TFoSnapshotWriter::WriteBrushState() {
    if (!CanWrite())
        return;
    TFoBrush &brush = Canvas().Brush();
    TFoSnapshotOutput &out = *FOutput;
    if (WriteAll || brush.Color() != SaveBrushColor) {
        out.WriteByte(scBrushColor);
        out.WriteInt(static_cast<qint32>(brush.Color()));
        SaveBrushColor = brush.Color();
    }
    if (WriteAll || brush.Style() != SaveBrushStyle) {
        out.WriteByte(scBrushStyle);
        out.WriteByte(static_cast<quint8>(brush.Style()));
        SaveBrushStyle = brush.Style();
    }
    if (!brush.Bitmap().isNull()) {
        if (WriteAll || !SaveBrushPattern || brush.Bitmap().cacheKey() != SaveBrushPatternKey) {
            out.WriteByte(scBrushBitmap);
            out.WriteByte(1);
            WriteBitmap(brush.Bitmap());
            SaveBrushPattern = true;
            SaveBrushPatternKey = brush.Bitmap().cacheKey();
        }
    } else if (SaveBrushPattern || WriteAll) {
        out.WriteByte(scBrushBitmap);
        out.WriteByte(0);
        SaveBrushPattern = false;
    }
}

void TFoSnapshotWriter::WriteFontState() {
    if (FWritingFont || !CanWrite())
        return;
    const TSaveFont &font = GetBaseFont();
    TFoSnapshotOutput &out = *FOutput;
    bool needHeight = WriteAll || font.Height != SaveFont.Height;
    auto byteRecord = [&](quint8 code, auto value, auto saved, bool affectsWidth) {
        if (WriteAll || value != saved) {
            out.WriteByte(code);
            out.WriteByte(static_cast<quint8>(value));
            needHeight = needHeight || affectsWidth;
        }
    };
    if (WriteAll || font.Name != SaveFont.Name) {
        out.WriteByte(scFontName);
        out.WriteString(font.Name);
        needHeight = true;
    }
    if (WriteAll || font.Color != SaveFont.Color) {
        out.WriteByte(scFontColor);
        out.WriteInt(static_cast<qint32>(font.Color));
    }
    byteRecord(scFontPitch, font.Pitch, SaveFont.Pitch, true);
    byteRecord(scFontCharset, font.CharSet, SaveFont.CharSet, true);
    byteRecord(scFontBold, font.Bold, SaveFont.Bold, true);
    byteRecord(scFontItalic, font.Italic, SaveFont.Italic, true);
    byteRecord(scFontUnderline, font.Underline, SaveFont.Underline, true);
    byteRecord(scFontStrikeout, font.Strikeout, SaveFont.Strikeout, true);
    byteRecord(scFontSuperscript, font.Superscript, SaveFont.Superscript, false);
    byteRecord(scFontSubscript, font.Subscript, SaveFont.Subscript, false);
    if (WriteAll || font.Rotation != SaveFont.Rotation) {
        out.WriteByte(scFontRotation);
        out.WriteWord(static_cast<quint16>(font.Rotation));
    }
    byteRecord(scFontAlign, font.Align, SaveFont.Align, false);
    if (needHeight) {
        // Measuring realises the font; nothing it does may be recorded.
        double referenceWidth = 0.0;
        {
            FWritingFont = true;
            ScopeExit restore([this, held = FHoldOutput] {
                SetHoldOutput(held);
                FWritingFont = false;
            });
            SetHoldOutput(true);
            referenceWidth = TextWidth(ReferenceWidthText) * 100.0 / ScaleX();
        }
        out.WriteByte(scFontHeight);
        out.WriteFloat(font.Height);
        out.WriteFloat(referenceWidth);
    }
    SaveFont = font;
}

void TFoSnapshotWriter::WritePenState() {
    if (!CanWrite())
        return;
    TFoPen &pen = Canvas().Pen();
    TFoSnapshotOutput &out = *FOutput;
    if (WriteAll || pen.Color() != SavePenColor) {
        out.WriteByte(scPenColor);
        out.WriteInt(static_cast<qint32>(pen.Color()));
        SavePenColor = pen.Color();
    }
    if (WriteAll || pen.Mode() != SavePenMode) {
        out.WriteByte(scPenMode);
        out.WriteByte(static_cast<quint8>(pen.Mode()));
        SavePenMode = pen.Mode();
    }
    if (WriteAll || pen.Style() != SavePenStyle) {
        out.WriteByte(scPenStyle);
        out.WriteByte(static_cast<quint8>(pen.Style()));
        SavePenStyle = pen.Style();
    }
    if (WriteAll || pen.Width() != SavePenWidth) {
        out.WriteByte(scPenWidth);
        out.WriteFloat(double(pen.Width()) / XDPI());
        SavePenWidth = pen.Width();
    }
}

void TFoSnapshotWriter::ResetLineHeight() {
    TBaseReport::ResetLineHeight();
    if (!CanWrite())
        return;
    FOutput->WriteByte(scResetLineHeight);
    FOutput->WriteFloat(AscentHeight());
    FOutput->WriteFloat(DescentHeight());
    FOutput->WriteFloat(YU2I(LineHeight()));
}

void TFoSnapshotWriter::SetScaleX(double percent) {
    TBaseReport::SetScaleX(percent);
    if (CanWrite()) {
        FOutput->WriteByte(scScaleX);
        FOutput->WriteFloat(ScaleX());
    }
}

void TFoSnapshotWriter::SetScaleY(double percent) {
    TBaseReport::SetScaleY(percent);
    if (CanWrite()) {
        FOutput->WriteByte(scScaleY);
        FOutput->WriteFloat(ScaleY());
    }
}

void TFoSnapshotWriter::SetTextBKMode(TBKMode value) {
    TBaseReport::SetTextBKMode(value);
    if (CanWrite()) {
        FOutput->WriteByte(scTextBKMode);
        FOutput->WriteByte(static_cast<quint8>(value));
    }
}

void TFoSnapshotWriter::SetBKColor(TColor value) {
    TBaseReport::SetBKColor(value);
    if (CanWrite()) {
        FOutput->WriteByte(scBKColor);
        FOutput->WriteInt(static_cast<qint32>(Canvas().BkColor()));
    }
}

void TFoSnapshotWriter::SetFrameMode(TFrameMode value) {
    TBaseReport::SetFrameMode(value);
    if (CanWrite()) {
        FOutput->WriteByte(scFrameMode);
        FOutput->WriteByte(static_cast<quint8>(value));
    }
}

void TFoSnapshotWriter::SetOrientation(TOrientation value) {
    TBaseReport::SetOrientation(value);
    if (CanWrite()) {
        FOutput->WriteByte(scOrientation);
        FOutput->WriteByte(static_cast<quint8>(value));
    }
}

bool TFoSnapshotWriter::SelectBin(const QString &BinName) {
    const bool selected = TBaseReport::SelectBin(BinName);
    if (CanWrite()) {
        FOutput->WriteByte(scBin);
        FOutput->WriteString(BinName);
    }
    return selected;
}

void TFoSnapshotWriter::HyperlinkChanged() {
    // Not subject to the allowed destinations, but there must be a page to hold the record.
    if (FOutput && Printing() && FPageOpen && !FHoldOutput && !PageInvalid()) {
        FOutput->WriteByte(scHyperlink);
        FOutput->WriteString(HyperLink());
    }
}

void TFoSnapshotWriter::AllowPreviewOnly() {
    TBaseReport::AllowPreviewOnly();
    if (AllowMode != scAllowPreviewOnly && CanWrite()) {
        FOutput->WriteByte(scAllowPreviewOnly);
        AllowMode = scAllowPreviewOnly;
    }
}

void TFoSnapshotWriter::AllowPrinterOnly() {
    TBaseReport::AllowPrinterOnly();
    if (AllowMode != scAllowPrinterOnly && CanWrite()) {
        FOutput->WriteByte(scAllowPrinterOnly);
        AllowMode = scAllowPrinterOnly;
    }
}

void TFoSnapshotWriter::AllowAll() {
    TBaseReport::AllowAll();
    if (AllowMode != scAllowAll && CanWrite()) {
        FOutput->WriteByte(scAllowAll);
        AllowMode = scAllowAll;
    }
}

// ---- Graphics ---------------------------------------------------------------------------------------

void TFoSnapshotWriter::CheckGraphicIndex(const char *Operation, int Index) {
    if (Index < 1 || Index > GraphicSlots)
        throw EFolioReport(QStringLiteral("%1: Index must be between 1 and %2")
                               .arg(QLatin1String(Operation))
                               .arg(GraphicSlots));
}

void TFoSnapshotWriter::RegisterGraphic(int Index) {
    CheckGraphicIndex("RegisterGraphic", Index);
    GraphicPos[Index - 1] = LastGraphicPos;
}

void TFoSnapshotWriter::ReuseGraphic(int Index) {
    CheckGraphicIndex("ReuseGraphic", Index);
    ReuseGraphicPos = GraphicPos[Index - 1];
}

void TFoSnapshotWriter::UnregisterGraphic(int Index) {
    CheckGraphicIndex("UnregisterGraphic", Index);
    GraphicPos[Index - 1] = 0;
}

void TFoSnapshotWriter::WriteGraphic(quint8 Kind, const QByteArray &Bytes) {
    TFoSnapshotOutput &out = *FOutput;
    if (ReuseGraphicPos > 0) {
        out.WriteByte(Kind | GraphicReferenceFlag);
        out.WriteInt(static_cast<qint32>(ReuseGraphicPos));
        ReuseGraphicPos = 0;
        return;
    }
    LastGraphicPos = out.Position() + 1;
    out.WriteByte(Kind);
    out.WriteInt(static_cast<qint32>(Bytes.size()));
    out.Write(Bytes.constData(), Bytes.size());
}

void TFoSnapshotWriter::WriteImage(quint8 Kind, const QImage &Image, const char *Format) {
    const std::pair<quint8, qint64> identity{Kind, Image.cacheKey()};
    if (ReuseGraphicPos <= 0)
        if (const auto written = WrittenImages.find(identity); written != WrittenImages.end())
            ReuseGraphicPos = written->second;
    // A reference needs no bytes, so the picture is only encoded when it is written in full.
    if (ReuseGraphicPos > 0)
        return WriteGraphic(Kind, QByteArray());
    WriteGraphic(Kind, ImageFileBytes(Image, Format));
    WrittenImages[identity] = LastGraphicPos;
}

void TFoSnapshotWriter::WriteBitmap(const QImage &Bitmap) {
    WriteImage(gkBitmap, Bitmap, "BMP");
}

void TFoSnapshotWriter::WriteGraphic(const TFoGraphic &Graphic) {
    switch (Graphic.Kind) {
    case TGraphicKind::gkBitmap:
        return WriteImage(gkBitmap, Graphic.Image, "BMP");
    case TGraphicKind::gkIcon:
        return WriteImage(gkIcon, Graphic.Image, "ICO");
    case TGraphicKind::gkMetafile:
        return WriteGraphic(gkMetafile, Graphic.Data);
    case TGraphicKind::gkOther:
        return WriteGraphic(gkOther, Graphic.Data);
    }
}

// ---- Drawing records --------------------------------------------------------------------------------

void TFoSnapshotWriter::WritePoint(double X, double Y) {
    FOutput->WriteFloat(PageX(X));
    FOutput->WriteFloat(PageY(Y));
}

void TFoSnapshotWriter::WriteRect(const QRectF &Rect) {
    WritePoint(Rect.left(), Rect.top());
    WritePoint(Rect.right(), Rect.bottom());
}

void TFoSnapshotWriter::EmitArc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                double Y4) {
    WriteCode(scArc);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    WritePoint(X3, Y3);
    WritePoint(X4, Y4);
}

void TFoSnapshotWriter::EmitChord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                  double Y4) {
    WriteCode(scChord);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    WritePoint(X3, Y3);
    WritePoint(X4, Y4);
}

void TFoSnapshotWriter::EmitPie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                double Y4) {
    WriteCode(scPie);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    WritePoint(X3, Y3);
    WritePoint(X4, Y4);
}

void TFoSnapshotWriter::EmitEllipse(double X1, double Y1, double X2, double Y2) {
    WriteCode(scEllipse);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitRectangle(double X1, double Y1, double X2, double Y2) {
    WriteCode(scRectangle);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitTabRectangle(double X1, double Y1, double X2, double Y2) {
    WriteCode(scTabRectangle);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitRoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
    WriteCode(scRoundRect);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
    FOutput->WriteFloat(X3);
    FOutput->WriteFloat(Y3);
}

void TFoSnapshotWriter::EmitMoveTo(double X, double Y) {
    WriteCode(scMoveTo);
    WritePoint(X, Y);
}

void TFoSnapshotWriter::EmitLineTo(double X, double Y) {
    WriteCode(scLineTo);
    WritePoint(X, Y);
}

void TFoSnapshotWriter::EmitPolygon(std::span<const QPointF> Points) {
    if (Points.empty())
        return;
    // The highest index is a Word: a longer outline keeps its first 65536 points.
    const size_t count = std::min<size_t>(Points.size(), 65536);
    WriteCode(scPolygon);
    FOutput->WriteWord(static_cast<quint16>(count - 1));
    for (size_t i = 0; i < count; ++i)
        WritePoint(Points[i].x(), Points[i].y());
}

void TFoSnapshotWriter::EmitPolyline(std::span<const QPointF> Points) {
    if (Points.empty())
        return;
    const size_t count = std::min<size_t>(Points.size(), 65536);
    WriteCode(scPolyline);
    FOutput->WriteWord(static_cast<quint16>(count - 1));
    for (size_t i = 0; i < count; ++i)
        WritePoint(Points[i].x(), Points[i].y());
}

void TFoSnapshotWriter::EmitFillRect(const QRectF &Rect) {
    WriteCode(scFillRect);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitFrameRect(const QRectF &Rect) {
    WriteCode(scFrameRect);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitDrawFocusRect(const QRectF &Rect) {
    WriteCode(scDrawFocusRect);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitFloodFill(double X, double Y, TColor Color, TFillStyle FillStyle) {
    WriteCode(scFloodFill);
    WritePoint(X, Y);
    FOutput->WriteInt(static_cast<qint32>(Color));
    FOutput->WriteInt(static_cast<qint32>(FillStyle));
}

void TFoSnapshotWriter::EmitBrushCopy(const QRectF &Dest, const QImage &Bitmap, const QRectF &Source,
                                      TColor Color) {
    WriteCode(scBrushCopy);
    WriteBitmap(Bitmap);
    WriteRect(Dest);
    WriteRect(Source);
    FOutput->WriteInt(static_cast<qint32>(Color));
}

void TFoSnapshotWriter::EmitCopyRect(const QRectF &, TFoCanvas &, const QRectF &) {
    throw EFolioReport(QStringLiteral("CopyRect() not supported in file mode."));
}

void TFoSnapshotWriter::EmitDraw(double X, double Y, const TFoGraphic &Graphic) {
    WriteCode(scDraw);
    WriteGraphic(Graphic);
    WritePoint(X, Y);
}

void TFoSnapshotWriter::EmitStretchDraw(const QRectF &Rect, const TFoGraphic &Graphic) {
    WriteCode(scStretchDraw);
    WriteGraphic(Graphic);
    WriteRect(Rect);
}

void TFoSnapshotWriter::EmitPrintBitmap(double X, double Y, double ScaleX, double ScaleY,
                                        const QImage &Bitmap) {
    WriteCode(scTransparentBitmaps);
    FOutput->WriteBool(TransparentBitmaps());
    WriteCode(scPrintBitmap);
    WriteBitmap(Bitmap);
    WritePoint(X, Y);
    FOutput->WriteFloat(ScaleX);
    FOutput->WriteFloat(ScaleY);
}

void TFoSnapshotWriter::EmitPrintBitmapRect(double X1, double Y1, double X2, double Y2,
                                            const QImage &Bitmap) {
    WriteCode(scTransparentBitmaps);
    FOutput->WriteBool(TransparentBitmaps());
    WriteCode(scPrintBitmapRect);
    WriteBitmap(Bitmap);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitPrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                                           const QString &ImageType) {
    // Read first, so the count written is the count of bytes that follow it.
    const QByteArray bytes = ImageStream.readAll();
    WriteCode(scTransparentBitmaps);
    FOutput->WriteBool(TransparentBitmaps());
    WriteCode(scPrintImageRect);
    FOutput->WriteInt(static_cast<qint32>(bytes.size()));
    FOutput->Write(bytes.constData(), bytes.size());
    FOutput->WriteString(ImageType);
    WritePoint(X1, Y1);
    WritePoint(X2, Y2);
}

void TFoSnapshotWriter::EmitTextRect(const QRectF &Rect, double X, double Y, const QString &Text) {
    WriteCode(scTextRect);
    WriteRect(Rect);
    WritePoint(X, Y);
    FOutput->WriteString(Text);
}

void TFoSnapshotWriter::EmitPrintData(const QString &Value) {
    WriteCode(scPrintData);
    FOutput->WriteString(Value);
}

void TFoSnapshotWriter::EmitPrintDataStream(QIODevice &Stream, qint64 BufSize) {
    const QByteArray bytes = BufSize > 0 ? Stream.read(BufSize) : Stream.readAll();
    WriteCode(scPrintDataStream);
    FOutput->WriteInt(static_cast<qint32>(bytes.size()));
    FOutput->Write(bytes.constData(), bytes.size());
}

// ---- Text -------------------------------------------------------------------------------------------

bool TFoSnapshotWriter::NeedsPositionedText(const QString &Text) const {
    return FAccuracyMethod == TAccuracyMethod::amAppearance || FontRotation() != 0 || HasMarker(Text) ||
           Text.contains(QChar(kRichOpen)) || !Text.contains(QLatin1Char(' '));
}

void TFoSnapshotWriter::WriteTextRecord(quint8 Code, const QString &Text, double X) {
    WriteCode(Code);
    FOutput->WriteFloat(PageY(FCursorYPos));
    FOutput->WriteString(Text);
    FOutput->WriteFloat(PageX(X));
}

void TFoSnapshotWriter::WriteBlockRecord(const QString &Text, double X, double Width) {
    WriteCode(scBlockText);
    FOutput->WriteFloat(PageY(FCursorYPos));
    FOutput->WriteString(Text);
    FOutput->WriteFloat(PageX(X));
    FOutput->WriteFloat(Width * ScaleX() / 100.0);
}

void TFoSnapshotWriter::EmitLeftText(const QString &Text, double X) {
    const double width = XU2I(TextWidth(Text));
    if (NeedsPositionedText(Text))
        WriteTextRecord(scLeftText, Text, X);
    else
        WriteBlockRecord(Text, X, width * 10000.0 / (ScaleX() * ScaleX()));
    FCursorXPos = X * ScaleX() / 100.0;
    const double radians = FontRotation() * std::numbers::pi / 180.0;
    FCursorXPos += std::cos(radians) * width;
    FCursorYPos -= std::sin(radians) * width;
}

void TFoSnapshotWriter::EmitCenterText(const QString &Text, double X) {
    const double width = XU2I(TextWidth(Text));
    if (NeedsPositionedText(Text)) {
        WriteTextRecord(scCenterText, Text, X);
    } else {
        const double blockWidth = width * 10000.0 / (ScaleX() * ScaleX());
        WriteBlockRecord(Text, X - blockWidth / 2.0, blockWidth);
    }
    FCursorXPos = X * ScaleX() / 100.0;
    const double radians = FontRotation() * std::numbers::pi / 180.0;
    FCursorXPos += std::cos(radians) * width / 2.0;
    FCursorYPos -= std::sin(radians) * width / 2.0;
}

void TFoSnapshotWriter::EmitRightText(const QString &Text, double X) {
    if (NeedsPositionedText(Text)) {
        WriteTextRecord(scRightText, Text, X);
    } else {
        const double blockWidth = XU2I(TextWidth(Text)) * 10000.0 / (ScaleX() * ScaleX());
        WriteBlockRecord(Text, X - blockWidth, blockWidth);
    }
    FCursorXPos = X * ScaleX() / 100.0;
}

void TFoSnapshotWriter::EmitBlockText(const QString &Text, double X, double Width) {
    WriteBlockRecord(Text, X, Width);
    FCursorXPos = X + Width;
}

// ---- Page-independent variables ---------------------------------------------------------------------

TFoSnapshotWriter::TVarEntry *TFoSnapshotWriter::FindVar(const QString &Name) {
    for (TVarEntry &entry : VarList)
        if (entry.Name.compare(Name, Qt::CaseInsensitive) == 0)
            return &entry;
    return nullptr;
}

void TFoSnapshotWriter::WriteVarDefined(const QString &Value) {
    const quint8 length = VarLength(Value);
    FOutput->WriteByte(length);
    FOutput->WriteByte(length);
    for (int i = 0; i < length; ++i)
        FOutput->WriteWord(Value.at(i).unicode());
}

void TFoSnapshotWriter::WriteVarPlaceholder(qint64 BackReference) {
    FOutput->WriteByte(VarPlaceholderCapacity);
    FOutput->WriteByte(VarKindPlaceholder);
    FOutput->WriteInt(static_cast<qint32>(BackReference));
    const char zeros[VarPlaceholderCapacity - sizeof(qint32)] = {};
    FOutput->Write(zeros, sizeof zeros);
}

QString TFoSnapshotWriter::PIVar(const QString &VarName) {
    const QString marker = VariableMarker(VarName);
    // A placeholder's position is patched later, so it is only recorded where a page really holds it.
    if (!CanWrite())
        return marker;
    TVarEntry *entry = FindVar(VarName);
    if (entry && entry->Position > 0)
        return marker; // a placeholder is already pending
    const qint64 backReference = entry ? entry->Position : 0;
    FOutput->WriteByte(scVariableData);
    FOutput->WriteString(VarName);
    const qint64 position = FOutput->Position();
    WriteVarPlaceholder(backReference);
    if (entry)
        entry->Position = position;
    else
        VarList.push_back({VarName, position});
    return marker;
}

void TFoSnapshotWriter::SetPIVar(const QString &VarName, const QString &VarValue) {
    if (!FOutput || !Printing() || FHoldOutput)
        return;
    TVarEntry *entry = FindVar(VarName);
    if (entry && entry->Position > 0) {
        // Patch the pending placeholder in place: C stays the placeholder's, B is the value's length.
        const quint8 length = VarLength(VarValue);
        QByteArray patch;
        patch.append(char(VarPlaceholderCapacity));
        patch.append(char(length));
        for (int i = 0; i < length; ++i) {
            const char16_t unit = VarValue.at(i).unicode();
            patch.append(char(unit & 0xFF));
            patch.append(char(unit >> 8));
        }
        FOutput->Patch(entry->Position, patch.constData(), patch.size());
        std::erase_if(VarList, [entry](const TVarEntry &candidate) { return &candidate == entry; });
        return;
    }
    if (!CanWrite()) {
        // Pages outside the selection hold no records, but later pages still show the value.
        if (entry)
            *entry = {entry->Name, 0, VarValue};
        else
            VarList.push_back({VarName, 0, VarValue});
        return;
    }
    FOutput->WriteByte(scVariableData);
    FOutput->WriteString(VarName);
    const qint64 position = FOutput->Position();
    WriteVarDefined(VarValue);
    if (entry)
        *entry = {entry->Name, -position};
    else
        VarList.push_back({VarName, -position});
}

} // namespace fiscora
