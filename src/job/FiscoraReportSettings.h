#pragma once

namespace fiscora {

class TFoSystem;

// The settings Fiscora's main window gives its report system: titles, printer title and status,
// scale, units, and a maximised preview at zoom 100 with shadows. Shared by the window and the CLI.
void ApplyFiscoraReportSettings(TFoSystem &system);

} // namespace fiscora
