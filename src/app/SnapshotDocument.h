#pragma once

#include <QString>

namespace fiscora {

// Shows a saved snapshot file in the report preview window, as the window's Open command shows it,
// with the report system set up as the main window sets it up, so that Print, Save and the PDF and
// HTML exports work as after a report. Returns 0 when the window has closed; a file that cannot be
// read or shown raises the preview's error before the window opens.
int ShowSnapshotDocument(const QString &fileName);

} // namespace fiscora
