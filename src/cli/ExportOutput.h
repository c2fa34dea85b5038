#pragma once

#include "ExportFormat.h"
#include "ReportInputs.h"

#include <QIODevice>
#include <QString>

#include <functional>
#include <vector>

namespace fiscora {
class TReportJob;
struct AssetInputs;
} // namespace fiscora

namespace fiscora::cli {

// Exports the snapshot as the preview window exports it, to PDF or HTML. A PDF is written to a
// partial file that becomes OutputFile only when complete (ReportOutputFile); HTML pages are all
// written at the end or none. On failure nothing is left and an error naming the file and the reason
// is raised; UsageError, before anything is written, when a file the export would write is one of
// the Inputs.
void WriteExportOutput(QIODevice &Snapshot, const QString &OutputFile, ExportFormat Format,
                       const std::vector<ReportInput> &Inputs);

// The Print command's report of the asset, generated into memory (no dialogs, no status window) and
// exported as WriteExportOutput exports it.
void WriteReportExport(TReportJob &Job, const AssetInputs &Inputs, const QString &OutputFile,
                       ExportFormat Format, const std::vector<ReportInput> &Files);

// The same for any report of the job: RunReport runs it (Job.Print or Job.PrintData).
void WriteJobExport(TReportJob &Job, const std::function<void()> &RunReport, const QString &OutputFile,
                    ExportFormat Format, const std::vector<ReportInput> &Files);

// The report that RunReport runs, as a snapshot file (no dialogs, no status window).
void WriteJobSnapshot(TReportJob &Job, const std::function<void()> &RunReport, const QString &SnapshotFile);

} // namespace fiscora::cli
