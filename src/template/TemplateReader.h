#pragma once

#include "TemplateModel.h"

#include <QIODevice>
#include <QString>

namespace fiscora {

// Reads a report template (the XML format of docs/template-format.md) into a project.
// Raises EFolioException naming the source, the line and the fault; pictures are read
// relative to the folder of sourceName.
TemplateProject ReadTemplate(QIODevice &device, const QString &sourceName);

} // namespace fiscora
