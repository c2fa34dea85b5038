#pragma once

#include <QString>

#include <string>

namespace fiscora {

// Message texts break lines with carriage returns ("~" becomes one); a label breaks them at line feeds.
QString LineBreaksForDisplay(const QString &text);

// Shows a message the way the application does: a message box owned by the active window, with the
// icon of the flags (16 error, 48 warning, 64 information), the caption and an OK button.
int PresentMessageBox(const std::string &text, const std::string &caption, int flags);

// Makes PresentMessageBox the presenter of every ShowMsgBox.
void InstallMessageBoxPresenter();

} // namespace fiscora
