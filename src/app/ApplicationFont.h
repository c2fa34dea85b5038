#pragma once

#include <QFont>

namespace fiscora {

// The face of the application's forms and dialogs, Tahoma, at the given size.
QFont FormFont(double pointSize = 8, bool bold = false);

// Makes Tahoma 8 the default font of every window and dialog. Where Tahoma is not installed, a face
// of about its width stands in: fontconfig's own choice, DejaVu Sans, is much wider, clips the main
// window's captions and pushes the schedule header's texts past their tab stops.
void SetUpApplicationFont();

} // namespace fiscora
