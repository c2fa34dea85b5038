#include "ReportInputs.h"

#include "CliArguments.h"
#include "FileIdentity.h"
#include "TemplateProjectManager.h"
#include "report/system/FoProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace fiscora::cli {

std::vector<ReportInput> ReportInputs(TFoProject &project) {
    std::vector<ReportInput> inputs{{"template", project.ProjectFile()}};
    const auto *manager = dynamic_cast<const TemplateProjectManager *>(&project.ProjectManager());
    if (!manager)
        return inputs;
    // Pictures are named relative to the template's folder, as the template reader finds them.
    const QDir folder = QFileInfo(project.ProjectFile()).absoluteDir();
    for (const TemplateReport &report : manager->Project().reports)
        for (const TemplatePage &page : report.pages)
            for (const TemplateBand &band : page.bands)
                for (const TemplateComponent &component : band.components)
                    if (component.kind == ComponentKind::Picture)
                        inputs.push_back({"picture", folder.filePath(QDir::cleanPath(component.file))});
    return inputs;
}

void RefuseOutputOverInput(const QString &output, const std::vector<ReportInput> &inputs) {
    RefuseOutputsOverInputs({output}, inputs);
}

void RefuseOutputsOverInputs(const QStringList &outputs, const std::vector<ReportInput> &inputs) {
    for (const QString &output : outputs) {
        const auto outputIdentity = FileIdentityOf(QFile::encodeName(output).constData());
        if (!outputIdentity)
            continue;
        for (const ReportInput &input : inputs)
            if (FileIdentityOf(QFile::encodeName(input.path).constData()) == outputIdentity)
                throw UsageError("the output \"" + output.toStdString() + "\" is the " + input.role + " \"" +
                                 input.path.toStdString() + "\" it reads; a report never replaces its input");
    }
}

} // namespace fiscora::cli
