#include "ExportOutput.h"

#include "ReportOutputFile.h"
#include "output/files/FoOutputFileSet.h"
#include "output/html/FoHtmlExport.h"
#include "output/pdf/PdfExport.h"
#include "report/core/FoErrors.h"

#include <QFile>

namespace fiscora::cli {

namespace {

void WritePdf(QIODevice &Snapshot, const QString &OutputFile) {
    ReportOutputFile output(OutputFile);
    {
        QFile partial(output.PartialFileName());
        if (!partial.open(QIODevice::WriteOnly | QIODevice::Truncate))
            throw OutputFileError("Cannot create", OutputFile, partial.errorString().toStdString());
        WriteSnapshotPdf(Snapshot, partial);
        if (!partial.flush() || partial.error() != QFileDevice::NoError)
            throw OutputFileError("Cannot write", OutputFile, partial.errorString().toStdString());
    }
    output.Commit();
}

// The pages, colour images and pictures are named only once rendered; none may be an input.
void WriteHtml(QIODevice &Snapshot, const QString &OutputFile, const std::vector<ReportInput> &Inputs) {
    TFoOutputFileSet files;
    RenderSnapshotToHtml(Snapshot, OutputFile, files);
    RefuseOutputsOverInputs(files.FileNames(), Inputs);
    files.Commit();
}

} // namespace

void WriteExportOutput(QIODevice &Snapshot, const QString &OutputFile, ExportFormat Format,
                       const std::vector<ReportInput> &Inputs) {
    switch (Format) {
    case ExportFormat::Pdf:
        return WritePdf(Snapshot, OutputFile);
    case ExportFormat::Html:
        return WriteHtml(Snapshot, OutputFile, Inputs);
    case ExportFormat::Snapshot:
        break;
    }
    throw EFolioReport(QStringLiteral("A snapshot is not exported"));
}

} // namespace fiscora::cli
