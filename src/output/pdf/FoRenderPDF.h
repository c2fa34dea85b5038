#pragma once

#include "output/pdf/FoPdfFonts.h"
#include "output/pdf/FoPdfImages.h"
#include "output/pdf/FoPdfObjects.h"
#include "output/pdf/FoPdfTextShaper.h"
#include "report/playback/FoRenderStream.h"

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace fiscora {

// The document information strings; empty ones are left out of the file.
struct TFoPDFDocInfo {
    QString Title;
    QString Author;
    QString Subject;
    QString KeyWords;
    QString Creator;
    QString Producer;
};

// Turns a page snapshot into a PDF 1.3 file (Parts 5.3 and 5.7). The document is assembled in memory
// and written to the output at document end.
class TFoRenderPDF : public TFoRenderStream {
public:
    TFoRenderPDF();
    ~TFoRenderPDF() override;

    // ---- Properties and their defaults ----
    bool BufferDocument = true;
    bool DisableHyperlinks = false;
    bool EmbedFonts = false;
    bool EmbedBaseFonts = false;
    int ImageQuality = 90;
    int MetafileDPI = 300;
    TPDFFontEncoding FontEncoding = TPDFFontEncoding::feWinAnsiEncoding;
    TFoPDFDocInfo DocInfo;
    // Texts with characters outside Windows-1252 are laid out as the preview lays them out and shown in
    // embedded subsets of the fonts that layout chose.
    bool UnicodeFallback = true;
    // The creation date; when unset, SOURCE_DATE_EPOCH (UTC) if the environment has it, else now (local).
    std::optional<QDateTime> CreationDate;

    // Renders the whole snapshot into the named file (".pdf" appended to a name without any ".").
    void PrintRender(QIODevice *ASnapshotStream, const QString &AOutputFileName) override;
    // The file name PrintRender writes for a name.
    QString OutputNameFor(const QString &AOutputFileName) const;

    // ---- Renderer operations ----
    void DocBegin() override;
    void DocEnd() override;
    void PageBegin() override;
    void PageEnd() override;
    void FontChanged(TFoFont &Font) override;
    void LeftText(const QString &Text, double X, double Y) override;
    void CenterText(const QString &Text, double X, double Y) override;
    void RightText(const QString &Text, double X, double Y) override;
    void PrintSpaces(const QString &Text, double X, double Y, double Width) override;
    void PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) override;
    double JustifiedTextWidth(const QString &Text) override;
    void TextRect(const QRect &Rect, double X, double Y, const QString &Text) override;
    void MoveTo(double X, double Y) override;
    void LineTo(double X, double Y) override;
    void Rectangle(double X1, double Y1, double X2, double Y2) override;
    void FillRect(const QRect &Rect) override;
    void Ellipse(double X1, double Y1, double X2, double Y2) override;
    void RoundRect(double X1, double Y1, double X2, double Y2, double X3, double Y3) override;
    void Arc(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
    void Chord(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4,
               double Y4) override;
    void Pie(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4) override;
    void Polyline(std::span<const QPointF> Points, int HighIndex) override;
    void Polygon(std::span<const QPointF> Points, int HighIndex) override;
    void PrintBitmap(double X, double Y, double ScaleX, double ScaleY, const QImage &Bitmap) override;
    void PrintBitmapRect(double X1, double Y1, double X2, double Y2, const QImage &Bitmap) override;
    void StretchDraw(const QRect &Rect, const QImage &Graphic) override;
    void Draw(double X, double Y, const QImage &Graphic) override;

    // ---- Writer steps (GenerateBook runs them in this order; FoRenderPDFFile.cpp) ----
    void GenerateBook();
    void SetIDs();
    void WriteHeader();
    void WriteCatalog();
    void WriteOutlinesObject();
    void WritePagesObject();
    void WritePages();
    void WriteProcSet();
    void WriteFonts();
    void WritePatterns();
    void WriteXObjects();
    void WriteDocInfo();
    void WriteXRef();
    void WriteTrailer();
    void WriteStartXRef();
    void WriteEof();
    void RegisterObject(int ID) { FFile.RegisterObject(ID); }

    // ---- Text and image placement ----
    void PrintLeft(const QString &Text, double X, double Y);
    void PrintCenter(const QString &Text, double X, double Y);
    void PrintRight(const QString &Text, double X, double Y);
    void PrintShifted(const QString &Text, double X, double Y, double Shift);
    // Width in inches of the text in the current font (resolving it first).
    double TextWidth(const QString &Text);
    // The resource name of a new image object for the JPEG bytes (or the existing one for the same
    // picture).
    QByteArray AddJPG(const QByteArray &Jpeg, int Width, int Height, quint64 PictureKey);
    void PrintJPG(double X1, double Y1, double X2, double Y2, const QByteArray &Name);

    // ---- Document state, read by the document objects ----
    const std::vector<std::unique_ptr<TFoPDFPage>> &Pages() const { return FPageList; }
    const std::vector<std::unique_ptr<TFoPDFFont>> &Fonts() const { return FFontList; }
    const std::vector<std::unique_ptr<TFoPDFPattern>> &Patterns() const { return FPatternList; }
    const std::vector<std::unique_ptr<TFoPDFXObject>> &XObjects() const { return FXObjectList; }
    TFoPDFCatalog *FCatalogObject = nullptr;
    TFoPDFOutlines *FOutlinesObject = nullptr;
    TFoPDFPages *FPagesObject = nullptr;
    TFoPDFProcSet *FProcSetObject = nullptr;
    TFoPDFPage *FCurrentPageObject = nullptr;
    TFoPDFFont *FCurrentFontObject = nullptr;
    qint64 XRefPos = 0;
    // Streaming mode: the last object number given.
    int FCurrentID = 0;
    double FFontSize = 12.0;
    int FFontRotation = 0;
    bool FUnderlineFont = false;
    bool FStrikeoutFont = false;
    bool FFontChanged = true;
    bool FirstNewPage = true;

    bool DoStroke() const;
    bool DoFill() const;

private:
    void CreatePDFObjects();
    void FreePDFObjects();
    void ClearResources();
    void ClearXObjects();
    // File assembly (FoRenderPDFFile.cpp). Streaming mode (BufferDocument false): objects are numbered
    // as they are written.
    bool Streaming() const { return !BufferDocument; }
    void StreamNewFont(TFoPDFFont &Font);
    void StreamPage(TFoPDFPage &Page);
    void StreamDocEnd();
    void FlushFile();
    // Font choice (FoRenderPDFFonts.cpp).
    void ResolveFont();
    TFoPDFFont *FindOrCreateFont(const TFoPDFFontRequest &Request);
    QString BaseFontName(const TFoPDFFontRequest &Request);
    bool IsTrueType(const QString &Face, bool Bold, bool Italic);
    // Shaped text (FoRenderPDFShaped.cpp).
    bool ShowsShaped(const TFoPDFFont &Font, QStringView Text) const;
    const TShapedText &Shaped(const QString &Text);
    TFoPDFGlyphFont *GlyphFontFor(const QRawFont &GlyphFont, quint32 Glyph);
    void ShowShapedText(const TShapedText &Text, double X, double Y);
    QFont LayoutFont() const;
    // Text output (FoRenderPDFText.cpp).
    void AddLink(const QString &Address, double X1, double Y1, double X2, double Y2);
    void ShowText(TFoPDFFont &Font, const QString &Text, double X, double Y);
    // "BT" and the text colour when it changed; the size shown; the baseline moved for super- and
    // subscript.
    void BeginText(TFoPDFPage &Page);
    double ShownFontSize() const { return FFontSuperSub ? FFontSize * 0.62 : FFontSize; }
    double ShiftedBaseline(double Y) const;

    // Drawing helpers (FoRenderPDFDraw.cpp).
    void TakePlaybackColours();
    void SetPenAndBrush();
    void PaintPath(bool Closed = false);
    QByteArray PatternFor(TBrushStyle Style, TColor Colour);
    void WriteArcPath(double X1, double Y1, double X2, double Y2, double X3, double Y3, double X4, double Y4,
                      bool &Written);
    void PageLine(double X1, double Y1, double X2, double Y2);
    void ImageFromRaster(double X1, double Y1, double X2, double Y2, const QImage &Raster);
    double PX(double X) const { return X * 72.0; }
    double PY(double Y) const { return (FCurrentPageObject->FPageHeight - Y) * 72.0; }
    QByteArray &Content() { return FCurrentPageObject->FPageContent; }
    TPenStyle PenStyle() const;
    TBrushStyle BrushStyle() const;

    TFoPDFFile FFile;
    std::unique_ptr<TFoPDFCatalog> FCatalog;
    std::unique_ptr<TFoPDFOutlines> FOutlines;
    std::unique_ptr<TFoPDFPages> FPages;
    std::unique_ptr<TFoPDFProcSet> FProcSet;
    std::vector<std::unique_ptr<TFoPDFPage>> FPageList;
    std::vector<std::unique_ptr<TFoPDFFont>> FFontList;
    QHash<QString, TFoPDFFont *> FFontIndex;
    std::vector<std::unique_ptr<TFoPDFPattern>> FPatternList;
    QHash<QByteArray, TFoPDFPattern *> FPatternIndex;
    std::vector<std::unique_ptr<TFoPDFXObject>> FXObjectList;
    QHash<quint64, TFoPDFXObject *> FXObjectIndex;
    // The image of each picture already placed, by its QImage::cacheKey: playback hands a repeated
    // picture over as the same image, which needs neither hashing nor encoding again.
    QHash<qint64, QByteArray> FPictureNames;
    // The image of each stretched picture already drawn, by picture, part and raster size; and the
    // pixels of all the rasters drawn, which MaxExportRasterPixels bounds.
    QHash<QByteArray, QByteArray> FStretchNames;
    qint64 FStretchPixels = 0;
    QHash<QString, bool> FTrueTypeFaces;
    // The fonts shaped text is shown in, one per laid-out font.
    std::vector<TFoPDFGlyphFont *> FGlyphFonts;
    // Shaped texts by playback font (face, style, pitch) and text: a report repeats its headers. A map,
    // so that the current font's entry stays where it is.
    std::map<QString, QHash<QString, TShapedText>> FShapedTexts;
    QHash<QString, TShapedText> *FCurrentShapedTexts = nullptr;
    TFoPDFFontRequest FCurrentRequest;
    bool FFontSuperSub = false;
    // Brush style forced clear (lines) or pen forced clear (fill rectangles) for one call.
    bool FForceClearBrush = false;
    bool FForceClearPen = false;
    bool FDocumentOpen = false;
    bool FOwnsOutputForRender = false;
};

} // namespace fiscora
