#pragma once

namespace fiscora {

// The CentDigits of the currency field that last received the focus: the calculator rounds its
// results to this many decimals.
extern int CurrentCentDigits;

} // namespace fiscora
