#pragma once

#include <QIODevice>
#include <QString>

namespace fiscora {
class TReportJob;
struct AssetInputs;
} // namespace fiscora

namespace fiscora::cli {

// Renders the snapshot to PDF with exactly the preview window's export settings into a partial file
// that becomes OutputFile only when complete (ReportOutputFile); on failure nothing is left and an
// error naming the file and the reason is raised.
void WritePdfOutput(QIODevice &Snapshot, const QString &OutputFile);

// The Print command's report of the asset, generated into memory (no dialogs, no status window) and
// written to OutputFile as WritePdfOutput writes it.
void WriteReportPdf(TReportJob &Job, const AssetInputs &Inputs, const QString &OutputFile);

} // namespace fiscora::cli
