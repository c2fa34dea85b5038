#include "report/core/FoMacros.h"

#include <QLocale>

namespace fiscora {

const QString &MarkerPrefix() {
    static const QString prefix = QChar(kMarkerChar) + QStringLiteral("$FOL");
    return prefix;
}

QString MacroMarker(int MacroID) {
    return MarkerPrefix() + QChar(kMacroKind) + QStringLiteral("%1").arg(MacroID, 2, 10, QLatin1Char('0'));
}

QString VariableMarker(const QString &VarName) {
    return MarkerPrefix() + QChar(kVariableKind) + QChar(kVarNameStart) + VarName + QChar(kVarNameEnd);
}

bool HasMarker(const QString &Text) {
    // Most texts hold no marker: one character search first.
    return Text.contains(QChar(kMarkerChar)) && Text.contains(MarkerPrefix());
}

QString MacroDateTimeText(int MacroID, const QDateTime &When) {
    // United States conventions whatever the host locale.
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QDate date = When.date();
    const QTime time = When.time();
    switch (MacroID) {
    case 0: // short date
        return date.toString(QStringLiteral("MM/dd/yyyy"));
    case 1: // long date
        return us.toString(date, QStringLiteral("dddd, MMMM d, yyyy"));
    case 2:
        return date.toString(QStringLiteral("MM/dd/yy"));
    case 3:
        return date.toString(QStringLiteral("dd/MM/yy"));
    case 4: // short time
        return us.toString(time, QStringLiteral("h:mm AP"));
    case 5: // long time
        return us.toString(time, QStringLiteral("h:mm:ss AP"));
    case 6: // "ampm" shows the locale's AM and PM texts
        return us.toString(time, QStringLiteral("hh:mm AP"));
    case 7:
        return time.toString(QStringLiteral("HH:mm"));
    default:
        return {};
    }
}

QString MacroText(int MacroID, const TMacroValues &Values) {
    if (MacroID >= int(TMacroID::midCurrDateShort) && MacroID <= int(TMacroID::midCurrTime24))
        return MacroDateTimeText(MacroID, Values.When);
    switch (MacroID) {
    case int(TMacroID::midFirstPage):
        return QString::number(Values.FirstPage);
    case int(TMacroID::midLastPage):
        return QString::number(Values.LastPage);
    case int(TMacroID::midTotalPages):
        return QString::number(Values.TotalPages);
    case int(TMacroID::midCurrentPage):
        return QString::number(Values.CurrentPage);
    case int(TMacroID::midRelativePage):
        return Values.RelativePage ? QString::number(*Values.RelativePage) : QString();
    case int(TMacroID::midPrinterName):
    case int(TMacroID::midDriverName):
    case int(TMacroID::midPortName):
        return Values.DeviceText ? Values.DeviceText(TMacroID(MacroID)) : QString();
    default:
        break;
    }
    if (MacroID >= int(TMacroID::midUser01) && MacroID <= int(TMacroID::midUser20))
        return Values.UserTexts.value(MacroID - int(TMacroID::midUser01));
    return {};
}

} // namespace fiscora
