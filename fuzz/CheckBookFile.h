#pragma once

#include <QByteArray>
#include <QString>

namespace fiscora::fuzz {

// Opens the bytes as a book file, first to read it (its assets, their register, totals and Form 4562
// lines), then to change it (an asset added, found and removed). Each must end in a clear error or
// work; reading must leave the file's bytes as they were, and so must every refused opening. Returns
// what went wrong, empty when nothing did.
QString CheckBookFile(const QByteArray &input);

} // namespace fiscora::fuzz
