#include "FiscoraReportSettings.h"

#include "report/system/FoSystem.h"

namespace fiscora {

void ApplyFiscoraReportSettings(TFoSystem &system) {
    system.TitleSetup = QStringLiteral("Fiscora Output Options");
    system.TitleStatus = QStringLiteral("Fiscora Report Status");
    system.TitlePreview = QStringLiteral("Fiscora Report Preview");
    system.SystemPrinter.ScaleX = 100;
    system.SystemPrinter.ScaleY = 100;
    system.SystemPrinter.StatusFormat = QStringLiteral("Printing page %p");
    system.SystemPrinter.Title = QStringLiteral("Fiscora");
    system.SystemPrinter.SetUnitsFactor(1.0);
    system.SystemPreview.FormState = TFormState::fsMaximized;
    system.SystemPreview.MarginPercent = 2.5;
    system.SystemPreview.SetShadowDepth(5);
    system.SystemPreview.SetZoomFactor(100);
    system.SystemFiler.StatusFormat = QStringLiteral("Generating page %p");
}

} // namespace fiscora
