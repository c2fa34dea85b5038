#pragma once

// Messages to the user. ShowMsgBox hands every message to one replaceable presenter: the
// application installs one that shows a message box, tests install a recorder
// (tests/common/MsgBoxRecorder.h), and without either the message goes to standard error.

#include <functional>
#include <string>
#include <string_view>

namespace fiscora {

// Message-box flags: the buttons in the low four bits (0 is OK alone), the icon above them.
inline constexpr int kMsgButtonsOkCancel = 1;
inline constexpr int kMsgButtonsYesNoCancel = 3;
inline constexpr int kMsgYesNo = 4;
inline constexpr int kMsgIconError = 16;
inline constexpr int kMsgIconQuestion = 32;
inline constexpr int kMsgIconWarning = 48;
inline constexpr int kMsgIconInformation = 64;

// Identifiers of the pressed button, the result of a message.
inline constexpr int kMsgResultOk = 1;
inline constexpr int kMsgResultCancel = 2;
inline constexpr int kMsgResultYes = 6;
inline constexpr int kMsgResultNo = 7;

// Shows the message; "~" in the text has already become a carriage return. Returns the pressed button.
using MsgBoxPresenter = std::function<int(const std::string &text, const std::string &caption, int flags)>;

// Installs a presenter and returns the one it replaces; an empty presenter restores the default.
MsgBoxPresenter InstallMsgBoxPresenter(MsgBoxPresenter presenter);

// Turns "~" into line breaks and shows the message through the installed presenter.
int ShowMsgBox(std::string_view text, std::string_view caption, int flags);

// The caption of messages that carry the application title; "Fiscora 2025" until set.
const std::string &ApplicationTitle();
void SetApplicationTitle(std::string title);

} // namespace fiscora
