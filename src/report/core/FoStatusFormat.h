#pragma once

#include <QString>
#include <QStringList>

namespace fiscora {

// What the macros of a status format stand for while a report is generated or printed.
struct TFoStatusValues {
    QStringList Lines; // "%0" .. "%9"
    int CurrentPass = 1;
    int TotalPasses = 1;
    int FirstPage = 1;
    int LastPage = 9999;
    int CurrentPage = 0;
    QString DeviceName;
    QString DriverName;
    QString Port;
};

// The status text of a format such as "Printing page %p": every "%" and the character after it is
// replaced once (letter case ignored); an unknown one reads "<ERROR-%X>", a trailing "%" stays.
QString FormatStatusText(const QString &format, const TFoStatusValues &values);

} // namespace fiscora
