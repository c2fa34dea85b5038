#include "ReportInputs.h"

#include "CliArguments.h"
#include "TemplateProjectManager.h"
#include "report/system/FoProject.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <optional>
#include <sys/stat.h>
#include <utility>

namespace fiscora::cli {

namespace {

std::optional<std::pair<dev_t, ino_t>> FileIdentity(const QString &path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return std::pair(status.st_dev, status.st_ino);
}

} // namespace

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
    const auto outputIdentity = FileIdentity(output);
    if (!outputIdentity)
        return;
    for (const ReportInput &input : inputs)
        if (FileIdentity(input.path) == outputIdentity)
            throw UsageError("the output \"" + output.toStdString() + "\" is the " + input.role + " \"" +
                             input.path.toStdString() + "\" it reads; a report never replaces its input");
}

} // namespace fiscora::cli
