#pragma once

namespace fiscora {

class TFrmAmortix;

// For the documentation's screenshots only: when FISCORA_SCREENSHOT_DIR names a folder, fills in a
// 2026 automobile with bonus, depreciates it, saves main-window.png, calculator.png and calendar.png
// there and quits. Does nothing otherwise.
void StartScreenshotTourIfAsked(TFrmAmortix &window);

} // namespace fiscora
