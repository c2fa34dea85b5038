#pragma once

#include <QByteArray>
#include <QString>

namespace fiscora::fuzz {

// Plays the bytes as a snapshot: whole, one page from the middle, and a selection. Each playback
// must reach its end or a clear error; returns what went wrong, empty when nothing did.
QString CheckSnapshotPlayback(const QByteArray &input);

} // namespace fiscora::fuzz
