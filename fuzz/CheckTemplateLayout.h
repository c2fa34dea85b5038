#pragma once

#include <QByteArray>
#include <QString>

namespace fiscora::fuzz {

// Loads the bytes as a report template lying in a folder with one small PNG ("logo.png") and no
// other file. A template that does not load must say so with its file and line; one that loads must
// save and load back to the same project, and each of its first reports must lay out into a snapshot
// (as fiscora-cli report makes it) that plays back to its end. Returns what went wrong, empty when
// nothing did.
QString CheckTemplateLayout(const QByteArray &input);

} // namespace fiscora::fuzz
