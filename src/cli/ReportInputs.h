#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace fiscora {
class TFoProject;
}

namespace fiscora::cli {

// A file a report reads, with what it is to the user ("template", "picture").
struct ReportInput {
    const char *role;
    QString path;
};

// The files a report reads: the template project's file and the pictures the loaded template names.
std::vector<ReportInput> ReportInputs(TFoProject &project);

// Raises UsageError when the output is one of the inputs: the same device and inode, whichever
// links or spellings of the path lead there. An output that does not exist yet is none of them.
void RefuseOutputOverInput(const QString &output, const std::vector<ReportInput> &inputs);
// The same for every file an export would write (HTML pages, colour images and pictures).
void RefuseOutputsOverInputs(const QStringList &outputs, const std::vector<ReportInput> &inputs);

} // namespace fiscora::cli
