#include "CurrentCentDigits.h"

namespace fiscora {

int CurrentCentDigits = 0;

} // namespace fiscora
