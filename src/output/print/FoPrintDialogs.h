#pragma once

namespace fiscora {

// Installs the print and printer-setup dialogs on the printer device, so that the report library's
// print dialog requests show Qt's dialogs. They refuse to run (answering false) outside a widget
// application.
void InstallPrinterDialogs();

} // namespace fiscora
