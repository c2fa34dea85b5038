#include "output/pdf/PdfExport.h"

#include "output/pdf/FoRenderPDF.h"
#include "report/core/FoErrors.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
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
    QTemporaryFile file(QFileInfo(target).absolutePath() + QStringLiteral("/.fiscora-export-XXXXXX.part"));
    if (!file.open())
        throw EFolioReport(
            QStringLiteral("Cannot create the PDF file \"%1\": %2").arg(target, file.errorString()));
    WriteSnapshotPdf(Snapshot, file);
    if (!file.flush() || file.error() != QFileDevice::NoError)
        throw EFolioReport(
            QStringLiteral("Cannot write the PDF file \"%1\": %2").arg(target, file.errorString()));
    file.close();
    if (std::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(target).constData()) !=
        0)
        throw EFolioReport(QStringLiteral("Cannot write the PDF file \"%1\": %2")
                               .arg(target, QString::fromLocal8Bit(std::strerror(errno))));
    file.setAutoRemove(false);
    // The temporary file was private; the PDF is an ordinary file.
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                      QFileDevice::ReadOther);
    return target;
}

} // namespace fiscora
