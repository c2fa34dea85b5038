#pragma once

#include <QByteArray>
#include <QString>

namespace fiscora::fuzz {

// Plays the bytes as a snapshot into the HTML export, its files collected in memory and never
// written: the export's folder must stay empty. It must end in a clear error or in the pages
// report1.html to reportN.html, each a whole page whose report texts could not open or close a
// box of their own, with the pictures and colour images beside them. Returns what went wrong,
// empty when nothing did.
QString CheckHtmlPlayback(const QByteArray &input);

} // namespace fiscora::fuzz
