#include "report/playback/FoSnapshotConverter.h"

#include "report/core/FoMacros.h"
#include "report/playback/FoRender.h"
#include "report/playback/FoSnapshotMarkers.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <algorithm>
#include <cmath>

namespace fiscora {

namespace {

// Coordinates beyond this many inches are clamped, so renderers never convert absurd values to pixels.
constexpr double CoordLimit = 1.0e6;
// Value blocks may refer to earlier ones; a chain longer than this is a loop.
constexpr int MaxVarReferenceDepth = 64;

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

bool TFoConverter::Skipped() {
    const int kind = FRenderer.OutputKind();
    return kind > 7 || (FRenderer.ValidDestination & (1 << kind)) == 0;
}

// ---- Field readers ---------------------------------------------------------------------------------

double TFoConverter::ReadClamped(double Limit) {
    const double value = FReader.ReadFloat();
    if (std::isnan(value))
        return 0.0;
    return std::clamp(value, -Limit, Limit);
}

double TFoConverter::ReadCoord() {
    return ReadClamped(CoordLimit);
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
    return ExpandSnapshotMarkers(
        Text, [this](int MacroID) { return MacroText(MacroID); },
        [this](const QString &Name) { return VarValue(Name); });
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

} // namespace fiscora
