#include "report/playback/FoSnapshotConverter.h"

#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/core/FoMacros.h"
#include "report/core/FoPageSelection.h"
#include "report/core/FoRichText.h"
#include "report/core/FoStreamAnsi.h"
#include "report/playback/FoRender.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QBuffer>
#include <QSet>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <vector>

namespace fiscora {

namespace {

constexpr int RichPixelsPerInch = 1248;
// Coordinates beyond this many inches are clamped, so renderers never convert absurd values to pixels.
constexpr double CoordLimit = 1.0e6;
// Bounds on marker expansion: a variable whose value names itself must not expand forever.
constexpr int MaxMarkerExpansions = 64;
constexpr qsizetype MaxExpandedLength = 1 << 16;
// Value blocks may refer to earlier ones; a chain longer than this is a loop.
constexpr int MaxVarReferenceDepth = 64;
// The smallest page record: code, two positions, page number and the page end.
constexpr qint64 MinPageRecordSize = 14;

[[noreturn]] void RaiseUnexpectedCode(int code) {
    RaiseSnapshotError(QStringLiteral("Unexpected code [%1] found in report file.").arg(code));
}

double Clamped(double value, double limit) {
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -limit, limit);
}

} // namespace

TFoConverter::TFoConverter(QIODevice &AStream, TFoRender &ARenderer)
    : FStream(AStream), FRenderer(ARenderer), FReader(AStream), FFontBitmap(std::make_unique<TFoCanvas>()) {
    FFontBitmap->SetDPI(RichPixelsPerInch);
    Font.OnChange = [this](TFoFont &font) {
        FFontNotified = true;
        FRenderer.FontChanged(font);
    };
    Pen.OnChange = [this](TFoPen &pen) {
        FPenNotified = true;
        FRenderer.PenChanged(pen);
    };
    Brush.OnChange = [this](TFoBrush &brush) {
        FBrushNotified = true;
        FRenderer.BrushChanged(brush);
    };
}

TFoConverter::~TFoConverter() = default;

// ---- Playback --------------------------------------------------------------------------------------

void TFoConverter::Generate(int APageNo, int /*APageCount*/) {
    FRenderer.Converter = this;
    FReportDateTime = QDateTime::currentDateTime();
    // The renderer's document ends however playback ends; renderers accept it even before DocBegin.
    ScopeExit docEnd([this] { FRenderer.DocEnd(); });
    ReportHeader = ReadSnapshotReportHeader(FReader, FRenderer.ForceAnsi());
    FRenderer.SetPaperBin(ReportHeader.Bin);
    FPageNo = 1;
    FCurrPagePos = FReader.Position();
    FRenderer.DocBegin();
    if (APageNo != 0) {
        GotoPage(APageNo);
        PlayPage();
    } else if (!FRenderer.Selection().isEmpty()) {
        // A stream cannot hold more pages than fit in its bytes, whatever its header claims.
        const qint64 pageLimit =
            std::min<qint64>(ReportHeader.PageCount, FReader.Size() / MinPageRecordSize + 1);
        for (int page = 1; page <= pageLimit; ++page) {
            if (!PageInRange(page))
                continue;
            GotoPage(page);
            if (FPageNo < page && FNextPagePos <= 0)
                break; // past the last page
            PlayPage();
        }
    } else {
        int last = FRenderer.LastPage();
        const int first = FRenderer.FirstPage();
        if (last == LastPageOfAll || last == 0 || (first == 1 && last == ReportHeader.PageCount)) {
            // In stream order, where the n-th page must be page n: a page numbered otherwise would end
            // playback early, or late, without a word.
            for (int page = 1;; ++page) {
                PlayPage(page);
                if (FPageNo >= ReportHeader.PageCount)
                    break;
            }
        } else {
            last = std::min(last, ReportHeader.PageCount);
            GotoPage(first);
            PlayPage();
            while (FPageNo < last)
                PlayPage();
        }
    }
}

bool TFoConverter::PageInRange(int PageNum) const {
    const QString &selection = FRenderer.Selection();
    if (selection.isEmpty())
        return PageNum >= ReportHeader.FirstPage && PageNum <= ReportHeader.LastPage;
    return PageInSelection(selection, PageNum);
}

void TFoConverter::GotoPage(int APageNum) {
    // After the last page the stream is at its end; the walk starts from the page played last.
    if (FCurrPagePos >= FReader.Size() && FPlayedPagePos > 0)
        FCurrPagePos = FPlayedPagePos;
    StartFromPageMark(APageNum);
    FReader.Seek(FCurrPagePos);
    if (APageNum == FPageNo)
        return;
    QSet<qint64> visited;
    auto step = [&](bool backward) {
        const qint64 position = FCurrPagePos;
        if (visited.contains(position))
            RaiseSnapshotError(QStringLiteral("Invalid page chain in report file."));
        visited.insert(position);
        FReader.Seek(position);
        PageHeader = ReadSnapshotPageHeader(FReader, ReportHeader);
        FPageNo = PageHeader.PageNo;
        FPrevPagePos = PageHeader.PrevPagePos;
        FNextPagePos = PageHeader.NextPagePos;
        const qint64 link = backward ? FPrevPagePos : FNextPagePos;
        if (link <= 0 || APageNum == FPageNo) {
            FReader.Seek(position);
            return false;
        }
        FCurrPagePos = link;
        FReader.Seek(link);
        return true;
    };
    while (APageNum < FPageNo && step(true)) {
    }
    while (APageNum > FPageNo && step(false)) {
    }
    FReader.Seek(FCurrPagePos);
}

void TFoConverter::StartFromPageMark(int APageNum) {
    const TFoPageMark mark = FRenderer.NextPage;
    if (mark.PageNo <= FPageNo || mark.PageNo > APageNum)
        return;
    // The mark may be left from another stream: it is taken only where that page's header is.
    try {
        FReader.Seek(mark.Position);
        TFoReportHeader report = ReportHeader;
        if (ReadSnapshotPageHeader(FReader, report).PageNo != mark.PageNo)
            return;
    } catch (const EFolioReport &) {
        return;
    }
    FCurrPagePos = mark.Position;
    FPageNo = mark.PageNo;
}

void TFoConverter::PlayPage(int ExpectedPageNo) {
    FReader.Seek(FCurrPagePos);
    FPlayedPagePos = FCurrPagePos;
    PageHeader = ReadSnapshotPageHeader(FReader, ReportHeader);
    if (ExpectedPageNo != 0 && PageHeader.PageNo != ExpectedPageNo)
        RaiseSnapshotError(QStringLiteral("Page %1 of %2 is missing from the report file.")
                               .arg(ExpectedPageNo)
                               .arg(ReportHeader.PageCount));
    if (ReportHeader.FileVer >= 2000 && !(PlausibleSnapshotSize(PageHeader.PaperWidth, false) &&
                                          PlausibleSnapshotSize(PageHeader.PaperHeight, false)))
        RaiseSnapshotError(QStringLiteral("Invalid page size found in report file."));
    FPageNo = PageHeader.PageNo;
    FPrevPagePos = PageHeader.PrevPagePos;
    FNextPagePos = PageHeader.NextPagePos;
    if (ReportHeader.FileVer >= 2000) {
        FRenderer.snPaperWidth = PageHeader.PaperWidth;
        FRenderer.snPaperHeight = PageHeader.PaperHeight;
    }
    FRenderer.PageBegin();
    for (;;) {
        const quint8 code = FReader.ReadByte();
        if (code == scPageEnd)
            break;
        DispatchRecord(code);
    }
    FRenderer.PageEnd();
    FCurrPagePos = FReader.Position();
    FRenderer.NextPage = FNextPagePos > 0 ? TFoPageMark{FPageNo + 1, FNextPagePos} : TFoPageMark{};
}

bool TFoConverter::Skipped() {
    const int kind = FRenderer.OutputKind();
    return kind > 7 || (FRenderer.ValidDestination & (1 << kind)) == 0;
}

void TFoConverter::DispatchRecord(quint8 Code) {
    switch (Code) {
    case scArc:
    case scChord:
    case scPie:
        return DoFourPoints(Code);
    case scBrushCopy:
        return DoBrushCopy();
    case scCopyRect:
        return DoCopyRect();
    case scDraw:
        return DoDraw();
    case scDrawFocusRect:
    case scFillRect:
    case scFrameRect:
        return DoRectRecord(Code);
    case scEllipse:
        return DoEllipse();
    case scFloodFill:
        return DoFloodFill();
    case scLineTo:
        return DoLineTo();
    case scMoveTo:
        return DoMoveTo();
    case scPolygon:
        return DoPolygon(true);
    case scPolyline:
        return DoPolygon(false);
    case scPrintBitmap:
        return DoPrintBitmap();
    case scPrintBitmapRect:
        return DoPrintBitmapRect();
    case scRectangle:
    case scTabRectangle:
        return DoRectangle();
    case scRoundRect:
        return DoRoundRect();
    case scStretchDraw:
        return DoStretchDraw();
    case scTextRect:
        return DoTextRect();
    case scCenterText:
    case scLeftText:
    case scRightText:
        return DoText(Code);
    case scTextBKMode:
        FRenderer.FTextBKMode = FReader.ReadByte() ? TBKMode::bkOpaque : TBKMode::bkTransparent;
        return;
    case scBKColor: {
        const auto colour = static_cast<TColor>(FReader.ReadInt());
        FRenderer.FBKColor = colour;
        FRenderer.BKColorChanged(colour);
        return;
    }
    case scScaleX:
    case scScaleY:
        FReader.ReadFloat();
        return;
    case scPrintData:
        return DoPrintData();
    case scPrintDataStream:
        return DoPrintDataStream();
    case scPrintSpaces:
    case scBlockText:
        return DoPrintSpaces();
    case scTransparentBitmaps:
        FRenderer.FTransparentBitmaps = FReader.ReadByte() != 0;
        return;
    case scFrameMode:
        FRenderer.snFrameMode = static_cast<TFrameMode>(std::min<quint8>(FReader.ReadByte(), 2));
        return;
    case scPrintImageRect:
        return DoPrintImageRect();
    case scVariableData:
        return DoVariableData();
    case scHyperlink:
        FRenderer.SetHyperlink(ReadText());
        return;
    case scBrush:
        return SetBrush();
    case scBrushColor:
        return SetBrushColor();
    case scBrushStyle:
        return SetBrushStyle();
    case scBrushBitmap:
        return SetBrushBitmap();
    case scFont:
        return SetFont();
    case scFontName: {
        const QString name = ReadText();
        SetFontAttribute([&] {
            FontData.Name = name;
            Font.SetName(name);
        });
        return;
    }
    case scFontColor: {
        const auto colour = static_cast<TColor>(FReader.ReadInt());
        SetFontAttribute([&] {
            FontData.Color = colour;
            Font.SetColor(colour);
        });
        return;
    }
    case scFontPitch: {
        const auto pitch = static_cast<TFontPitch>(std::min<quint8>(FReader.ReadByte(), 2));
        SetFontAttribute([&] {
            FontData.Pitch = pitch;
            Font.SetPitch(pitch);
        });
        return;
    }
    case scFontHeight:
        return SetFontHeight();
    case scFontBold: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Bold = on;
            Font.SetBold(on);
        });
        return;
    }
    case scFontUnderline: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Underline = on;
            Font.SetUnderline(on);
        });
        return;
    }
    case scFontItalic: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Italic = on;
            Font.SetItalic(on);
        });
        return;
    }
    case scFontStrikeout: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] {
            FontData.Strikeout = on;
            Font.SetStrikeout(on);
        });
        return;
    }
    case scFontSuperscript: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] { FontData.Superscript = on; });
        return;
    }
    case scFontSubscript: {
        const bool on = FReader.ReadByte() != 0;
        SetFontAttribute([&] { FontData.Subscript = on; });
        return;
    }
    case scFontRotation: {
        const int degrees = FReader.ReadSmallInt();
        SetFontAttribute(
            [&] { FontData.Rotation = static_cast<std::int16_t>(((degrees % 360) + 360) % 360); });
        return;
    }
    case scFontAlign: {
        const auto align = static_cast<TFontAlign>(std::min<quint8>(FReader.ReadByte(), 2));
        SetFontAttribute([&] { FontData.Align = align; });
        return;
    }
    case scFontCharset: {
        const quint8 charset = FReader.ReadByte();
        SetFontAttribute([&] {
            FontData.CharSet = charset;
            Font.SetCharSet(charset);
        });
        return;
    }
    case scPen:
        return SetPen();
    case scPenColor:
        return SetPenColor();
    case scPenMode:
        return SetPenMode();
    case scPenStyle:
        return SetPenStyle();
    case scPenWidth:
        return SetPenWidth();
    case scResetLineHeight:
        return DoResetLineHeight();
    case scAllowPreviewOnly:
        return FRenderer.AllowPreviewOnly();
    case scAllowPrinterOnly:
        return FRenderer.AllowPrinterOnly();
    case scAllowAll:
        return FRenderer.AllowAll();
    case scOrientation:
        ReportHeader.Orientation = static_cast<TOrientation>(std::min<quint8>(FReader.ReadByte(), 2));
        return;
    case scBin:
        FRenderer.SetBin(ReadText());
        return;
    default:
        RaiseUnexpectedCode(Code);
    }
}

// ---- Field readers ---------------------------------------------------------------------------------

double TFoConverter::ReadCoord() {
    return Clamped(FReader.ReadFloat(), CoordLimit);
}

QPointF TFoConverter::ReadPoint() {
    const double x = ReadCoord();
    return {x, ReadCoord()};
}

QRect TFoConverter::ReadRect() {
    const QPointF topLeft = ReadPoint();
    const QPointF bottomRight = ReadPoint();
    const int left = FRenderer.XI2D(topLeft.x());
    const int top = FRenderer.YI2D(topLeft.y());
    return QRect(left, top, FRenderer.XI2D(bottomRight.x()) - left, FRenderer.YI2D(bottomRight.y()) - top);
}

QString TFoConverter::ReadText() {
    return ExpandMarkers(FReader.ReadString());
}

TFoConverter::TGraphicBlock TFoConverter::ReadGraphicBlock() {
    TGraphicBlock block;
    block.Kind = FReader.ReadByte();
    FReuseGraphic = (block.Kind & GraphicReferenceFlag) != 0;
    block.Kind &= ~GraphicReferenceFlag;
    if (!FReuseGraphic) {
        block.Position = FReader.Position();
        FReader.Skip(FReader.ReadInt());
        return block;
    }
    // The block referred to must be there, whether or not its picture is ever drawn.
    block.Position = FReader.ReadInt();
    const qint64 resume = FReader.Position();
    FReader.Seek(block.Position);
    FReader.Require(FReader.ReadInt());
    FReader.Seek(resume);
    return block;
}

TFoPictureCache &TFoConverter::Pictures() {
    if (FRenderer.SharedPictures)
        return *FRenderer.SharedPictures;
    if (!FPictures)
        FPictures = std::make_unique<TFoPictureCache>();
    return *FPictures;
}

QImage TFoConverter::DecodeGraphic(const TGraphicBlock &Block, const char *Format) {
    return Pictures().Picture(Block.Position, Format, [this, &Block] {
        const qint64 resume = FReader.Position();
        FReader.Seek(Block.Position);
        QByteArray bytes = FReader.ReadBytes(FReader.ReadInt());
        FReader.Seek(resume);
        return bytes;
    });
}

// Bitmaps and icons load from their file bytes; other kinds give a null image and draw nothing.
QImage TFoConverter::DecodePicture(const TGraphicBlock &Block) {
    if (Block.Kind == gkBitmap)
        return DecodeGraphic(Block, "BMP");
    if (Block.Kind == gkIcon)
        return DecodeGraphic(Block, "ICO");
    return {};
}

// ---- Markers ---------------------------------------------------------------------------------------

QString TFoConverter::MacroText(int MacroID) const {
    TMacroValues values;
    values.When = FReportDateTime;
    values.FirstPage = ReportHeader.FirstPage;
    values.LastPage = ReportHeader.LastPage;
    values.TotalPages = ReportHeader.PageCount;
    values.CurrentPage = FPageNo;
    // Playback has no printer of the report's own to name.
    values.DeviceText = [](TMacroID) { return QStringLiteral("Render"); };
    values.UserTexts = FRenderer.MacroData();
    return fiscora::MacroText(MacroID, values);
}

QString TFoConverter::ExpandMarkers(const QString &Text) const {
    // Most texts hold no marker: a single-character scan settles that far faster than a substring search.
    if (!Text.contains(QChar(kMarkerChar)))
        return Text;
    qsizetype marker = Text.indexOf(MarkerPrefix());
    if (marker < 0)
        return Text;
    QString text = Text;
    int expansions = 0;
    while (marker >= 0) {
        if (++expansions > MaxMarkerExpansions || text.size() > MaxExpandedLength)
            break; // a self-referring value: leave the rest as it is
        const qsizetype kindAt = marker + MarkerPrefix().size();
        const QChar kind = kindAt < text.size() ? text.at(kindAt) : QChar();
        if (kind == QChar(kMacroKind)) {
            const QString digits = text.mid(kindAt + 1, 2);
            bool ok = false;
            const int id = digits.size() == 2 ? digits.toInt(&ok) : -1;
            text.replace(marker, std::min<qsizetype>(MarkerPrefix().size() + 3, text.size() - marker),
                         ok ? MacroText(id) : QString());
        } else if (kind == QChar(kVariableKind)) {
            const qsizetype nameAt = kindAt + 1;
            if (nameAt < text.size() && text.at(nameAt) == QChar(kVarNameStart)) {
                const qsizetype close = text.indexOf(QChar(kVarNameEnd), nameAt + 1);
                const qsizetype end = close < 0 ? text.size() : close + 1;
                const QString name = text.mid(nameAt + 1, (close < 0 ? text.size() : close) - nameAt - 1);
                text.replace(marker, end - marker, VarValue(name));
            } else {
                text.remove(marker, std::min<qsizetype>(MarkerPrefix().size() + 2, text.size() - marker));
            }
        } else {
            // Not a marker after all: look further on.
            marker = text.indexOf(MarkerPrefix(), marker + 1);
            continue;
        }
        marker = text.indexOf(MarkerPrefix());
    }
    return text;
}

QString TFoConverter::VarValue(const QString &Name) const {
    return FVarList.value(Name.toUpper());
}

// ---- Variables -------------------------------------------------------------------------------------

QString TFoConverter::ReadVarValue(bool &HasValue, int Depth) {
    if (Depth > MaxVarReferenceDepth)
        RaiseSnapshotError(QStringLiteral("Invalid variable reference found in report file."));
    TVarValueBlock block = FReader.ReadVarValueBlock();
    if (block.IsReference()) {
        if (block.Position == 0) {
            HasValue = false;
            return {};
        }
        const qint64 resume = FReader.Position();
        FReader.Seek(std::abs(static_cast<qint64>(block.Position)));
        QString value = ReadVarValue(HasValue, Depth + 1);
        FReader.Seek(resume);
        return value;
    }
    HasValue = block.Length != VarLengthUnchanged;
    return HasValue ? std::move(block.Value) : QString();
}

void TFoConverter::DoVariableData() {
    const QString name = FReader.ReadString();
    bool hasValue = false;
    const QString value = ReadVarValue(hasValue, 0);
    if (hasValue)
        FVarList.insert(name.toUpper(), value);
    else if (!FVarList.contains(name.toUpper()))
        FVarList.insert(name.toUpper(), QString());
}

// ---- Shapes ----------------------------------------------------------------------------------------

void TFoConverter::DoFourPoints(quint8 Code) {
    QPointF p[4];
    for (auto &point : p)
        point = ReadPoint();
    if (Skipped())
        return;
    const auto call = Code == scArc ? &TFoRender::Arc : Code == scChord ? &TFoRender::Chord : &TFoRender::Pie;
    (FRenderer.*call)(p[0].x(), p[0].y(), p[1].x(), p[1].y(), p[2].x(), p[2].y(), p[3].x(), p[3].y());
}

void TFoConverter::DoEllipse() {
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (!Skipped())
        FRenderer.Ellipse(a.x(), a.y(), b.x(), b.y());
}

void TFoConverter::DoRectangle() {
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (!Skipped())
        FRenderer.Rectangle(a.x(), a.y(), b.x(), b.y());
}

void TFoConverter::DoRoundRect() {
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    const double cornerWidth = ReadCoord();
    const double cornerHeight = ReadCoord();
    if (!Skipped())
        FRenderer.RoundRect(a.x(), a.y(), b.x(), b.y(), cornerWidth, cornerHeight);
}

void TFoConverter::DoMoveTo() {
    const QPointF point = ReadPoint();
    FXPos = point.x();
    FYPos = point.y();
}

void TFoConverter::DoLineTo() {
    const QPointF point = ReadPoint();
    if (!Skipped()) {
        const TColor colour = Brush.Color();
        const TBrushStyle style = Brush.Style();
        Brush.SetStyle(TBrushStyle::bsClear);
        FRenderer.MoveTo(FXPos, FYPos);
        FRenderer.LineTo(point.x(), point.y());
        Brush.SetColor(colour);
        Brush.SetStyle(style);
    }
    FXPos = point.x();
    FYPos = point.y();
}

void TFoConverter::DoPolygon(bool Closed) {
    const int highIndex = FReader.ReadWord();
    FReader.Require((highIndex + 1) * 8);
    std::vector<QPointF> points(highIndex + 1);
    for (auto &point : points)
        point = ReadPoint();
    if (Skipped())
        return;
    FRenderer.MoveTo(points[0].x(), points[0].y());
    if (Closed)
        FRenderer.Polygon(points, highIndex);
    else
        FRenderer.Polyline(points, highIndex);
}

void TFoConverter::DoRectRecord(quint8 Code) {
    const QRect rect = ReadRect();
    if (Skipped())
        return;
    if (Code == scFillRect)
        FRenderer.FillRect(rect);
    else if (Code == scFrameRect)
        FRenderer.FrameRect(rect);
    else
        FRenderer.DrawFocusRect(rect);
}

void TFoConverter::DoFloodFill() {
    const QPointF point = ReadPoint();
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto style = FReader.ReadInt() == 0 ? TFillStyle::fsSurface : TFillStyle::fsBorder;
    if (!Skipped())
        FRenderer.FloodFill(point.x(), point.y(), colour, style);
}

void TFoConverter::DoCopyRect() {
    const QRect dest = ReadRect();
    const int canvas = FReader.ReadInt();
    const QRect source = ReadRect();
    if (!Skipped())
        FRenderer.CopyRect(dest, canvas, source);
}

// ---- Pictures --------------------------------------------------------------------------------------

void TFoConverter::DoBrushCopy() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QRect dest = ReadRect();
    const QRect source = ReadRect();
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    if (block.Kind != gkBitmap || Skipped())
        return;
    const QImage bitmap = DecodeGraphic(block, "BMP");
    if (!bitmap.isNull())
        FRenderer.BrushCopy(dest, bitmap, source, colour);
}

void TFoConverter::DoDraw() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QPointF point = ReadPoint();
    if (Skipped())
        return;
    const QImage picture = DecodePicture(block);
    if (!picture.isNull())
        FRenderer.Draw(point.x(), point.y(), picture);
}

void TFoConverter::DoStretchDraw() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QRect rect = ReadRect();
    if (Skipped())
        return;
    const QImage picture = DecodePicture(block);
    if (!picture.isNull())
        FRenderer.StretchDraw(rect, picture);
}

void TFoConverter::DoPrintBitmap() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QPointF point = ReadPoint();
    const double scaleX = ReadCoord();
    const double scaleY = ReadCoord();
    if (block.Kind != gkBitmap || Skipped())
        return;
    const QImage bitmap = DecodeGraphic(block, "BMP");
    if (!bitmap.isNull())
        FRenderer.PrintBitmap(point.x(), point.y(), scaleX, scaleY, bitmap);
}

void TFoConverter::DoPrintBitmapRect() {
    const TGraphicBlock block = ReadGraphicBlock();
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (block.Kind != gkBitmap || Skipped())
        return;
    const QImage bitmap = DecodeGraphic(block, "BMP");
    if (!bitmap.isNull())
        FRenderer.PrintBitmapRect(a.x(), a.y(), b.x(), b.y(), bitmap);
}

void TFoConverter::DoPrintImageRect() {
    QByteArray bytes = FReader.ReadBytes(FReader.ReadInt());
    const QString imageType = ReadText();
    const QPointF a = ReadPoint();
    const QPointF b = ReadPoint();
    if (Skipped())
        return;
    QBuffer image(&bytes);
    image.open(QIODevice::ReadOnly);
    FRenderer.PrintImageRect(a.x(), a.y(), b.x(), b.y(), image, imageType);
}

// ---- Text ------------------------------------------------------------------------------------------

void TFoConverter::SetFontAttribute(const std::function<void()> &Change) {
    FFontNotified = false;
    Change();
    if (!FFontNotified)
        FRenderer.FontChanged(Font);
}

void TFoConverter::ApplyRichCommands(const QString &Commands) {
    Font.BeginUpdate();
    for (const TRichCommand &command : SplitRichCommands(Commands)) {
        if (command.Letter == QLatin1Char('A')) {
            if (!FMeasuring)
                FRenderer.SetHyperlink(command.Value);
            continue;
        }
        const TSaveFont before = FontData;
        ApplyRichCommand(FontData, command);
        FollowFontData(before);
    }
    Font.EndUpdate();
}

// The platform font follows the font description after a rich-text command. Size and width are
// taken over only when the command changed them: the description keeps them in inches.
void TFoConverter::FollowFontData(const TSaveFont &Before) {
    AssignFontAttributes(Font, FontData);
    if (FontData.Size != Before.Size)
        Font.SetSize(static_cast<int>(FontData.Size));
    if (FontData.Width != Before.Width)
        Font.SetWidth(0);
}

double TFoConverter::SegmentWidth(const QString &Text) {
    if (Text.isEmpty())
        return 0.0;
    TFoFont &measure = FFontBitmap->Font();
    measure.Assign(Font);
    measure.SetPixelsPerInch(RichPixelsPerInch);
    measure.SetSize(Font.Size());
    return FFontBitmap->TextWidthF(Text) / RichPixelsPerInch;
}

double TFoConverter::RichTextWidth(const QString &Value) {
    // Measuring must not leave the text's attributes behind: the first segment uses those in force before it.
    const TSaveFont savedData = FontData;
    TFoFont savedFont;
    savedFont.Assign(Font);
    auto handler = std::move(Font.OnChange);
    Font.OnChange = nullptr;
    FMeasuring = true;
    ScopeExit restore([&] {
        Font.Assign(savedFont);
        FontData = savedData;
        Font.OnChange = std::move(handler);
        FMeasuring = false;
    });
    double width = 0.0;
    for (const TRichSegment &segment : SplitRichText(Value)) {
        ApplyRichCommands(segment.Commands);
        width += SegmentWidth(segment.Text);
    }
    return width;
}

void TFoConverter::DoText(quint8 Code) {
    const double y = ReadCoord();
    const QString text = ReadText();
    double x = ReadCoord();
    if (text.isEmpty() || Skipped())
        return;
    if (!IsRichText(text)) {
        if (Code == scCenterText)
            FRenderer.CenterText(text, x, y);
        else if (Code == scLeftText)
            FRenderer.LeftText(text, x, y);
        else
            FRenderer.RightText(text, x, y);
        return;
    }
    if (Code == scCenterText)
        x -= RichTextWidth(text) / 2.0;
    else if (Code == scRightText)
        x -= RichTextWidth(text);
    double yPos = y;
    for (const TRichSegment &segment : SplitRichText(text)) {
        ApplyRichCommands(segment.Commands);
        if (segment.Text.isEmpty())
            continue;
        FRenderer.FontChanged(Font);
        FRenderer.LeftText(segment.Text, x, yPos);
        FRenderer.AdvanceAlongBaseline(x, yPos, SegmentWidth(segment.Text));
    }
}

void TFoConverter::DoPrintSpaces() {
    const double y = ReadCoord();
    const QString text = ReadText();
    double x = ReadCoord();
    const double width = ReadCoord();
    if (text.isEmpty() || Skipped())
        return;
    if (!IsRichText(text)) {
        FRenderer.PrintSpaces(text, x, y, width);
        return;
    }
    const std::vector<TRichSegment> segments = SplitRichText(text);
    int gaps = 0;
    for (const TRichSegment &segment : segments) {
        QString rest = segment.Text;
        int words = 0;
        while (!rest.isEmpty()) {
            FRenderer.TakeWord(rest);
            ++words;
        }
        gaps += std::max(0, words - 1);
    }
    const double extra = gaps == 0 ? 0.0 : (width - RichTextWidth(text)) / gaps;
    double yPos = y;
    for (const TRichSegment &segment : segments) {
        ApplyRichCommands(segment.Commands);
        QString rest = segment.Text;
        bool first = true;
        while (!rest.isEmpty()) {
            const QString word = FRenderer.TakeWord(rest);
            const double wordWidth = SegmentWidth(word);
            if (first) {
                FRenderer.FontChanged(Font);
                FRenderer.LeftText(word, x, yPos);
                FRenderer.AdvanceAlongBaseline(x, yPos, wordWidth);
                first = false;
            } else {
                FRenderer.AdvanceAlongBaseline(x, yPos, wordWidth + extra);
                FRenderer.RightText(word, x, yPos);
            }
        }
    }
}

void TFoConverter::DoTextRect() {
    const QRect rect = ReadRect();
    const QPointF point = ReadPoint();
    const QString text = ReadText();
    if (!Skipped())
        FRenderer.TextRect(rect, point.x(), point.y(), text);
}

void TFoConverter::DoPrintData() {
    const QString data = ReadText();
    if (!Skipped())
        FRenderer.PrintData(data);
}

void TFoConverter::DoPrintDataStream() {
    QByteArray bytes = FReader.ReadBytes(FReader.ReadInt());
    if (Skipped())
        return;
    QBuffer data(&bytes);
    data.open(QIODevice::ReadOnly);
    FRenderer.PrintDataStream(data, bytes.size());
}

void TFoConverter::DoResetLineHeight() {
    Ascent = ReadCoord();
    Descent = ReadCoord();
    LineHeight = ReadCoord();
}

// ---- Brushes, fonts, pens --------------------------------------------------------------------------

void TFoConverter::SetBrush() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto style = static_cast<TBrushStyle>(std::min<quint8>(FReader.ReadByte(), 7));
    const bool hasPattern = FReader.ReadByte() == 1;
    QImage pattern;
    if (hasPattern)
        pattern = DecodeGraphic(ReadGraphicBlock(), "BMP");
    FBrushNotified = false;
    Brush.SetColor(colour);
    Brush.SetStyle(style);
    if (hasPattern)
        Brush.SetBitmap(pattern);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetBrushColor() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    FBrushNotified = false;
    Brush.SetBitmap(QImage());
    Brush.SetColor(colour);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetBrushStyle() {
    const auto style = static_cast<TBrushStyle>(std::min<quint8>(FReader.ReadByte(), 7));
    FBrushNotified = false;
    Brush.SetStyle(style);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetBrushBitmap() {
    if (FReader.ReadByte() != 1)
        return; // the pattern stays until the next brush colour
    const QImage pattern = DecodeGraphic(ReadGraphicBlock(), "BMP");
    FBrushNotified = false;
    Brush.SetBitmap(pattern);
    if (!FBrushNotified)
        FRenderer.BrushChanged(Brush);
}

void TFoConverter::SetFont() {
    const QString name = FReader.ReadString();
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto pitch = static_cast<TFontPitch>(std::min<quint8>(FReader.ReadByte(), 2));
    const quint8 charset = ReportHeader.FileVer >= 2018 ? FReader.ReadByte() : DEFAULT_CHARSET;
    const double height = Clamped(FReader.ReadFloat(), 50.0);
    const bool bold = FReader.ReadByte() != 0;
    const bool italic = FReader.ReadByte() != 0;
    const bool strikeout = FReader.ReadByte() != 0;
    FReader.ReadByte();
    const int rotation = ReportHeader.FileVer >= 2000 ? FReader.ReadSmallInt() : 0;
    SetFontAttribute([&] {
        Font.BeginUpdate();
        FontData.Name = name;
        FontData.Color = colour;
        FontData.Pitch = pitch;
        FontData.CharSet = charset;
        FontData.Height = std::abs(height);
        FontData.Size = FontData.Height * 72.0;
        FontData.Bold = bold;
        FontData.Italic = italic;
        FontData.Strikeout = strikeout;
        FontData.Rotation = static_cast<std::int16_t>(((rotation % 360) + 360) % 360);
        Font.SetName(name);
        Font.SetColor(colour);
        Font.SetPitch(pitch);
        Font.SetCharSet(charset);
        Font.SetSize(static_cast<int>(std::lround(std::abs(height) * FRenderer.XDPI())));
        Font.SetBold(bold);
        Font.SetItalic(italic);
        Font.SetStrikeout(strikeout);
        Font.EndUpdate();
    });
}

void TFoConverter::SetFontHeight() {
    // Heights beyond 50 inches (3600 points) are absurd and clamped.
    const double height = std::abs(Clamped(FReader.ReadFloat(), 50.0));
    if (ReportHeader.FileVer >= 2000)
        FontReferenceWidth = ReadCoord();
    SetFontAttribute([&] {
        FontData.Height = height;
        FontData.Size = height * 72.0;
        Font.SetSize(static_cast<int>(std::lround(FontData.Size)));
    });
}

void TFoConverter::SetPen() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    const auto mode = static_cast<TPenMode>(std::min<quint8>(FReader.ReadByte(), 15));
    const auto style = static_cast<TPenStyle>(std::min<quint8>(FReader.ReadByte(), 8));
    const double width = Clamped(FReader.ReadFloat(), 1.0e8);
    TFoPen pen;
    pen.SetColor(colour);
    pen.SetMode(mode);
    pen.SetStyle(style);
    pen.SetWidth(static_cast<int>(std::lround(width / 10000.0)));
    FRenderer.PenChanged(pen);
}

void TFoConverter::SetPenColor() {
    const auto colour = static_cast<TColor>(FReader.ReadInt());
    FPenNotified = false;
    Pen.SetColor(colour);
    if (!FPenNotified)
        FRenderer.PenChanged(Pen);
}

void TFoConverter::SetPenMode() {
    const auto mode = static_cast<TPenMode>(std::min<quint8>(FReader.ReadByte(), 15));
    FPenNotified = false;
    Pen.SetMode(mode);
    if (!FPenNotified)
        FRenderer.PenChanged(Pen);
}

void TFoConverter::SetPenStyle() {
    const auto style = static_cast<TPenStyle>(std::min<quint8>(FReader.ReadByte(), 8));
    FPenNotified = false;
    Pen.SetStyle(style);
    if (!FPenNotified)
        FRenderer.PenChanged(Pen);
}

void TFoConverter::SetPenWidth() {
    FRenderer.snPenWidth = std::abs(ReadCoord());
    FRenderer.PenChanged(Pen);
}

} // namespace fiscora
