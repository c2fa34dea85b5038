// The PDF renderer: its output, the document and its pages, and the objects a document holds.
#include "output/pdf/FoRenderPDF.h"

#include "ScopeExit.h"

namespace fiscora {

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
    ScopeExit closeOutput([this, ownOutput] {
        if (ownOutput)
            ReleaseFileStream();
    });
    Render(ASnapshotStream);
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
    ScopeExit freeData([this] {
        FreePDFObjects();
        if (FOwnsOutputForRender) {
            ReleaseFileStream();
            FOwnsOutputForRender = false;
        }
    });
    // A playback that failed leaves no half document: the error propagates and nothing is written.
    if (std::uncaught_exceptions() > 0)
        return;
    if (Streaming())
        StreamDocEnd();
    else
        GenerateBook();
    FlushFile();
}

} // namespace fiscora
