#include "report/playback/FoSnapshotRecorder.h"

namespace fiscora {

namespace {

void AddNumbers(TFoRecordedCall &call, std::initializer_list<double> values) {
    for (const double value : values)
        call.Args.push_back({QString(), value});
}

void AddRect(TFoRecordedCall &call, const QRect &rect) {
    AddNumbers(call, {double(rect.x()), double(rect.y()), double(rect.x() + rect.width()),
                      double(rect.y() + rect.height())});
}

void AddText(TFoRecordedCall &call, const QString &text) {
    call.Args.push_back({QString(), text});
}

void AddImage(TFoRecordedCall &call, const QImage &image) {
    AddNumbers(call, {double(image.width()), double(image.height())});
}

} // namespace

TFoRecordedCall &TFoSnapshotRecorder::Add(const char *Name) {
    Calls.push_back({QString::fromLatin1(Name), {}});
    return Calls.back();
}

std::vector<TFoRecordedCall> TFoSnapshotRecorder::CallsNamed(const QString &Name) const {
    std::vector<TFoRecordedCall> found;
    for (const auto &call : Calls)
        if (call.Name == Name)
            found.push_back(call);
    return found;
}

QString TFoSnapshotRecorder::CallNames() const {
    QStringList names;
    for (const auto &call : Calls)
        names << call.Name;
    return names.join(QLatin1Char(' '));
}

void TFoSnapshotRecorder::BKColorChanged(TColor Colour) {
    AddNumbers(Add("BKColorChanged"), {double(Colour)});
}

void TFoSnapshotRecorder::AllowPreviewOnly() {
    TFoRender::AllowPreviewOnly();
    Add("AllowPreviewOnly");
}

void TFoSnapshotRecorder::AllowPrinterOnly() {
    TFoRender::AllowPrinterOnly();
    Add("AllowPrinterOnly");
}

void TFoSnapshotRecorder::AllowAll() {
    TFoRender::AllowAll();
    Add("AllowAll");
}

void TFoSnapshotRecorder::SetHyperlink(const QString &Text) {
    TFoRender::SetHyperlink(Text);
    AddText(Add("SetHyperlink"), Text);
}

void TFoSnapshotRecorder::Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                              double Y4) {
    AddNumbers(Add("Arc"), {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
}

void TFoSnapshotRecorder::BrushChanged(TFoBrush &Brush) {
    auto &call = Add("BrushChanged");
    call.Args.push_back({QStringLiteral("Color"), double(Brush.Color())});
    call.Args.push_back({QStringLiteral("Style"), double(static_cast<int>(Brush.Style()))});
    call.Args.push_back({QStringLiteral("Pattern"), Brush.Bitmap().isNull() ? 0.0 : 1.0});
}

void TFoSnapshotRecorder::Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                                double Y4) {
    AddNumbers(Add("Chord"), {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
}

void TFoSnapshotRecorder::CenterText(const QString &Text, double X, double Y) {
    auto &call = Add("CenterText");
    AddText(call, Text);
    AddNumbers(call, {X, Y});
}

void TFoSnapshotRecorder::Ellipse(double X1, double Y1, double X2, double Y2) {
    AddNumbers(Add("Ellipse"), {X1, Y1, X2, Y2});
}

void TFoSnapshotRecorder::FontChanged(TFoFont &Font) {
    auto &call = Add("FontChanged");
    call.Args.push_back({QStringLiteral("Name"), Font.Name()});
    call.Args.push_back({QStringLiteral("Size"), double(Font.Size())});
    call.Args.push_back({QStringLiteral("Color"), double(Font.Color())});
    call.Args.push_back({QStringLiteral("Pitch"), double(static_cast<int>(Font.Pitch()))});
    call.Args.push_back({QStringLiteral("CharSet"), double(Font.CharSet())});
    call.Args.push_back({QStringLiteral("Bold"), Font.Bold() ? 1.0 : 0.0});
    call.Args.push_back({QStringLiteral("Italic"), Font.Italic() ? 1.0 : 0.0});
    call.Args.push_back({QStringLiteral("Underline"), Font.Underline() ? 1.0 : 0.0});
    call.Args.push_back({QStringLiteral("Strikeout"), Font.Strikeout() ? 1.0 : 0.0});
}

void TFoSnapshotRecorder::LeftText(const QString &Text, double X, double Y) {
    auto &call = Add("LeftText");
    AddText(call, Text);
    AddNumbers(call, {X, Y});
}

void TFoSnapshotRecorder::LineTo(double X, double Y) {
    AddNumbers(Add("LineTo"), {X, Y});
}

void TFoSnapshotRecorder::MoveTo(double X, double Y) {
    AddNumbers(Add("MoveTo"), {X, Y});
}

void TFoSnapshotRecorder::Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
                              double Y4) {
    AddNumbers(Add("Pie"), {X1, Y1, X2, Y2, X3, Y3, X4, Y4});
}

void TFoSnapshotRecorder::Polyline(std::span<const QPointF> Points, int HighIndex) {
    auto &call = Add("Polyline");
    for (const QPointF &point : Points)
        AddNumbers(call, {point.x(), point.y()});
    AddNumbers(call, {double(HighIndex)});
}

void TFoSnapshotRecorder::Polygon(std::span<const QPointF> Points, int HighIndex) {
    auto &call = Add("Polygon");
    for (const QPointF &point : Points)
        AddNumbers(call, {point.x(), point.y()});
    AddNumbers(call, {double(HighIndex)});
}

void TFoSnapshotRecorder::RightText(const QString &Text, double X, double Y) {
    auto &call = Add("RightText");
    AddText(call, Text);
    AddNumbers(call, {X, Y});
}

void TFoSnapshotRecorder::PenChanged(TFoPen &Pen) {
    auto &call = Add("PenChanged");
    call.Args.push_back({QStringLiteral("Color"), double(Pen.Color())});
    call.Args.push_back({QStringLiteral("Mode"), double(static_cast<int>(Pen.Mode()))});
    call.Args.push_back({QStringLiteral("Style"), double(static_cast<int>(Pen.Style()))});
    call.Args.push_back({QStringLiteral("Width"), double(Pen.Width())});
}

void TFoSnapshotRecorder::PrintImageRect(double X1, double Y1, double X2, double Y2, QIODevice &ImageStream,
                                         const QString &ImageType) {
    auto &call = Add("PrintImageRect");
    AddNumbers(call, {X1, Y1, X2, Y2, double(ImageStream.size())});
    AddText(call, ImageType);
}

void TFoSnapshotRecorder::PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) {
    auto &call = Add("PrintBitmapRect");
    AddNumbers(call, {X1, Y1, X2, Y2});
    AddImage(call, Bitmap);
}

void TFoSnapshotRecorder::PrintBitmap(double X, double Y, double ScaleX, double ScaleY,
                                      const QImage &Bitmap) {
    auto &call = Add("PrintBitmap");
    AddNumbers(call, {X, Y, ScaleX, ScaleY});
    AddImage(call, Bitmap);
}

void TFoSnapshotRecorder::StretchDraw(const QRect &Rect, const QImage &Graphic) {
    auto &call = Add("StretchDraw");
    AddRect(call, Rect);
    AddImage(call, Graphic);
}

void TFoSnapshotRecorder::Draw(double X, double Y, const QImage &Graphic) {
    auto &call = Add("Draw");
    AddNumbers(call, {X, Y});
    AddImage(call, Graphic);
}

void TFoSnapshotRecorder::PrintSpaces(const QString &Text, double X, double Y, double Width) {
    auto &call = Add("PrintSpaces");
    AddText(call, Text);
    AddNumbers(call, {X, Y, Width});
}

void TFoSnapshotRecorder::Rectangle(double X1, double Y1, double X2, double Y2) {
    AddNumbers(Add("Rectangle"), {X1, Y1, X2, Y2});
}

void TFoSnapshotRecorder::FillRect(const QRect &Rect) {
    AddRect(Add("FillRect"), Rect);
}

void TFoSnapshotRecorder::TextRect(const QRect &Rect, double X, double Y, const QString &Text) {
    auto &call = Add("TextRect");
    AddRect(call, Rect);
    AddNumbers(call, {X, Y});
    AddText(call, Text);
}

void TFoSnapshotRecorder::RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) {
    AddNumbers(Add("RoundRect"), {X1, Y1, X2, Y2, X3, Y3});
}

void TFoSnapshotRecorder::SetBin(const QString &BinName) {
    AddText(Add("SetBin"), BinName);
}

void TFoSnapshotRecorder::SetPaperBin(int Bin) {
    AddNumbers(Add("SetPaperBin"), {double(Bin)});
}

void TFoSnapshotRecorder::PrintData(const QString &Text) {
    AddText(Add("PrintData"), Text);
}

void TFoSnapshotRecorder::PrintDataStream(QIODevice &Stream, qint64 Length) {
    auto &call = Add("PrintDataStream");
    AddNumbers(call, {double(Length)});
    AddText(call, QString::fromLatin1(Stream.read(Length).toHex()));
}

void TFoSnapshotRecorder::FrameRect(const QRect &Rect) {
    AddRect(Add("FrameRect"), Rect);
}

void TFoSnapshotRecorder::FloodFill(double X, double Y, TColor Colour, TFillStyle FillStyle) {
    AddNumbers(Add("FloodFill"), {X, Y, double(Colour), double(static_cast<int>(FillStyle))});
}

void TFoSnapshotRecorder::BrushCopy(const QRect &DestRect, const QImage &Bitmap, const QRect &SourceRect,
                                    TColor Colour) {
    auto &call = Add("BrushCopy");
    AddRect(call, DestRect);
    AddImage(call, Bitmap);
    AddRect(call, SourceRect);
    AddNumbers(call, {double(Colour)});
}

void TFoSnapshotRecorder::CopyRect(const QRect &DestRect, int Canvas, const QRect &SourceRect) {
    auto &call = Add("CopyRect");
    AddRect(call, DestRect);
    AddNumbers(call, {double(Canvas)});
    AddRect(call, SourceRect);
}

void TFoSnapshotRecorder::DrawFocusRect(const QRect &Rect) {
    AddRect(Add("DrawFocusRect"), Rect);
}
void TFoSnapshotRecorder::DocBegin() {
    Add("DocBegin");
}
void TFoSnapshotRecorder::DocEnd() {
    Add("DocEnd");
}
void TFoSnapshotRecorder::PageBegin() {
    Add("PageBegin");
}
void TFoSnapshotRecorder::PageEnd() {
    Add("PageEnd");
}

} // namespace fiscora
