#include "MsgBox.h"

#include "ToolBox.h"

#include <iostream>

namespace fiscora {

namespace {

int WriteToStandardError(const std::string &text, const std::string &caption, int /*flags*/) {
    std::string shown = text;
    for (char &c : shown)
        if (c == '\r')
            c = '\n';
    std::cerr << caption << ": " << shown << std::endl;
    return kMsgResultOk;
}

MsgBoxPresenter &CurrentPresenter() {
    static MsgBoxPresenter presenter = WriteToStandardError;
    return presenter;
}

std::string &TitleStorage() {
    static std::string title = "Fiscora 2025";
    return title;
}

} // namespace

MsgBoxPresenter InstallMsgBoxPresenter(MsgBoxPresenter presenter) {
    MsgBoxPresenter previous = std::move(CurrentPresenter());
    CurrentPresenter() = presenter ? std::move(presenter) : MsgBoxPresenter(WriteToStandardError);
    return previous;
}

int ShowMsgBox(std::string_view text, std::string_view caption, int flags) {
    const std::string shown =
        text.find('~') != std::string_view::npos ? TildeToLineBreak(text) : std::string(text);
    return CurrentPresenter()(shown, std::string(caption), flags);
}

const std::string &ApplicationTitle() {
    return TitleStorage();
}

void SetApplicationTitle(std::string title) {
    TitleStorage() = std::move(title);
}

} // namespace fiscora
