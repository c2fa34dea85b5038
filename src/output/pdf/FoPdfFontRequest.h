#pragma once

#include "report/core/FoTypes.h"

#include <QString>

#include <cstdint>

namespace fiscora {

// A face as the playback presents it.
struct TFoPDFFontRequest {
    QString Face;
    bool Bold = false;
    bool Italic = false;
    std::uint8_t Charset = DEFAULT_CHARSET; // resolved
};

} // namespace fiscora
