#pragma once

#include "TemplateModel.h"

#include <QIODevice>

namespace fiscora {

// Writes a project in the template format that ReadTemplate reads back to an equal project.
// Attributes that hold their default value are left out.
void WriteTemplate(const TemplateProject &project, QIODevice &device);

} // namespace fiscora
