// fiscora-cli report … --output FILE.pdf or FILE.html: the report generated into a memory snapshot,
// as for the preview, and exported as the preview's exports do.
#include "ExportOutput.h"
#include "ReportJob.h"
#include "ScheduleRecorder.h"
#include "report/core/FoErrors.h"
#include "report/system/FoSystem.h"

#include <QBuffer>

namespace fiscora::cli {

void WriteReportExport(TReportJob &Job, const AssetInputs &Inputs, const QString &OutputFile,
                       ExportFormat Format, const std::vector<ReportInput> &Files) {
    WriteJobExport(
        Job,
        [&] {
            ScheduleRecorder pane;
            Job.Print(Inputs, pane);
        },
        OutputFile, Format, Files);
}

void WriteJobSnapshot(TReportJob &Job, const std::function<void()> &RunReport, const QString &SnapshotFile) {
    TFoSystem &system = Job.System();
    system.SystemSetups = static_cast<TSystemSetups>(system.SystemSetups & ~ssAllowSetup);
    system.SystemOptions = static_cast<TSystemOptions>(system.SystemOptions & ~soShowStatus);
    system.DefaultDest = TReportDest::rdFile;
    system.DoNativeOutput = false;
    system.OutputFileName = SnapshotFile;
    RunReport();
    if (system.Aborted)
        throw EFolioReport(QStringLiteral("The report was aborted"));
}

void WriteJobExport(TReportJob &Job, const std::function<void()> &RunReport, const QString &OutputFile,
                    ExportFormat Format, const std::vector<ReportInput> &Files) {
    TFoSystem &system = Job.System();
    system.SystemSetups = static_cast<TSystemSetups>(system.SystemSetups & ~ssAllowSetup);
    system.SystemOptions = static_cast<TSystemOptions>(system.SystemOptions & ~soShowStatus);
    system.DefaultDest = TReportDest::rdPreview;
    bool exported = false;
    // The "preview" of the finished report is the export; its errors leave the report system's job.
    system.OverridePreview = [&](TFoSystem &s, TOverrideMode mode, std::unique_ptr<QObject> &) {
        if (mode != TOverrideMode::omShow)
            return;
        QIODevice *snapshot = s.Stream();
        if (!snapshot)
            throw EFolioReport(QStringLiteral("The report produced no snapshot"));
        WriteExportOutput(*snapshot, OutputFile, Format, Files);
        exported = true;
    };
    RunReport();
    if (system.Aborted || !exported)
        throw EFolioReport(QStringLiteral("The report was aborted"));
}

} // namespace fiscora::cli
