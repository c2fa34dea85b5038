// The PDF renderer: document structure, object numbering, file assembly and text output.
#include "output/pdf/FoRenderPDF.h"

#include "output/pdf/FoPdfFormat.h"
#include "report/core/FoErrors.h"
#include "report/playback/FoSnapshotConverter.h"

#include <QFile>
#include <QTimeZone>

#include <cmath>
#include <numbers>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

TFoRenderPDF::TFoRenderPDF() {
    FFileExtension = QStringLiteral("*.pdf");
}

TFoRenderPDF::~TFoRenderPDF() = default;

QString TFoRenderPDF::OutputNameFor(const QString &AOutputFileName) const {
    if (AOutputFileName.contains(QLatin1Char('.')))
        return AOutputFileName;
    QString extension = FFileExtension;
    const qsizetype dot = extension.indexOf(QLatin1Char('.'));
    if (dot < 0)
        return AOutputFileName;
    extension = extension.mid(dot);
    const qsizetype semicolon = extension.indexOf(QLatin1Char(';'));
    if (semicolon >= 0)
        extension.truncate(semicolon);
    return AOutputFileName + extension;
}

void TFoRenderPDF::PrintRender(QIODevice *ASnapshotStream, const QString &AOutputFileName) {
    FOutputFileName = OutputNameFor(AOutputFileName);
    const bool ownOutput = !FOutputStream;
    if (ownOutput)
        InitFileStream(FOutputFileName);
    struct TCloseOutput {
        TFoRenderPDF &Renderer;
        bool Own;
        ~TCloseOutput() {
            if (Own) {
                Renderer.FOwnedStream.reset();
                Renderer.FOutputStream = Renderer.FActiveStream = nullptr;
            }
        }
    } close{*this, ownOutput};
    Render(ASnapshotStream);
}

bool TFoRenderPDF::DoStroke() const {
    return PenStyle() != TPenStyle::psClear;
}
bool TFoRenderPDF::DoFill() const {
    return BrushStyle() != TBrushStyle::bsClear;
}
TPenStyle TFoRenderPDF::PenStyle() const {
    if (FForceClearPen)
        return TPenStyle::psClear;
    return Converter ? Converter->Pen.Style() : TPenStyle::psSolid;
}
TBrushStyle TFoRenderPDF::BrushStyle() const {
    if (FForceClearBrush)
        return TBrushStyle::bsClear;
    return Converter ? Converter->Brush.Style() : TBrushStyle::bsSolid;
}

// ---- Document --------------------------------------------------------------------------------------

void TFoRenderPDF::CreatePDFObjects() {
    FFile = TFoPDFFile();
    FFile.Data.reserve(1 << 20);
    FCatalog = std::make_unique<TFoPDFCatalog>(*this);
    FPages = std::make_unique<TFoPDFPages>(*this);
    FOutlines = std::make_unique<TFoPDFOutlines>(*this);
    FProcSet = std::make_unique<TFoPDFProcSet>(*this);
    FCatalogObject = FCatalog.get();
    FPagesObject = FPages.get();
    FOutlinesObject = FOutlines.get();
    FProcSetObject = FProcSet.get();
    FPageList.clear();
    FPageList.push_back(std::make_unique<TFoPDFPage>(*this));
    FCurrentPageObject = FPageList.back().get();
    ClearResources();
}

// Fonts, patterns and pictures: what a document's pages refer to.
void TFoRenderPDF::ClearResources() {
    FCurrentFontObject = nullptr;
    FFontList.clear();
    FFontIndex.clear();
    FGlyphFonts.clear();
    FShapedTexts.clear();
    FCurrentShapedTexts = nullptr;
    FPatternList.clear();
    FPatternIndex.clear();
    ClearXObjects();
}

void TFoRenderPDF::ClearXObjects() {
    FXObjectList.clear();
    FXObjectIndex.clear();
    FPictureNames.clear();
    FStretchNames.clear();
    FStretchPixels = 0;
}

void TFoRenderPDF::FreePDFObjects() {
    FCurrentPageObject = nullptr;
    FPageList.clear();
    ClearResources();
    FCatalogObject = nullptr;
    FPagesObject = nullptr;
    FOutlinesObject = nullptr;
    FProcSetObject = nullptr;
    FCatalog.reset();
    FPages.reset();
    FOutlines.reset();
    FProcSet.reset();
    FFile = TFoPDFFile();
}

void TFoRenderPDF::DocBegin() {
    // Played through Render() (the report system's file destination) rather than PrintRender:
    // the output is opened here.
    FOwnsOutputForRender = false;
    if (!FOutputStream && !FOutputFileName.isEmpty()) {
        InitFileStream(OutputNameFor(FOutputFileName));
        FOwnsOutputForRender = true;
    }
    FFontChanged = true;
    CreatePDFObjects();
    FFontSize = 12.0;
    FirstNewPage = true;
    FDocumentOpen = true;
    if (Streaming()) {
        // Catalog 1, outline root 2, page tree 3 and procedure set 4 are numbered now; the page tree and
        // the procedure set (which depends on the images) are written at document end.
        FCatalog->FID = 1;
        FOutlines->FID = 2;
        FPages->FID = 3;
        FProcSet->FID = 4;
        FCurrentID = 4;
        WriteHeader();
        WriteCatalog();
        WriteOutlinesObject();
        FlushFile();
    }
}

void TFoRenderPDF::FlushFile() {
    if (!FOutputStream || FFile.Data.isEmpty())
        return;
    const QByteArray &data = FFile.Data;
    constexpr qint64 chunk = 1 << 20;
    for (qint64 written = 0; written < data.size();) {
        const qint64 size = std::min(chunk, data.size() - written);
        const qint64 result = FOutputStream->write(data.constData() + written, size);
        if (result <= 0)
            throw EFolioReport(QStringLiteral("Cannot write the PDF file \"%1\": %2")
                                   .arg(FOutputFileName, FOutputStream->errorString()));
        written += result;
    }
    FFile.Base += data.size();
    FFile.Data.clear();
}

void TFoRenderPDF::StreamNewFont(TFoPDFFont &Font) {
    Font.SetIDs(FCurrentID);
    // A font whose widths, maps or embedded subset grow with the text shown is written at document end.
    if (!Font.DependsOnTextShown())
        Font.WriteObject(FFile);
}

void TFoRenderPDF::StreamPage(TFoPDFPage &Page) {
    if (Page.FID != 0)
        return;
    Page.FID = FCurrentID + 1;
    FCurrentID += 2;
    for (auto &link : Page.FLinks)
        link->FID = ++FCurrentID;
    std::vector<TFoPDFXObject *> images;
    for (auto &image : FXObjectList)
        if (image->FID == 0) {
            image->FID = ++FCurrentID;
            images.push_back(image.get());
        }
    Page.WriteObject(FFile);
    Page.WriteContent(FFile);
    for (auto &link : Page.FLinks)
        link->WriteObject(FFile);
    for (TFoPDFXObject *image : images) {
        image->WriteObject(FFile);
        image->FImage.clear(); // written; a repetition refers to the object by its name
    }
    Page.FPageContent.clear();
    Page.FPageContent.squeeze();
    Page.FLinks.clear();
    FlushFile();
}

void TFoRenderPDF::StreamDocEnd() {
    StreamPage(*FCurrentPageObject);
    for (auto &font : FFontList)
        if (font->DependsOnTextShown()) {
            font->SetLateIDs(FCurrentID);
            font->WriteObject(FFile);
        }
    WritePagesObject();
    WriteProcSet();
    WriteDocInfo();
    WriteXRef();
    WriteTrailer();
    WriteStartXRef();
    WriteEof();
}

void TFoRenderPDF::PageBegin() {
    if (Streaming() && !FirstNewPage)
        StreamPage(*FCurrentPageObject);
    if (FirstNewPage) {
        FirstNewPage = false;
    } else {
        auto page = std::make_unique<TFoPDFPage>(*this);
        page->FTextColor = FCurrentPageObject->FTextColor;
        page->FPenColor = FCurrentPageObject->FPenColor;
        page->FBrushColor = FCurrentPageObject->FBrushColor;
        FPageList.push_back(std::move(page));
        FCurrentPageObject = FPageList.back().get();
    }
    if (snPaperWidth > 0 && snPaperHeight > 0) {
        FCurrentPageObject->FPageWidth = snPaperWidth;
        FCurrentPageObject->FPageHeight = snPaperHeight;
    }
}

void TFoRenderPDF::PageEnd() {
    if (Streaming() && FCurrentPageObject)
        StreamPage(*FCurrentPageObject);
}

void TFoRenderPDF::DocEnd() {
    if (!FDocumentOpen)
        return;
    FDocumentOpen = false;
    struct TFree {
        TFoRenderPDF &Renderer;
        ~TFree() {
            Renderer.FreePDFObjects();
            if (Renderer.FOwnsOutputForRender) {
                Renderer.FOwnedStream.reset();
                Renderer.FOutputStream = Renderer.FActiveStream = nullptr;
                Renderer.FOwnsOutputForRender = false;
            }
        }
    } freeData{*this};
    // A playback that failed leaves no half document: the error propagates and nothing is written.
    if (std::uncaught_exceptions() > 0)
        return;
    if (Streaming())
        StreamDocEnd();
    else
        GenerateBook();
    FlushFile();
}

// ---- File assembly ---------------------------------------------------------------------------------

void TFoRenderPDF::GenerateBook() {
    SetIDs();
    WriteHeader();
    WriteCatalog();
    WriteOutlinesObject();
    WritePagesObject();
    WritePages();
    WriteProcSet();
    WriteFonts();
    WritePatterns();
    WriteXObjects();
    WriteDocInfo();
    WriteXRef();
    WriteTrailer();
    WriteStartXRef();
    WriteEof();
}

void TFoRenderPDF::SetIDs() {
    FCatalog->FID = 1;
    FOutlines->FID = 2;
    FPages->FID = 3;
    int n = 3;
    for (auto &page : FPageList) {
        page->FID = n + 1;
        n += 2;
        for (auto &link : page->FLinks)
            link->FID = ++n;
    }
    FProcSet->FID = ++n;
    for (auto &font : FFontList)
        font->SetIDs(n);
    for (auto &pattern : FPatternList) {
        pattern->FID = n + 1;
        n += 2;
    }
    for (auto &image : FXObjectList)
        image->FID = ++n;
}

void TFoRenderPDF::WriteHeader() {
    QByteArray &out = FFile.Data;
    Ln(out, "%PDF-1.3");
    Ln(out, "%\xC3\xA2\xC3\xA3\xC3\x8F\xC3\x93");
    Ln(out);
}

void TFoRenderPDF::WriteCatalog() {
    FCatalog->WriteObject(FFile);
}
void TFoRenderPDF::WriteOutlinesObject() {
    FOutlines->WriteObject(FFile);
}
void TFoRenderPDF::WritePagesObject() {
    FPages->WriteObject(FFile);
}

void TFoRenderPDF::WritePages() {
    for (auto &page : FPageList) {
        page->WriteObject(FFile);
        page->WriteContent(FFile);
        for (auto &link : page->FLinks)
            link->WriteObject(FFile);
    }
}

void TFoRenderPDF::WriteProcSet() {
    FProcSet->WriteObject(FFile);
}
void TFoRenderPDF::WriteFonts() {
    for (auto &font : FFontList)
        font->WriteObject(FFile);
}
void TFoRenderPDF::WritePatterns() {
    for (auto &pattern : FPatternList)
        pattern->WriteObject(FFile);
}
void TFoRenderPDF::WriteXObjects() {
    for (auto &image : FXObjectList)
        image->WriteObject(FFile);
}

namespace {

QDateTime CreationTime(const std::optional<QDateTime> &fixed) {
    if (fixed)
        return *fixed;
    const QByteArray epoch = qgetenv("SOURCE_DATE_EPOCH");
    if (!epoch.isEmpty()) {
        bool ok = false;
        const qint64 seconds = epoch.trimmed().toLongLong(&ok);
        if (ok)
            return QDateTime::fromSecsSinceEpoch(seconds, QTimeZone::utc());
    }
    return QDateTime::currentDateTime();
}

} // namespace

void TFoRenderPDF::WriteDocInfo() {
    const int id = Streaming() ? ++FCurrentID : int(FFile.XRef.size()) + 1;
    FFile.RegisterObject(id);
    QByteArray &out = FFile.Data;
    FmtLn(out, "%d 0 obj", id);
    Ln(out, "<<");
    const auto entry = [&out](const char *key, const QString &value) {
        if (!value.isEmpty())
            FmtLn(out, "/%s %s", key, pdf::InfoString(value));
    };
    entry("Title", DocInfo.Title);
    entry("Author", DocInfo.Author);
    entry("Subject", DocInfo.Subject);
    entry("Keywords", DocInfo.KeyWords);
    entry("Creator", DocInfo.Creator);
    entry("Producer", DocInfo.Producer);
    const QDateTime created = CreationTime(CreationDate);
    FmtLn(out, "/CreationDate (D:%s)", created.toString(QStringLiteral("yyyyMMddHHmmss")).toLatin1());
    Ln(out, ">>");
    Ln(out, "endobj");
    Ln(out);
}

void TFoRenderPDF::WriteXRef() {
    QByteArray &out = FFile.Data;
    XRefPos = FFile.Position();
    Ln(out, "xref");
    FmtLn(out, "0 %d", int(FFile.XRef.size()) + 1);
    Ln(out, "0000000000 65535 f");
    for (const qint64 offset : FFile.XRef) {
        char digits[16];
        std::snprintf(digits, sizeof digits, "%010lld", static_cast<long long>(offset));
        FmtLn(out, "%s 00000 n", digits);
    }
    Ln(out);
}

void TFoRenderPDF::WriteTrailer() {
    QByteArray &out = FFile.Data;
    Ln(out, "trailer");
    Ln(out, "<<");
    FmtLn(out, "/Size %d", int(FFile.XRef.size()) + 1);
    FmtLn(out, "/Root %d 0 R", 1);
    FmtLn(out, "/Info %d 0 R", int(FFile.XRef.size()));
    Ln(out, ">>");
    Ln(out);
}

void TFoRenderPDF::WriteStartXRef() {
    QByteArray &out = FFile.Data;
    Ln(out, "startxref");
    FmtLn(out, "%d", XRefPos);
}

void TFoRenderPDF::WriteEof() {
    Ln(FFile.Data, "%%EOF");
}

// ---- Fonts ---------------------------------------------------------------------------------------

void TFoRenderPDF::FontChanged(TFoFont &) {
    FFontChanged = true;
}

namespace {

bool Same(const QString &a, const char *b) {
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

QString WithoutSpaces(QString text) {
    text.remove(QLatin1Char(' '));
    return text;
}

QString CommaSuffix(bool bold, bool italic) {
    return bold && italic ? QStringLiteral(",BoldItalic")
           : bold         ? QStringLiteral(",Bold")
           : italic       ? QStringLiteral(",Italic")
                          : QString();
}

QString HyphenSuffix(const QString &base, bool bold, bool italic, const char *boldItalic,
                     const char *italicName) {
    if (bold && italic)
        return base + QLatin1String(boldItalic);
    if (bold)
        return base + QStringLiteral("-Bold");
    if (italic)
        return base + QLatin1String(italicName);
    return base;
}

QString HelveticaName(bool bold, bool italic) {
    return HyphenSuffix(QStringLiteral("Helvetica"), bold, italic, "-BoldOblique", "-Oblique");
}

bool IsStandardName(const QString &name) {
    static const char *const names[] = {
        "Courier-BoldOblique",   "Courier-Bold",   "Courier-Oblique",   "Courier",
        "Times-BoldItalic",      "Times-Bold",     "Times-Italic",      "Times-Roman",
        "Helvetica-BoldOblique", "Helvetica-Bold", "Helvetica-Oblique", "Helvetica",
        "ZapfDingbats"};
    for (const char *standard : names)
        if (Same(name, standard))
            return true;
    return false;
}

bool IsCompositeRequest(const TFoPDFFontRequest &request) {
    return request.Charset == 128 || request.Charset == 129 || request.Charset == 130 ||
           request.Face == QLatin1String("Arial Unicode MS");
}

} // namespace

bool TFoRenderPDF::IsTrueType(const QString &Face, bool Bold, bool Italic) {
    const QString key = Face.toLower() + QLatin1Char(Bold ? 'b' : '-') + QLatin1Char(Italic ? 'i' : '-');
    const auto found = FTrueTypeFaces.constFind(key);
    if (found != FTrueTypeFaces.constEnd())
        return *found;
    const bool trueType = IsTrueTypeFace(Face, Bold, Italic);
    FTrueTypeFaces.insert(key, trueType);
    return trueType;
}

QString TFoRenderPDF::BaseFontName(const TFoPDFFontRequest &Request) {
    const QString &face = Request.Face;
    const bool bold = Request.Bold;
    const bool italic = Request.Italic;
    if (IsCompositeRequest(Request)) {
        const QString plain = WithoutSpaces(face) + CommaSuffix(bold, italic);
        return QString::fromLatin1(pdf::EscapeName(plain, pdf::TNameEscape::EveryByte));
    }
    if (EmbedBaseFonts && IsTrueType(face, bold, italic))
        return WithoutSpaces(face) + CommaSuffix(bold, italic);
    if (Same(face, "Courier") || Same(face, "Courier New"))
        return HyphenSuffix(QStringLiteral("Courier"), bold, italic, "-BoldOblique", "-Oblique");
    if (Same(face, "Times New Roman") || Same(face, "TimesRoman"))
        return bold && italic ? QStringLiteral("Times-BoldItalic")
               : bold         ? QStringLiteral("Times-Bold")
               : italic       ? QStringLiteral("Times-Italic")
                              : QStringLiteral("Times-Roman");
    if (Same(face, "Symbol"))
        return QStringLiteral("Symbol");
    if (Same(face, "Arial"))
        return HelveticaName(bold, italic);
    if (Same(face, "ZapfDingbats"))
        return QStringLiteral("ZapfDingbats");
    if (IsTrueType(face, bold, italic))
        return WithoutSpaces(face) + CommaSuffix(bold, italic);
    return HelveticaName(bold, italic);
}

TFoPDFFont *TFoRenderPDF::FindOrCreateFont(const TFoPDFFontRequest &Request) {
    const QString base = BaseFontName(Request);
    if (TFoPDFFont *font = FFontIndex.value(base))
        return font;
    const auto objectName = [this] { return QStringLiteral("F%1").arg(FFontList.size() + 1); };
    std::unique_ptr<TFoPDFFont> font;
    if (IsCompositeRequest(Request)) {
        // Its own glyphs are the primary font's of the face; characters it lacks fall back like any
        // other shaped text.
        auto composite = std::make_unique<TFoPDFFontComposite>(*this, Request, base, objectName(),
                                                               QRawFont::fromFont(LayoutFont()));
        FGlyphFonts.push_back(composite.get());
        font = std::move(composite);
    } else if (IsStandardName(base) || (base == QLatin1String("Symbol") && !IsTrueType(base, false, false))) {
        font = std::make_unique<TFoPDFFont>(*this, Request, base, objectName());
    } else if (IsTrueType(base, Request.Bold, Request.Italic) ||
               IsTrueType(Request.Face, Request.Bold, Request.Italic)) {
        font = std::make_unique<TFoPDFFontTrueType>(*this, Request, base, objectName(), EmbedFonts);
    } else {
        TFoPDFFontRequest helvetica = Request;
        helvetica.Face = QStringLiteral("Arial");
        const QString name = HelveticaName(Request.Bold, Request.Italic);
        if (TFoPDFFont *existing = FFontIndex.value(name))
            return existing;
        font = std::make_unique<TFoPDFFont>(*this, helvetica, name, objectName());
    }
    TFoPDFFont *result = font.get();
    FFontIndex.insert(result->FPDFFontName, result);
    FFontList.push_back(std::move(font));
    if (Streaming())
        StreamNewFont(*result);
    return result;
}

void TFoRenderPDF::ResolveFont() {
    FFontChanged = false;
    if (!Converter)
        return;
    const TSaveFont &data = Converter->FontData;
    FCurrentRequest.Face = data.Name;
    FCurrentRequest.Bold = data.Bold;
    FCurrentRequest.Italic = data.Italic;
    // Character set 1 follows the locale, whose Windows-1252 code page keeps it 1.
    FCurrentRequest.Charset = data.CharSet;
    FCurrentFontObject = FindOrCreateFont(FCurrentRequest);
    FCurrentShapedTexts =
        &FShapedTexts[FCurrentRequest.Face + QLatin1Char('|') + QLatin1Char(data.Bold ? 'b' : '-') +
                      QLatin1Char(data.Italic ? 'i' : '-') + QString::number(int(data.Pitch))];
    FUnderlineFont = data.Underline;
    FStrikeoutFont = data.Strikeout;
    FFontSuperSub = data.Superscript || data.Subscript;
    FFontSize = data.Size;
    if (FCurrentPageObject)
        FCurrentPageObject->FTextColor = data.Color;
    FFontRotation = data.Rotation;
}

// ---- Text ----------------------------------------------------------------------------------------

double TFoRenderPDF::TextWidth(const QString &Text) {
    if (FFontChanged)
        ResolveFont();
    if (!FCurrentFontObject)
        return 0.0;
    if (ShowsShaped(*FCurrentFontObject, Text))
        return Shaped(Text).Advance * ShownFontSize() / 72.0;
    return FCurrentFontObject->GetTextWidth(ShownFontSize(), Text);
}

void TFoRenderPDF::AddLink(const QString &Address, double X1, double Y1, double X2, double Y2) {
    auto link = std::make_unique<TPDFLink>(*this);
    link->FURI = Address;
    link->FAX1 = X1;
    link->FAY1 = Y1;
    link->FAX2 = X2;
    link->FAy2 = Y2;
    link->FPageHeight = FCurrentPageObject->FPageHeight;
    FCurrentPageObject->FLinks.push_back(std::move(link));
}

void TFoRenderPDF::PrintLeft(const QString &Text, double X, double Y) {
    if (!FCurrentPageObject)
        return;
    if (FFontChanged)
        ResolveFont();
    if (!FCurrentFontObject)
        return;
    TFoPDFFont *font = FCurrentFontObject;
    const TShapedText *shaped = ShowsShaped(*font, Text) ? &Shaped(Text) : nullptr;
    const double size = ShownFontSize();
    double width = -1.0;
    const auto textWidth = [&] {
        if (width < 0)
            width = shaped ? shaped->Advance * size / 72.0 : font->GetTextWidth(size, Text);
        return width;
    };
    if (!DisableHyperlinks && Converter) {
        const double lineHeight = Converter->LineHeight;
        if (Text.left(7).toLower() == QLatin1String("http://"))
            AddLink(Text, X, Y + 0.2 * lineHeight, X + textWidth(), Y - 0.6 * lineHeight);
        if (!Converter->Hyperlink.isEmpty())
            AddLink(Converter->Hyperlink, X, Y + 0.2 * lineHeight, X + textWidth(), Y - 0.6 * lineHeight);
    }
    if (shaped)
        ShowShapedText(*shaped, X, Y);
    else
        ShowText(*font, Text, X, Y);
    if (FFontRotation == 0 && (FUnderlineFont || FStrikeoutFont)) {
        const double savedWidth = snPenWidth;
        const TColor savedColour = FCurrentPageObject->FPenColor;
        const TColor textColour = FCurrentPageObject->FTextColor;
        const double w = textWidth();
        if (FUnderlineFont) {
            snPenWidth = (size + 1) * 0.0014;
            const double y = Y + 1.5 * snPenWidth;
            FCurrentPageObject->FPenColor = textColour;
            PageLine(X, y, X + w, y);
        }
        if (FStrikeoutFont) {
            snPenWidth = (size + 1) * 0.0006;
            const double y = Y - size / 72.0 * 0.22;
            FCurrentPageObject->FPenColor = textColour;
            PageLine(X, y, X + w, y);
        }
        snPenWidth = savedWidth;
        FCurrentPageObject->FPenColor = savedColour;
    }
}

void TFoRenderPDF::BeginText(TFoPDFPage &Page) {
    QByteArray &out = Page.FPageContent;
    Ln(out, "BT");
    if (!Page.FLastTextColorDefined || Page.FLastTextColor != Page.FTextColor) {
        out.append(pdf::ColorText(Page.FTextColor));
        Ln(out, " rg");
        Page.FLastTextColor = Page.FTextColor;
        Page.FLastTextColorDefined = true;
        Page.FLastPenColorDefined = false;
        Page.FLastBrushColorDefined = false;
    }
}

double TFoRenderPDF::ShiftedBaseline(double Y) const {
    if (Converter) {
        if (Converter->FontData.Superscript)
            return Y - Converter->LineHeight / 2.0;
        if (Converter->FontData.Subscript)
            return Y + Converter->LineHeight / 2.0;
    }
    return Y;
}

void TFoRenderPDF::ShowText(TFoPDFFont &Font, const QString &Text, double X, double Y) {
    TFoPDFPage &page = *FCurrentPageObject;
    QByteArray &out = page.FPageContent;
    BeginText(page);
    FmtLn(out, "/%s %.2f Tf", Font.FObjectName, ShownFontSize());
    const double px = PX(X);
    const double py = PY(ShiftedBaseline(Y));
    FmtLn(out, "%.4f %.4f Td", px, py);
    if (FFontRotation != 0) {
        const double a = FFontRotation * std::numbers::pi / 180.0;
        FmtLn(out, "%.4f %.4f %.4f %.4f %.4f %.4f Tm", std::cos(a), std::sin(a), -std::sin(a), std::cos(a),
              px, py);
    }
    Font.AppendShowText(out, Text);
    Ln(out, "ET");
}

void TFoRenderPDF::PrintCenter(const QString &Text, double X, double Y) {
    PrintShifted(Text, X, Y, TextWidth(Text) / 2.0);
}

void TFoRenderPDF::PrintRight(const QString &Text, double X, double Y) {
    PrintShifted(Text, X, Y, TextWidth(Text));
}

// Left-aligned text starting Shift inches back along the baseline.
void TFoRenderPDF::PrintShifted(const QString &Text, double X, double Y, double Shift) {
    if (FFontRotation > 0 && FFontRotation < 360) {
        const double a = FFontRotation * std::numbers::pi / 180.0;
        PrintLeft(Text, X - Shift * std::cos(a), Y + Shift * std::sin(a));
    } else {
        PrintLeft(Text, X - Shift, Y);
    }
}

void TFoRenderPDF::LeftText(const QString &Text, double X, double Y) {
    PrintLeft(Text, X, Y);
}
void TFoRenderPDF::CenterText(const QString &Text, double X, double Y) {
    PrintCenter(Text, X, Y);
}
void TFoRenderPDF::RightText(const QString &Text, double X, double Y) {
    PrintRight(Text, X, Y);
}

void TFoRenderPDF::PrintSpaces(const QString &Text, double X, double Y, double Width) {
    PrintJustifiedLine(Text, X, Y, Width);
}

void TFoRenderPDF::PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) {
    AdvanceAlongBaseline(X, Y, Advance);
    PrintRight(Text, X, Y);
}

double TFoRenderPDF::JustifiedTextWidth(const QString &Text) {
    return TextWidth(Text);
}

void TFoRenderPDF::TextRect(const QRect &Rect, double X, double Y, const QString &Text) {
    if (!FCurrentPageObject)
        return;
    QByteArray &out = Content();
    Ln(out, " q ");
    snPenWidth = 0;
    if (DoStroke() || DoFill()) {
        TakePlaybackColours();
        SetPenAndBrush();
        const double x1 = Rect.left() / 72.0, y1 = Rect.top() / 72.0;
        const double x2 = (Rect.left() + Rect.width()) / 72.0, y2 = (Rect.top() + Rect.height()) / 72.0;
        Fmt(out, "%.4f %.4f %.4f %.4f re ", PX(x1), PY(y1), (x2 - x1) * 72.0, (y1 - y2) * 72.0);
        Ln(out, "W n ");
    }
    PrintLeft(Text, X, Y);
    Ln(Content(), " Q ");
    // "Q" restores the colours, dash and width of before "q": what the caches remember from inside the
    // clipped block no longer holds.
    FCurrentPageObject->ForgetState();
}

} // namespace fiscora
