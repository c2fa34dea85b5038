// Page canvas: macros, page-independent variables and hyperlinks.
#include "report/canvas/FoBase.h"

#include "report/core/FoMacros.h"
#include "report/core/FoRichText.h"

namespace fiscora {

QString TBaseReport::Macro(TMacroID MacroID) {
    return Macro(int(MacroID));
}

QString TBaseReport::Macro(int MacroID) {
    if (OutputKind() == okSnapshot && MacroID != int(TMacroID::midRelativePage) && MacroID >= 0 &&
        MacroID <= 99)
        return MacroMarker(MacroID);
    return MacroText(MacroID);
}

QString TBaseReport::MacroText(int MacroID) {
    TMacroValues values;
    values.When = FReportDateTime;
    values.FirstPage = FFirstPage;
    values.LastPage = FLastPage;
    values.TotalPages = FJobPages;
    values.CurrentPage = FCurrentPage;
    values.RelativePage = RelativePage();
    values.DeviceText = [this](TMacroID id) {
        if (id == TMacroID::midPrinterName)
            return DeviceName();
        return id == TMacroID::midDriverName ? DriverName() : Port();
    };
    values.UserTexts = FMacroData;
    return fiscora::MacroText(MacroID, values);
}

QString TBaseReport::PIVar(const QString &) {
    return {};
}

void TBaseReport::SetPIVar(const QString &, const QString &) {}

void TBaseReport::StartLink(const QString &AHyperlink) {
    FHyperLink = AHyperlink;
    HyperlinkChanged();
}

QString TBaseReport::MakeLink(const QString &ADisplayText, const QString &AHyperlink) {
    return QChar(kRichOpen) + QLatin1Char('A') + AHyperlink + QChar(kRichClose) + ADisplayText +
           QChar(kRichOpen) + QLatin1Char('A') + QChar(kRichClose);
}

} // namespace fiscora
