#pragma once

#include <QString>

namespace fiscora {

// For the documentation's screenshots: a small business's asset book of 40 assets placed in service
// from 2017 to 2026 (equipment, vehicles, buildings), made at `path`, which must not exist yet.
// Raises EBookError when it cannot be made.
void MakeTourBook(const QString &path);

} // namespace fiscora
