#include "report/playback/FoRender.h"

#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotConverter.h"

#include <QFile>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace fiscora {

namespace {

// The process's renderers with their display names, in registration order.
std::vector<TFoRendererEntry> &Registry() {
    static std::vector<TFoRendererEntry> entries;
    return entries;
}

void Unregister(TFoRender *renderer) {
    auto &entries = Registry();
    std::erase_if(entries, [renderer](const TFoRendererEntry &entry) { return entry.Renderer == renderer; });
    if (entries.empty())
        entries.shrink_to_fit();
}

} // namespace

TFoRender::TFoRender() {
    Registry().push_back({QString(), this});
}

TFoRender::~TFoRender() {
    Unregister(this);
}

void TFoRender::SetDisplayName(const QString &value) {
    FDisplayName = value;
    Unregister(this);
    Registry().push_back({value, this});
}

void ListRenderers(std::vector<TFoRendererEntry> &Strings) {
    Strings.clear();
    for (const auto &entry : Registry())
        if (entry.Renderer->Active())
            Strings.push_back(entry);
}

QString RendererFilter() {
    QStringList pairs;
    for (const auto &entry : Registry())
        if (entry.Renderer->Active())
            pairs << entry.DisplayName + QLatin1Char('|') + entry.Renderer->FileExtension();
    return pairs.join(QLatin1Char('|'));
}

// ---- Operations with a base behaviour ---------------------------------------------------------------

void TFoRender::BKColorChanged(TColor) {}
void TFoRender::AllowPreviewOnly() {
    ValidDestination = (ValidDestination & ~1) | 2;
}
void TFoRender::AllowPrinterOnly() {
    ValidDestination = (ValidDestination & ~2) | 1;
}
void TFoRender::AllowAll() {
    ValidDestination |= 3;
}
quint8 TFoRender::OutputKind() {
    return okPrinter;
}

void TFoRender::SetHyperlink(const QString &Text) {
    if (Converter)
        Converter->Hyperlink = Text;
}

void TFoRender::PrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                               const QString &ImageType) {
    if (!OnDecodeImage)
        return;
    QImage bitmap;
    OnDecodeImage(*this, ImageStream, ImageType, bitmap);
    PrintBitmapRect(X1, Y1, X2, Y2, bitmap);
}

int TFoRender::InnerSpaceCount(const QString &Text) {
    qsizetype first = 0;
    while (first < Text.size() && Text.at(first) == QLatin1Char(' '))
        ++first;
    qsizetype last = Text.size() - 1;
    while (last >= first && Text.at(last) == QLatin1Char(' '))
        --last;
    int count = 0;
    for (qsizetype i = first; i <= last; ++i)
        if (Text.at(i) == QLatin1Char(' '))
            ++count;
    return count;
}

QString TFoRender::TakeWord(QString &Text) {
    qsizetype i = 0;
    while (i < Text.size() && Text.at(i) == QLatin1Char(' '))
        ++i;
    while (i < Text.size() && Text.at(i) != QLatin1Char(' '))
        ++i;
    QString word = Text.left(i);
    Text.remove(0, i);
    return word;
}

QString TFoRender::TakeSpaces(QString &Text) {
    qsizetype i = 0;
    while (i < Text.size() && Text.at(i) == QLatin1Char(' '))
        ++i;
    QString spaces = Text.left(i);
    Text.remove(0, i);
    return spaces;
}

void TFoRender::PrintJustifiedLine(const QString &Text, double X, double Y, double Width) {
    QString rest = Text;
    int gaps = JustifiedGapCount(rest);
    if (gaps == 0) {
        // A single word is spread by the gaps between its letters.
        QString spread;
        spread.reserve(rest.size() * 2);
        for (qsizetype i = 0; i < rest.size(); ++i) {
            spread += rest.at(i);
            if (i + 1 < rest.size() && rest.at(i) != QLatin1Char(' ') && rest.at(i + 1) != QLatin1Char(' ')) {
                spread += QLatin1Char(' ');
                ++gaps;
            }
        }
        rest = spread;
    }
    const double perGap =
        (Width - JustifiedTextWidth(rest)) / std::max(1, gaps) + JustifiedTextWidth(QStringLiteral(" "));
    const QString first = TakeWord(rest);
    LeftText(first, X, Y);
    AdvanceAlongBaseline(X, Y, JustifiedTextWidth(first));
    while (!rest.isEmpty()) {
        const QString spaces = TakeSpaces(rest);
        const QString word = TakeWord(rest);
        if (word.isEmpty())
            break;
        PrintJustifiedWord(X, Y, spaces + word, JustifiedTextWidth(word) + perGap * double(spaces.size()));
    }
}

double TFoRender::JustifiedTextWidth(const QString &Text) {
    return Converter ? Converter->RichTextWidth(Text) : 0.0;
}

int TFoRender::JustifiedGapCount(const QString &Text) {
    return InnerSpaceCount(Text);
}

void TFoRender::AdvanceAlongBaseline(double &X, double &Y, double Width) {
    const int rotation = Converter ? Converter->FontData.Rotation : 0;
    if (rotation != 0) {
        const double radians = rotation * std::numbers::pi / 180.0;
        X += std::cos(radians) * Width;
        Y -= std::sin(radians) * Width;
    } else {
        X += Width;
    }
}

int TFoRender::XDPI() {
    return 72;
}
int TFoRender::YDPI() {
    return 72;
}
QString TFoRender::GetFileExtension() {
    return FFileExtension;
}

int RoundToDevice(double value) {
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(std::nearbyint(value), -2147483647.0, 2147483647.0));
}

int TFoRender::XI2D(double Pos) {
    return RoundToDevice(Pos * XDPI());
}
int TFoRender::YI2D(double Pos) {
    return RoundToDevice(Pos * YDPI());
}

// ---- Operations that do nothing in the base ----------------------------------------------------------

void TFoRender::Arc(double, double, double, double, double, double, double, double) {}
void TFoRender::BrushChanged(TFoBrush &) {}
void TFoRender::Chord(double, double, double, double, double, double, double, double) {}
void TFoRender::CenterText(const QString &, double, double) {}
void TFoRender::Ellipse(double, double, double, double) {}
void TFoRender::FontChanged(TFoFont &) {}
void TFoRender::LeftText(const QString &, double, double) {}
void TFoRender::LineTo(double, double) {}
void TFoRender::MoveTo(double, double) {}
void TFoRender::Pie(double, double, double, double, double, double, double, double) {}
void TFoRender::Polyline(std::span<const QPointF>, int) {}
void TFoRender::Polygon(std::span<const QPointF>, int) {}
void TFoRender::RightText(const QString &, double, double) {}
void TFoRender::PenChanged(TFoPen &) {}
void TFoRender::PrintBitmapRect(double, double, double, double, const QImage &) {}
void TFoRender::PrintBitmap(double, double, double, double, const QImage &) {}
void TFoRender::StretchDraw(const QRect &, const QImage &) {}
void TFoRender::Draw(double, double, const QImage &) {}
void TFoRender::PrintSpaces(const QString &, double, double, double) {}
void TFoRender::Rectangle(double, double, double, double) {}
void TFoRender::FillRect(const QRect &) {}
void TFoRender::TextRect(const QRect &, double, double, const QString &) {}
void TFoRender::RoundRect(double, double, double, double, double, double) {}
void TFoRender::PrintJustifiedWord(double &, double &, const QString &, double) {}
void TFoRender::SetBin(const QString &) {}
void TFoRender::SetPaperBin(int) {}
void TFoRender::PrintData(const QString &) {}
void TFoRender::PrintDataStream(QIODevice &, qint64) {}
void TFoRender::FrameRect(const QRect &) {}
void TFoRender::FloodFill(double, double, TColor, TFillStyle) {}
void TFoRender::BrushCopy(const QRect &, const QImage &, const QRect &, TColor) {}
void TFoRender::CopyRect(const QRect &, int, const QRect &) {}
void TFoRender::DrawFocusRect(const QRect &) {}
void TFoRender::DocBegin() {}
void TFoRender::DocEnd() {}
void TFoRender::PageBegin() {}
void TFoRender::PageEnd() {}

// ---- Playback ---------------------------------------------------------------------------------------

void TFoRender::SetSnapshotStream(QIODevice *value) {
    if (value == FSnapshotStream)
        return;
    CloseSnapshot();
    FSnapshotStream = value;
    NextPage = {};
}

void TFoRender::CloseSnapshot() {
    if (FIsInternalSnapshotStream) {
        NextPage = {};
        FSnapshotStream = nullptr;
        FOwnedSnapshotStream.reset();
        FIsInternalSnapshotStream = false;
    }
}

void TFoRender::Render(QIODevice *ASnapshotStream) {
    if (FRendering)
        return;
    if (ASnapshotStream)
        SetSnapshotStream(ASnapshotStream);
    if (!FSnapshotStream) {
        auto file = std::make_unique<QFile>(FInputFileName);
        if (!file->open(QIODevice::ReadOnly))
            throw CannotOpenFileError(FInputFileName, file->errorString());
        FSnapshotStream = file.get();
        FOwnedSnapshotStream = std::move(file);
        FIsInternalSnapshotStream = true;
    }
    RenderPage(0);
}

void TFoRender::Render(const QString &AInputFileName) {
    FInputFileName = AInputFileName;
    SetSnapshotStream(nullptr);
    Render(static_cast<QIODevice *>(nullptr));
}

void TFoRender::RenderPage(int PageNum) {
    if (!FSnapshotStream)
        return;
    TFoConverter converter(*FSnapshotStream, *this);
    FRendering = true;
    // Clears the playback state however playback ends.
    ScopeExit done([this] {
        Converter = nullptr;
        FRendering = false;
    });
    converter.Generate(PageNum, 0);
}

void TFoRender::PrintRender(QIODevice *ASnapshotStream, const QString &AOutputFileName) {
    FOutputFileName = AOutputFileName;
    Render(ASnapshotStream);
}

} // namespace fiscora
