#include "TemplateProjectManager.h"

#include "TemplateLayout.h"
#include "TemplateReader.h"
#include "TemplateWriter.h"
#include "report/core/FoErrors.h"
#include "report/system/FoProject.h"

namespace fiscora {
namespace {

// The execution copy of a report and its parameters.
class TemplateRun : public TFoReportRun {
public:
    TemplateRun(const TemplateReport &report, const TFoParams &params, const TFoDataSets &dataSets)
        : FReport(report), FParams(params), FLayout(FReport, FParams, dataSets) {}

    bool AlwaysGenerate() const override { return FReport.alwaysGenerate; }
    void BeforePrint(TBaseReport &canvas) override { FLayout.BeforePrint(canvas); }
    void Print(TBaseReport &canvas) override { FLayout.Print(canvas); }
    void AfterPrint(TBaseReport &) override {}

private:
    const TemplateReport FReport;
    const TFoParams FParams;
    TemplateLayout FLayout;
};

} // namespace

void TemplateProjectManager::LoadFromStream(QIODevice &stream, const QString &sourceName) {
    // Read completely before replacing anything, so a failed load keeps the project as it was.
    FProject = ReadTemplate(stream, sourceName);
}

void TemplateProjectManager::SaveToStream(QIODevice &stream) const {
    WriteTemplate(FProject, stream);
}

std::vector<TFoReportInfo> TemplateProjectManager::Reports() const {
    std::vector<TFoReportInfo> reports;
    for (const auto &report : FProject.reports)
        reports.push_back({report.name, report.fullName, report.description, report.category});
    return reports;
}

std::unique_ptr<TFoReportRun> TemplateProjectManager::CreateRun(std::size_t reportIndex,
                                                                const TFoParams &params,
                                                                const TFoDataSets &dataSets) const {
    if (reportIndex >= FProject.reports.size())
        throw EFolioException(
            QStringLiteral("The report project has no report number %1").arg(reportIndex + 1));
    return std::make_unique<TemplateRun>(FProject.reports[reportIndex], params, dataSets);
}

std::unique_ptr<TFoProject> CreateTemplateProject(QObject *parent) {
    return std::make_unique<TFoProject>(std::make_unique<TemplateProjectManager>(), parent);
}

} // namespace fiscora
