// The Print command's work for the longest schedule (an automobile placed in service in 2017 at the
// highest allowed cost, 75 rows): schedule, report parameters and the report generated into a memory
// snapshot; and that snapshot exported as HTML pages.

#include "AssetInputs.h"
#include "DepreciateCommand.h"
#include "ReportFixtures.h"
#include "ReportJob.h"
#include "ScheduleRecorder.h"
#include "output/html/FoHtmlExport.h"
#include "report/system/FoSystem.h"

#include <QApplication>
#include <QBuffer>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace fiscora;

namespace {

using test::LongestSchedule;

QString TemplatePath() {
#ifdef FISCORA_SOURCE_DIR
    return QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol");
#endif
}

// The report job with no dialogs, handing the memory snapshot to a "preview" which only sizes it
// (and copies it when asked to).
void SetUpHeadless(TReportJob &job, qint64 &snapshotBytes, QByteArray *snapshot = nullptr) {
    TFoSystem &system = job.System();
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.OverridePreview = [&snapshotBytes, snapshot](TFoSystem &s, TOverrideMode mode,
                                                        std::unique_ptr<QObject> &) {
        if (mode != TOverrideMode::omShow)
            return;
        snapshotBytes = s.Stream()->size();
        if (snapshot && s.Stream()->seek(0))
            *snapshot = s.Stream()->readAll();
    };
}

// The Depreciate command alone: validation, header, 75 rows of text and their parameters.
void BM_DepreciateCommand75Rows(benchmark::State &state) {
    const AssetInputs inputs = LongestSchedule();
    ScheduleRecorder pane;
    for (auto _ : state)
        RunDepreciateCommand(inputs, pane);
    state.counters["params"] = double(pane.params().size());
}
BENCHMARK(BM_DepreciateCommand75Rows)->Unit(benchmark::kMicrosecond);

void BM_DeprReport75Rows(benchmark::State &state) {
    TReportJob job;
    job.OpenTemplate(TemplatePath(), QStringLiteral("DeprReport"));
    qint64 snapshotBytes = 0;
    SetUpHeadless(job, snapshotBytes);
    const AssetInputs inputs = LongestSchedule();
    ScheduleRecorder pane;
    for (auto _ : state)
        job.Print(inputs, pane);
    state.counters["snapshot_bytes"] = double(snapshotBytes);
}
BENCHMARK(BM_DeprReport75Rows)->Unit(benchmark::kMillisecond);

void BM_DeprReport75RowsWithTemplateLoad(benchmark::State &state) {
    qint64 snapshotBytes = 0;
    const AssetInputs inputs = LongestSchedule();
    ScheduleRecorder pane;
    for (auto _ : state) {
        TReportJob job;
        job.OpenTemplate(TemplatePath(), QStringLiteral("DeprReport"));
        SetUpHeadless(job, snapshotBytes);
        job.Print(inputs, pane);
    }
    state.counters["snapshot_bytes"] = double(snapshotBytes);
}
BENCHMARK(BM_DeprReport75RowsWithTemplateLoad)->Unit(benchmark::kMillisecond);

// The preview's HTML Export of the 75-row report: three pages and their colour images, from the
// snapshot to the files on disk.
void BM_DeprReport75RowsToHtml(benchmark::State &state) {
    TReportJob job;
    job.OpenTemplate(TemplatePath(), QStringLiteral("DeprReport"));
    qint64 snapshotBytes = 0;
    QByteArray snapshot;
    SetUpHeadless(job, snapshotBytes, &snapshot);
    ScheduleRecorder pane;
    job.Print(LongestSchedule(), pane);
    QBuffer stream(&snapshot);
    stream.open(QIODevice::ReadOnly);
    QTemporaryDir folder;
    const QString output = folder.filePath(QStringLiteral("car.html"));
    for (auto _ : state)
        ExportSnapshotToHtml(stream, output);
    state.counters["snapshot_bytes"] = double(snapshotBytes);
}
BENCHMARK(BM_DeprReport75RowsToHtml)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv); // the preview benchmark draws into a scroll box
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
