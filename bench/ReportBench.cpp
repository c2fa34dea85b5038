// The Print command's work for the longest schedule (an automobile placed in service in 2017 at the
// highest allowed cost, 75 rows): schedule, report parameters and the report generated into a memory
// snapshot.

#include "AssetInputs.h"
#include "DepreciateCommand.h"
#include "FoProject.h"
#include "FoSystem.h"
#include "FoSystemFiscora.h"
#include "PrintParameters.h"
#include "ScheduleRecorder.h"
#include "TemplateProjectManager.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace fiscora;

namespace {

// The schedule run's report parameters go to the template project; the pane text is not needed.
class ProjectParamSink : public ScheduleSink {
public:
    explicit ProjectParamSink(TFoProject &project) : FProject(project) {}
    void Clear() override {}
    void SetFormat(const ScheduleFormat &) override {}
    void AddLine(std::string_view) override {}
    void SetParam(std::string_view name, std::string_view value) override {
        FProject.SetParam(QString::fromUtf8(name.data(), qsizetype(name.size())),
                          QString::fromUtf8(value.data(), qsizetype(value.size())));
    }
    void CaretToStart() override {}

private:
    TFoProject &FProject;
};

AssetInputs LongestSchedule() {
    AssetInputs inputs;
    inputs.description = "Company car - sales department";
    inputs.propertyType = PropertyType::Automobile;
    inputs.placedInService = "01/15/2017";
    inputs.cost = 145000;
    inputs.fiscalYearEnd = "12/31/2017";
    return inputs;
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

void PrintReport(TFoProject &project, const AssetInputs &inputs) {
    ProjectParamSink sink(project);
    RunDepreciateCommand(inputs, sink);
    SetPrintParameters(inputs, [&](std::string_view name, std::string_view value) {
        project.SetParam(Text(name), Text(value));
    });
    project.Execute();
    project.ClearParams();
}

QString TemplatePath() {
#ifdef FISCORA_SOURCE_DIR
    return QStringLiteral(FISCORA_SOURCE_DIR "/data/Amortix.fol");
#else
    return QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol");
#endif
}

// A report system with no dialogs that hands the memory snapshot to a "preview" which only sizes it.
void SetUpHeadless(TFoSystem &system, qint64 &snapshotBytes) {
    ApplyFiscoraReportSettings(system);
    system.SystemSetups = 0;
    system.SystemOptions = 0;
    system.OverridePreview = [&snapshotBytes](TFoSystem &s, TOverrideMode mode, std::unique_ptr<QObject> &) {
        if (mode == TOverrideMode::omShow)
            snapshotBytes = s.Stream()->size();
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
    auto project = CreateTemplateProject();
    project->SetProjectFile(TemplatePath());
    project->SelectReport(QStringLiteral("DeprReport"), false);
    TFoSystem system;
    qint64 snapshotBytes = 0;
    SetUpHeadless(system, snapshotBytes);
    project->SetEngine(&system);
    const AssetInputs inputs = LongestSchedule();
    for (auto _ : state)
        PrintReport(*project, inputs);
    state.counters["snapshot_bytes"] = double(snapshotBytes);
}
BENCHMARK(BM_DeprReport75Rows)->Unit(benchmark::kMillisecond);

void BM_DeprReport75RowsWithTemplateLoad(benchmark::State &state) {
    TFoSystem system;
    qint64 snapshotBytes = 0;
    SetUpHeadless(system, snapshotBytes);
    const AssetInputs inputs = LongestSchedule();
    for (auto _ : state) {
        auto project = CreateTemplateProject();
        project->SetProjectFile(TemplatePath());
        project->SelectReport(QStringLiteral("DeprReport"), false);
        project->SetEngine(&system);
        PrintReport(*project, inputs);
    }
    state.counters["snapshot_bytes"] = double(snapshotBytes);
}
BENCHMARK(BM_DeprReport75RowsWithTemplateLoad)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
