#pragma once

namespace fiscora {

// Registers the output library's dialogs with the report system and the printer device: the Output
// Options dialog before a report, the status window while it is generated, and the printer's
// print and setup dialogs. A program with widgets calls it once at start.
void InstallOutputDialogs();

} // namespace fiscora
