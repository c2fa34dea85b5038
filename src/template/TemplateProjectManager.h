#pragma once

#include "TemplateModel.h"
#include "report/system/FoProjectManager.h"

#include <memory>

namespace fiscora {

class TFoProject;

// The template engine's project: the reports of one template file.
class TemplateProjectManager : public TFoProjectManager {
public:
    void LoadFromStream(QIODevice &stream, const QString &sourceName) override;
    void SaveToStream(QIODevice &stream) const override;
    void New() override { FProject = TemplateProject(); }
    std::vector<TFoReportInfo> Reports() const override;
    std::unique_ptr<TFoReportRun> CreateRun(std::size_t reportIndex, const TFoParams &params,
                                            const TFoDataSets &dataSets) const override;

    const TemplateProject &Project() const { return FProject; }

private:
    TemplateProject FProject;
};

// A template project component backed by the template engine.
std::unique_ptr<TFoProject> CreateTemplateProject(QObject *parent = nullptr);

} // namespace fiscora
