#include "ScheduleRecorder.h"

#include "SameText.h"

namespace fiscora {

void ScheduleRecorder::Clear() {
    lines_.clear();
}

void ScheduleRecorder::SetFormat(const ScheduleFormat &format) {
    format_ = format;
}

void ScheduleRecorder::AddLine(std::string_view line) {
    lines_.push_back({std::string(line), format_});
}

void ScheduleRecorder::SetParam(std::string_view name, std::string_view value) {
    std::string key = LowerCaseAscii(name);
    const auto found = paramIndex_.find(key);
    if (value.empty()) {
        if (found == paramIndex_.end())
            return;
        params_.erase(params_.begin() + static_cast<std::ptrdiff_t>(found->second));
        paramIndex_.clear();
        for (std::size_t i = 0; i < params_.size(); ++i)
            paramIndex_.emplace(LowerCaseAscii(params_[i].first), i);
    } else if (found != paramIndex_.end()) {
        params_[found->second].second = value;
    } else {
        paramIndex_.emplace(std::move(key), params_.size());
        params_.emplace_back(name, value);
    }
}

void ScheduleRecorder::CaretToStart() {
    ++caretResets_;
}

std::string ScheduleRecorder::Param(std::string_view name) const {
    const auto found = paramIndex_.find(LowerCaseAscii(name));
    return found == paramIndex_.end() ? std::string() : params_[found->second].second;
}

} // namespace fiscora
