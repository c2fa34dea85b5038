#pragma once

namespace fiscora {

class TFrmAmortix;

// For the documentation's screenshots only: when FISCORA_SCREENSHOT_DIR names a folder, fills in a
// 2026 automobile with bonus, depreciates it, pictures the main window, the calculator, the calendar,
// the help window, and for the printed report the Output Options dialog, the status window and the
// preview, then the asset book window on a 40-asset book and its chart (main-window.png ...
// preview-200.png, book-window.png, book-chart.png), and quits. FISCORA_SCREENSHOT_WINDOWS, a
// comma-separated list of those names, limits the pictures; at a scale other than 100 % the names
// end in it (main-window-200.png). Does nothing otherwise.
void StartScreenshotTourIfAsked(TFrmAmortix &window);

} // namespace fiscora
