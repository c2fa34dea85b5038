#pragma once

#include "MsgBox.h"

#include <string>
#include <vector>

namespace fiscora {

// For tests: while it lives, every ShowMsgBox is recorded here instead of shown, and answered with
// `answer`. The previous presenter comes back when it is destroyed.
class MsgBoxRecorder {
public:
    struct Message {
        std::string text;
        std::string caption;
        int flags = 0;
    };

    explicit MsgBoxRecorder(int answer = kMsgResultOk)
        : previous_(InstallMsgBoxPresenter(
              [this, answer](const std::string &text, const std::string &caption, int flags) {
                  messages.push_back({text, caption, flags});
                  return answer;
              })) {}
    ~MsgBoxRecorder() { InstallMsgBoxPresenter(std::move(previous_)); }
    MsgBoxRecorder(const MsgBoxRecorder &) = delete;
    MsgBoxRecorder &operator=(const MsgBoxRecorder &) = delete;

    std::vector<Message> messages;

private:
    MsgBoxPresenter previous_;
};

} // namespace fiscora
