#pragma once

#include <QIODevice>
#include <QString>

#include <memory>

namespace fiscora {

class TFoRenderPDF;

// The PDF export of the preview window, shared by the preview and the command line so the
// two cannot drift.

// Display name and file extension under which the PDF renderer is registered and listed.
inline constexpr const char *PdfDisplayName = "Adobe Portable Document (PDF)";
inline constexpr const char *PdfFileExtension = "*.pdf";

// The preview's export settings: display name and extension, fonts not embedded, image quality 90,
// metafile resolution 300, WinAnsiEncoding, the document information (title "Fiscora 2025", author,
// creator and producer "Veltrano", subject "Fiscora 2025 Adobe Portable Document"), the document
// buffered, hyperlinks kept.
void ApplyPreviewPdfSettings(TFoRenderPDF &Renderer);

// A PDF renderer with the preview's settings, registered under PdfDisplayName while it lives,
// so the Output Options dialog lists "Adobe Portable Document (PDF)" among its formats; chosen there as
// the report system's render object it writes the report to the output file name.
std::unique_ptr<TFoRenderPDF> CreatePdfFormat();

// Renders the whole snapshot to PDF with the preview's settings into an open device.
void WriteSnapshotPdf(QIODevice &Snapshot, QIODevice &Output);

// The preview's "PDF Export": renders the whole snapshot into FileName (".pdf" appended to a name
// without any "."). The file is written beside its final name and renamed only when complete, so a
// failed export leaves no file and an existing file untouched; errors propagate as exceptions naming
// the file. A symbolic link is refused, never replaced. Returns the name written.
QString ExportSnapshotToPdf(QIODevice &Snapshot, const QString &FileName);

} // namespace fiscora
