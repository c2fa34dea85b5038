#include "output/pdf/PdfExport.h"

#include "PartialFile.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/core/FoErrors.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

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
    // Renaming over a link would replace the link and leave the file it leads to as it was.
    if (QFileInfo(target).isSymLink())
        throw EFolioReport(QStringLiteral("Cannot write the PDF file \"%1\": It is a symbolic link, which an "
                                          "export never replaces.")
                               .arg(target));
    // Written beside the target and renamed over it only when complete. (QSaveFile would do the same
    // but syncs the file to disk first, which costs more than the whole export of a report.)
    PartialFile partial(QFile::encodeName(target).toStdString());
    const auto failure = [&target](const char *what, const QString &reason) {
        return EFolioReport(
            QStringLiteral("Cannot %1 the PDF file \"%2\": %3").arg(QLatin1String(what), target, reason));
    };
    if (partial.Error() != 0)
        throw failure("create", SystemErrorText(partial.Error()));
    {
        QFile file(QFile::decodeName(partial.Path().c_str()));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw failure("create", file.errorString());
        WriteSnapshotPdf(Snapshot, file);
        if (!file.flush() || file.error() != QFileDevice::NoError)
            throw failure("write", file.errorString());
    }
    if (const int error = partial.Commit())
        throw failure("write", SystemErrorText(error));
    return target;
}

} // namespace fiscora
