#include "PdfExport.h"

#include "FoRenderPDF.h"
#include "report/core/FoErrors.h"

#include <QFileInfo>
#include <QSaveFile>

namespace fiscora {

namespace {

// The application title the preview puts into the document information.
constexpr const char *ApplicationTitle = "Fiscora 2025";

} // namespace

void ApplyPreviewPdfSettings(TFoRenderPDF &Renderer) {
    Renderer.SetDisplayName(QString::fromLatin1(PdfDisplayName));
    Renderer.SetFileExtension(QString::fromLatin1(PdfFileExtension));
    Renderer.EmbedFonts = false;
    Renderer.ImageQuality = 90;
    Renderer.MetafileDPI = 300;
    Renderer.FontEncoding = TPDFFontEncoding::feWinAnsiEncoding;
    Renderer.DocInfo.Title = QString::fromLatin1(ApplicationTitle);
    Renderer.DocInfo.Author = QStringLiteral("Veltrano");
    Renderer.DocInfo.Subject =
        QString::fromLatin1(ApplicationTitle) + QStringLiteral(" Adobe Portable Document");
    Renderer.DocInfo.Creator = QStringLiteral("Veltrano");
    Renderer.DocInfo.Producer = QStringLiteral("Veltrano");
    Renderer.BufferDocument = true;
    Renderer.DisableHyperlinks = false;
}

std::unique_ptr<TFoRenderPDF> CreatePdfFormat() {
    auto renderer = std::make_unique<TFoRenderPDF>();
    ApplyPreviewPdfSettings(*renderer);
    return renderer;
}

void WriteSnapshotPdf(QIODevice &Snapshot, QIODevice &Output) {
    TFoRenderPDF renderer;
    ApplyPreviewPdfSettings(renderer);
    renderer.SetOutputStream(&Output);
    Snapshot.seek(0);
    renderer.PrintRender(&Snapshot, QStringLiteral("export.pdf"));
}

QString ExportSnapshotToPdf(QIODevice &Snapshot, const QString &FileName) {
    TFoRenderPDF naming;
    ApplyPreviewPdfSettings(naming);
    const QString target = naming.OutputNameFor(FileName);
    // QSaveFile writes beside the target and renames over it only on commit.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        throw EFolioReport(
            QStringLiteral("Cannot create the PDF file \"%1\": %2").arg(target, file.errorString()));
    WriteSnapshotPdf(Snapshot, file);
    if (!file.commit())
        throw EFolioReport(
            QStringLiteral("Cannot write the PDF file \"%1\": %2").arg(target, file.errorString()));
    return target;
}

} // namespace fiscora
