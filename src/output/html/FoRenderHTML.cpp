#include "output/html/FoRenderHTML.h"

#include "ScopeExit.h"
#include "output/files/FoJpegWriter.h"
#include "output/files/FoOutputFileSet.h"
#include "output/files/FoPictureRaster.h"
#include "output/html/FoColorGif.h"
#include "output/html/FoHtmlText.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoPictureCache.h"
#include "report/playback/FoSnapshotConverter.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <memory>

namespace fiscora {

namespace {

constexpr int PixelsPerInch = 96;
constexpr double OnePixel = 1.0 / PixelsPerInch;
constexpr int JpegQuality = 90;
constexpr int StretchDrawDPI = 300;
constexpr TColor clNoColor = 0x1FFFFFFF;
const QString kPageNoTag = QStringLiteral("{%PAGENO%}");

// Inches to pixels, halves to even as the platform's Round does.
int Pixels(double inches) {
    const double value = inches * PixelsPerInch;
    if (!std::isfinite(value))
        return 0;
    return static_cast<int>(std::clamp(std::nearbyint(value), -2147483647.0, 2147483647.0));
}

QString ColorHex(TColor colour) {
    const TColor rgb = ColorToRGB(colour);
    return QStringLiteral("%1%2%3")
        .arg(GetRValue(rgb), 2, 16, QLatin1Char('0'))
        .arg(GetGValue(rgb), 2, 16, QLatin1Char('0'))
        .arg(GetBValue(rgb), 2, 16, QLatin1Char('0'))
        .toUpper();
}

// The page files' name without and with its extension: B and E of "B1E", "B2E", …
struct TPageFileName {
    QString Base;
    QString Extension;
};

// What follows a ";" is cut (the file-type list of a format, "x.html;*.htm"); the extension is that
// of the file name, not of a folder; none, or a bare ".", takes the renderer's first file extension.
TPageFileName SplitOutputName(const QString &outputName, const QString &fileExtension) {
    const QString name = outputName.section(QLatin1Char(';'), 0, 0);
    const qsizetype fileStart = name.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    QString extension = dot >= fileStart ? name.mid(dot) : QString();
    const QString base = name.left(name.size() - extension.size());
    if (extension.isEmpty() || extension == QLatin1String(".")) {
        const qsizetype first = fileExtension.indexOf(QLatin1Char('.'));
        extension =
            first < 0 ? QStringLiteral(".html") : fileExtension.mid(first).section(QLatin1Char(';'), 0, 0);
    }
    return {base, extension};
}

QString PageFileName(const TPageFileName &name, int pageNo) {
    return name.Base + QString::number(pageNo) + name.Extension;
}

// "report{%PAGENO%}.html" for pages beside each other; the name's characters are written as a URL.
QString PageURLOf(const TPageFileName &name) {
    const QString base = QFileInfo(name.Base + QLatin1Char('x')).fileName().chopped(1);
    return QString::fromLatin1(QUrl::toPercentEncoding(base)) + kPageNoTag +
           QString::fromLatin1(QUrl::toPercentEncoding(name.Extension));
}

} // namespace

// Shared by the pages of one export: a picture repeated on many pages is decoded and written once.
struct TFoRenderHTML::TExportState {
    TFoPictureCache Pictures;
    QSet<QString> ColorFiles;                // colour images written
    QHash<qint64, QString> PictureFiles;     // by QImage::cacheKey of the picture
    QHash<QByteArray, QString> StretchFiles; // by picture, part shown and raster size
    qint64 StretchPixels = 0;                // of all the stretched pictures drawn
    int PictureNumber = 0;                   // of the last picture file named
};

TFoRenderHTML::TFoRenderHTML() {
    SetDisplayName(QStringLiteral("Web Page (HTML)"));
    SetFileExtension(QStringLiteral("*.html;*.htm"));
}

TFoRenderHTML::~TFoRenderHTML() = default;

void TFoRenderHTML::CreateColorGif(QIODevice &Stream, TColor Colour) {
    const QByteArray bytes = ColorGifBytes(Colour);
    if (Stream.write(bytes) != bytes.size())
        throw EFolioReport(QStringLiteral("Stream write error: %1").arg(Stream.errorString()));
}

// ---- Playback and files -----------------------------------------------------------------------------

void TFoRenderHTML::PrintRender(QIODevice *ASnapshotStream, const QString &AOutputFileName) {
    if (FRendering)
        return;
    FPrintRendering = true;
    ScopeExit reset([this] { FPrintRendering = false; });
    TFoRenderStream::PrintRender(ASnapshotStream, AOutputFileName);
}

void TFoRenderHTML::RenderPage(int PageNum) {
    if (FFiles) { // a page of an export already under way
        TFoRenderStream::RenderPage(PageNum);
        return;
    }
    if (!FSnapshotStream || FRendering)
        return;
    TFoOutputFileSet ownFiles;
    TFoOutputFileSet &files = FCollectingFiles ? *FCollectingFiles : ownFiles;
    files.Protect(FInputFileName);
    if (const auto *snapshotFile = qobject_cast<const QFile *>(FSnapshotStream))
        files.Protect(snapshotFile->fileName());
    TExportState state;
    FFiles = &files;
    FExport = &state;
    SharedPictures = &state.Pictures;
    ScopeExit detach([this] {
        FFiles = nullptr;
        FExport = nullptr;
        SharedPictures = nullptr;
    });
    if (FPrintRendering)
        RenderPageFiles();
    else
        TFoRenderStream::RenderPage(PageNum);
    if (&files == &ownFiles)
        files.Commit();
    FWrittenFiles = files.FileNames();
}

// One fresh renderer per page, writing into the page's file; the page count comes from playback.
void TFoRenderHTML::RenderPageFiles() {
    FRendering = true;
    ScopeExit idle([this] { FRendering = false; });
    const TPageFileName name = SplitOutputName(FOutputFileName, FFileExtension);
    int pageCount = 1;
    TFoPageMark nextPage;
    for (int page = 1; page <= pageCount; ++page) {
        if (!FSnapshotStream->seek(0))
            throw EFolioReport(QStringLiteral("Cannot rewind the report file."));
        TFoRenderHTML pageRenderer;
        pageRenderer.SetFileExtension(FFileExtension);
        pageRenderer.SetOutputFileName(FOutputFileName);
        pageRenderer.SetCacheDir(FCacheDir);
        pageRenderer.SetServerMode(FServerMode);
        // The page keeps the caller's template and space rule: dropping them would export pages
        // that differ from what was asked for.
        pageRenderer.FTemplate = FTemplate;
        pageRenderer.SetUseBreakingSpaces(FUseBreakingSpaces);
        pageRenderer.SetForceAnsi(FForceAnsi);
        pageRenderer.SetPageURL(QFileInfo(name.Base + kPageNoTag + name.Extension).fileName());
        pageRenderer.FFiles = FFiles;
        pageRenderer.FExport = FExport;
        pageRenderer.SetOutputStream(&FFiles->Create(PageFileName(name, page)));
        pageRenderer.SetSnapshotStream(FSnapshotStream);
        // Each page is found from where the last one ended, not by a walk from the first page.
        pageRenderer.NextPage = nextPage;
        pageRenderer.SharedPictures = &FExport->Pictures;
        pageRenderer.RenderPage(page);
        nextPage = pageRenderer.NextPage;
        // A header may claim more pages than the stream holds; playback then ends on its last page.
        if (pageRenderer.FPageNo != page)
            throw EFolioReport(QStringLiteral("Page %1 of %2 is missing from the report file.")
                                   .arg(page)
                                   .arg(pageRenderer.FPageCount));
        pageCount = pageRenderer.FPageCount;
    }
}

void TFoRenderHTML::DocBegin() {
    FLastFileNameIndex = 0;
    FPageCount = Converter ? Converter->PageCount() : 0;
}

void TFoRenderHTML::PageBegin() {
    ffMaxY = 0.0;
    FPageNo = Converter ? Converter->PageNo() : FPageNo + 1;
    const TPageFileName name = SplitOutputName(FOutputFileName, FFileExtension);
    FPageFolder = QFileInfo(name.Base + QLatin1Char('x')).absolutePath();
    if (!FServerMode)
        FPageURL = PageURLOf(name);
    if (!FOutputStream) {
        if (!FFiles)
            throw EFolioReport(QStringLiteral("HTML pages are written only during playback."));
        SetOutputStream(&FFiles->Create(PageFileName(name, FPageNo)));
        FUsingInternalStream = true;
    }
    PrintPageHead();
}

void TFoRenderHTML::PrintPageHead() {
    const TFoHtmlTagValues tags{FPageNo, FPageCount, 0};
    QString url = FPageURL;
    if (!FServerMode)
        url.replace(QLatin1Char('\\'), QLatin1Char('/'));
    const QString script = HtmlScriptBlock(url, FPageNo, FPageCount);
    if (FTemplate.Head().isEmpty()) {
        Print(SubstituteHtmlTags(FTemplate.Pre(), tags));
        Print(script);
        PrintLn(QStringLiteral("</HEAD>"));
        PrintLn(QStringLiteral("<BODY>"));
    } else {
        PrintLn(SubstituteHtmlTags(FTemplate.Head(), tags));
        Print(script);
        Print(SubstituteHtmlTags(FTemplate.Pre(), tags));
    }
}

void TFoRenderHTML::PageEnd() {
    const TFoHtmlTagValues tags{FPageNo, FPageCount, Pixels(ffMaxY + 1.0) + FTemplate.OffsetY()};
    Print(SubstituteHtmlTags(FTemplate.Post(), tags));
    if (FUsingInternalStream) {
        SetOutputStream(nullptr);
        FUsingInternalStream = false;
    }
}

// ---- Elements -----------------------------------------------------------------------------------------

void TFoRenderHTML::FontChanged(TFoFont &) {
    FFontText.clear();
}

void TFoRenderHTML::PenChanged(TFoPen &Pen) {
    FPenColor = Pen.Color();
    FPenDraws = Pen.Style() != TPenStyle::psClear;
}

void TFoRenderHTML::BrushChanged(TFoBrush &Brush) {
    FBrushColor = Brush.Color();
}

const QString &TFoRenderHTML::FontText() {
    if (!FFontText.isEmpty() || !Converter)
        return FFontText;
    const TSaveFont &font = Converter->FontData;
    // Sizes come from single-precision heights: hundredths of a point keep 10.5 and drop the noise.
    const double size = std::round(font.Size * 100.0) / 100.0;
    FFontText = QStringLiteral("font:") + QLatin1String(font.Italic ? "italic " : "normal ") +
                QLatin1String(font.Bold ? "bold " : "normal ") +
                QString::number(size, 'g', QLocale::FloatingPointShortest) + QStringLiteral("pt '") +
                HtmlFontFace(font.Name) + QLatin1Char('\'');
    if (font.Underline)
        FFontText += QStringLiteral(";text-decoration:underline");
    if (font.Color != clNoColor)
        FFontText += QStringLiteral(";color:#") + ColorHex(font.Color);
    return FFontText;
}

void TFoRenderHTML::PrintElement(const QString &Content, double X, double Y, double W, double H,
                                 TAlign Align) {
    ffMaxY = std::max(ffMaxY, Y + H);
    Print(QStringLiteral("<DIV STYLE=\""));
    if (Content.contains(QStringLiteral("<a href")))
        Print(QStringLiteral("z-index:1;"));
    QString line;
    line.reserve(Content.size() + 128);
    switch (Align) {
    case TAlign::Center:
        line += QStringLiteral("text-align:center;left:");
        break;
    case TAlign::Right:
        line += QStringLiteral("text-align:right;left:");
        break;
    case TAlign::Left:
        line += QStringLiteral("left:");
        break;
    }
    line += QString::number(Pixels(X) + FTemplate.OffsetX());
    line += QStringLiteral(";top:");
    line += QString::number(Pixels(Y) + FTemplate.OffsetY());
    line += QLatin1Char(';');
    if (W > 0)
        line += QStringLiteral("width:%1;").arg(Pixels(W));
    if (H > 0)
        line += QStringLiteral("height:%1;").arg(Pixels(H));
    line += FontText();
    line += QStringLiteral("\">");
    line += Content;
    line += QStringLiteral("</DIV>");
    PrintLn(line);
}

// The current hyperlink around the content; a link that would run script is left out.
QString TFoRenderHTML::LinkedContent(const QString &Content) const {
    const QString address = Converter ? Converter->Hyperlink : QString();
    if (address.isEmpty() || IsScriptAddress(address))
        return Content;
    return QStringLiteral("<a href=\"") + HtmlAttributeValue(address) + QStringLiteral("\">") + Content +
           QStringLiteral("</a>");
}

QString TFoRenderHTML::TextContent(const QString &Text) const {
    return LinkedContent(HtmlTextContent(Text, FUseBreakingSpaces));
}

double TFoRenderHTML::FontHeight() const {
    return Converter ? Converter->FontData.Height : 0.0;
}

double TFoRenderHTML::TextWidth(const QString &Text) const {
    return Converter ? Converter->RichTextWidth(Text) : 0.0;
}

void TFoRenderHTML::LeftText(const QString &Text, double X, double Y) {
    // One inch per character: wide enough that the browser never wraps the text.
    PrintElement(TextContent(Text), X, Y - FontHeight(), static_cast<double>(Text.size()), 0.0, TAlign::Left);
}

void TFoRenderHTML::CenterText(const QString &Text, double X, double Y) {
    PrintElement(TextContent(Text), 0.0, Y - FontHeight() - OnePixel, 2.0 * X, 0.0, TAlign::Center);
}

void TFoRenderHTML::RightText(const QString &Text, double X, double Y) {
    PrintElement(TextContent(Text), 0.0, Y - FontHeight(), X, 0.0, TAlign::Right);
}

void TFoRenderHTML::PrintSpaces(const QString &Text, double X, double Y, double Width) {
    PrintJustifiedLine(Text, X, Y, Width);
}

double TFoRenderHTML::JustifiedTextWidth(const QString &Text) {
    return TextWidth(Text);
}

// The HTML page counts the leading spaces among the gaps too.
int TFoRenderHTML::JustifiedGapCount(const QString &Text) {
    QString rest = Text;
    return InnerSpaceCount(rest) + static_cast<int>(TakeSpaces(rest).size());
}

void TFoRenderHTML::PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) {
    AdvanceAlongBaseline(X, Y, Advance);
    RightText(Text, X, Y);
}

// ---- Rules, boxes and pictures -------------------------------------------------------------------------

void TFoRenderHTML::ColorBox(TColor Colour, double X, double Y, double W, double H) {
    const QString hex = ColorHex(Colour);
    QString source;
    if (FServerMode) {
        source = QStringLiteral("/Color/") + hex + QStringLiteral(".gif");
    } else {
        const QString name = hex + QStringLiteral(".gif");
        const QString file = AssetFolder() + QLatin1Char('/') + name;
        if (FFiles && FExport && !FExport->ColorFiles.contains(file)) {
            if (!FFiles->Contains(file))
                CreateColorGif(FFiles->Create(file), Colour);
            FExport->ColorFiles.insert(file);
        }
        source = AssetReference(name);
    }
    const QString content = QStringLiteral("<IMG SRC=\"%1\" WIDTH=%2 HEIGHT=%3>")
                                .arg(source)
                                .arg(std::max(Pixels(W), 1))
                                .arg(std::max(Pixels(H), 1));
    PrintElement(content, X, Y, W, H, TAlign::Left);
}

void TFoRenderHTML::Rectangle(double X1, double Y1, double X2, double Y2) {
    const double left = std::min(X1, X2);
    const double top = std::min(Y1, Y2);
    const double w = std::abs(X2 - X1);
    const double h = std::abs(Y2 - Y1);
    ColorBox(FBrushColor, left, top, w, h);
    // As on the page: a clear pen draws no outline.
    if (!FPenDraws)
        return;
    ColorBox(FPenColor, left, top, OnePixel, h);
    ColorBox(FPenColor, left, top + h, w, OnePixel);
    ColorBox(FPenColor, left + w, top, OnePixel, h);
    ColorBox(FPenColor, left, top, w, OnePixel);
}

// A filled area has no outline, as on the page and in the PDF.
void TFoRenderHTML::FillRect(const QRect &Rect) {
    ColorBox(FBrushColor, Rect.x() / 72.0, Rect.y() / 72.0, Rect.width() / 72.0, Rect.height() / 72.0);
}

void TFoRenderHTML::LineTo(double X, double Y) {
    const double fromX = Converter ? Converter->FXPos : X;
    const double fromY = Converter ? Converter->FYPos : Y;
    if (X != fromX && Y != fromY)
        return; // only horizontal and vertical rules can be drawn with boxes
    ColorBox(FPenColor, std::min(X, fromX), std::min(Y, fromY), std::max(std::abs(X - fromX), OnePixel),
             std::max(std::abs(Y - fromY), OnePixel));
}

QString TFoRenderHTML::AssetFolder() const {
    if (FCacheDir.isEmpty())
        return FPageFolder;
    return QDir::cleanPath(QDir(FPageFolder).absoluteFilePath(FCacheDir));
}

QString TFoRenderHTML::AssetReference(const QString &Name) const {
    QString folder = FCacheDir;
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return HtmlAttributeValue(QString::fromLatin1(QUrl::toPercentEncoding(folder + Name, "/:")));
}

// The first free name "0000.jpg", "0001.jpg", … in the asset folder, on disk or among this export's files.
QString TFoRenderHTML::NextPictureName(const QString &Extension) {
    const QString folder = AssetFolder() + QLatin1Char('/');
    // Every number below the last one given was taken then: later pages need not try them again.
    if (FExport)
        FLastFileNameIndex = std::max(FLastFileNameIndex, FExport->PictureNumber);
    for (;; ++FLastFileNameIndex) {
        const QString name =
            QStringLiteral("%1.").arg(FLastFileNameIndex, 4, 10, QLatin1Char('0')) + Extension;
        if (!FFiles || FFiles->IsFree(folder + name)) {
            if (FExport)
                FExport->PictureNumber = FLastFileNameIndex;
            return name;
        }
    }
}

// The picture's file, written on its first use: playback hands a repeated picture over as the same
// image.
QString TFoRenderHTML::PictureFile(const QImage &Picture) {
    QString &name = FExport->PictureFiles[Picture.cacheKey()];
    if (name.isEmpty()) {
        const QString fresh = NextPictureName(QStringLiteral("jpg"));
        FFiles->Create(AssetFolder() + QLatin1Char('/') + fresh).write(JpegFromImage(Picture, JpegQuality));
        name = fresh;
    }
    return name;
}

void TFoRenderHTML::PlacePicture(double X1, double Y1, double X2, double Y2, const QString &Name) {
    const QString source = FServerMode ? QStringLiteral("/Cache/") + Name : AssetReference(Name);
    const QString content = LinkedContent(QStringLiteral("<IMG Src=\"%1\" width=%2 height=%3>")
                                              .arg(source)
                                              .arg(Pixels(X2 - X1))
                                              .arg(Pixels(Y2 - Y1)));
    PrintElement(content, X1, Y1, X2 - X1, Y2 - Y1, TAlign::Left);
}

void TFoRenderHTML::PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) {
    if (Bitmap.isNull() || !FFiles || !FExport)
        return;
    PlacePicture(X1, Y1, X2, Y2, PictureFile(Bitmap));
}

// Only the part of the graphic on the page is drawn, on a raster of at most MaxRasterPixels.
void TFoRenderHTML::StretchDraw(const QRect &Rect, const QImage &Graphic) {
    if (Graphic.isNull() || !FFiles || !FExport)
        return;
    const QPointF from(Rect.x() / 72.0, Rect.y() / 72.0);
    const QPointF to((Rect.x() + Rect.width()) / 72.0, (Rect.y() + Rect.height()) / 72.0);
    const TFoStretchRaster plan =
        PlanStretchRaster(from, to, QSizeF(snPaperWidth, snPaperHeight), Graphic.size(), StretchDrawDPI);
    if (plan.Size.isEmpty())
        return;
    QByteArray key;
    QDataStream(&key, QIODevice::WriteOnly) << Graphic.cacheKey() << plan.Source << plan.Size;
    QString &name = FExport->StretchFiles[key];
    if (name.isEmpty()) {
        FExport->StretchPixels += qint64(plan.Size.width()) * plan.Size.height();
        if (FExport->StretchPixels > MaxExportRasterPixels)
            throw EFolioReport(
                QStringLiteral("The stretched pictures of the report need more than %1 pixels.")
                    .arg(MaxExportRasterPixels));
        name = PictureFile(DrawStretchRaster(Graphic, plan, QImage::Format_RGB32));
    }
    PlacePicture(plan.From.x(), plan.From.y(), plan.To.x(), plan.To.y(), name);
}

} // namespace fiscora
