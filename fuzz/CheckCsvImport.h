#pragma once

#include <QByteArray>
#include <QString>

namespace fiscora::fuzz {

// Imports the bytes as an asset CSV file into a book with a December year end that already has the
// asset number "A-1". The import must refuse the file listing its bad lines (each by a line of the
// file, with a message on one line), or give assets whose register, exported as CSV, imports again
// to the same assets. Returns what went wrong, empty when nothing did.
QString CheckCsvImport(const QByteArray &input);

} // namespace fiscora::fuzz
