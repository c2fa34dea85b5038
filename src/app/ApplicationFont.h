#pragma once

#include <QFont>
#include <QStringList>

namespace fiscora {

// The families to ask for to get a face: the face itself, then stand-ins of about its width where it
// is not installed. For Tahoma, fontconfig's own choice, DejaVu Sans, is much wider: it would clip the
// main window's captions and push the schedule header's texts past their tab stops.
QStringList FaceFamilies(const QString &face);

// The face of the application's forms and dialogs, Tahoma, at the given size.
QFont FormFont(double pointSize = 8, bool bold = false);

// Makes Tahoma 8 the default font of every window and dialog.
void SetUpApplicationFont();

} // namespace fiscora
