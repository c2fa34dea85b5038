#pragma once

#include <QByteArray>
#include <QString>

namespace fiscora::fuzz {

// Plays the bytes as a snapshot into the PDF export (the preview's settings, a memory stream as the
// output). It must end in a clear error or in a PDF file whose cross-reference table leads to each
// of its objects. Returns what went wrong, empty when nothing did.
QString CheckPdfPlayback(const QByteArray &input);

} // namespace fiscora::fuzz
