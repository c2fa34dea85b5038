#include "ReportJob.h"

#include "DepreciateCommand.h"
#include "FiscoraReportSettings.h"
#include "PrintParameters.h"
#include "ScopeExit.h"
#include "TemplateProjectManager.h"
#include "ToolBox.h"
#include "ToolBoxExceptions.h"
#include "Utf8Text.h"
#include "report/core/FoErrors.h"
#include "report/system/FoProject.h"
#include "report/system/FoSystem.h"

#include <QDir>

namespace fiscora {

namespace {

// The schedule run writes its text to the pane; its row parameters go to the project as well.
class PaneAndProjectSink : public ScheduleSink {
public:
    PaneAndProjectSink(ScheduleSink &pane, TFoProject &project) : FPane(pane), FProject(project) {}
    void Clear() override { FPane.Clear(); }
    void SetFormat(const ScheduleFormat &format) override { FPane.SetFormat(format); }
    void AddLine(std::string_view line) override { FPane.AddLine(line); }
    void SetParam(std::string_view name, std::string_view value) override {
        FPane.SetParam(name, value);
        FProject.SetParam(ToQString(name), ToQString(value));
    }
    void CaretToStart() override { FPane.CaretToStart(); }

private:
    ScheduleSink &FPane;
    TFoProject &FProject;
};

} // namespace

TReportJob::TReportJob() : FSystem(std::make_unique<TFoSystem>()), FProject(CreateTemplateProject()) {
    ApplyFiscoraReportSettings(*FSystem);
    FProject->SetEngine(FSystem.get());
}

TReportJob::~TReportJob() = default;

void TReportJob::OpenTemplate(const QString &projectFile, const QString &reportName) {
    FProject->SetProjectFile(projectFile);
    FProject->Open();
    if (!FProject->SelectReport(reportName, false))
        throw EFolioException(QStringLiteral("The report project \"%1\" has no report \"%2\"")
                                  .arg(FProject->ProjectFile(), reportName));
}

void TReportJob::Print(const AssetInputs &inputs, ScheduleSink &pane, const FocusRequest &moveFocus) {
    PaneAndProjectSink sink(pane, *FProject);
    RunDepreciateCommand(inputs, sink, moveFocus);
    SetPrintParameters(inputs, [this](std::string_view name, std::string_view value) {
        FProject->SetParam(ToQString(name), ToQString(value));
    });
    ScopeExit afterReport([this] {
        FProject->ClearParams();
        ReturnToHomeFolder();
    });
    FProject->Execute();
}

void TReportJob::PrintData(const std::function<void(TFoProject &project)> &fill) {
    ScopeExit afterReport([this] {
        FProject->ClearParams();
        FProject->ClearDataSets();
        ReturnToHomeFolder();
    });
    fill(*FProject);
    FProject->Execute();
}

void TReportJob::ReturnToHomeFolder() const {
    if (HomeFolder.isEmpty())
        return;
    const QString current = ToQString(AddPathDelimiter(QDir::currentPath().toStdString()));
    if (current != HomeFolder && !QDir::setCurrent(HomeFolder))
        throw EInOutError("Cannot make \"" + HomeFolder.toStdString() + "\" the current folder");
}

} // namespace fiscora
