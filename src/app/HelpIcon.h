#pragma once

#include <QIcon>

namespace fiscora {

// The picture of the Help button: a cyan question mark, with its own greyed image for the disabled state.
QIcon HelpIcon();

} // namespace fiscora
