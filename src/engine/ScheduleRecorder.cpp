#include "ScheduleRecorder.h"

#include <algorithm>

namespace fiscora {

namespace {

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

} // namespace

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
    const auto found = std::find_if(params_.begin(), params_.end(), [&](const auto &param) {
        return SameNameIgnoringCase(param.first, name);
    });
    if (value.empty()) {
        if (found != params_.end())
            params_.erase(found);
    } else if (found != params_.end()) {
        found->second = value;
    } else {
        params_.emplace_back(name, value);
    }
}

void ScheduleRecorder::CaretToStart() {
    ++caretResets_;
}

std::string ScheduleRecorder::Param(std::string_view name) const {
    for (const auto &[paramName, value] : params_)
        if (SameNameIgnoringCase(paramName, name))
            return value;
    return {};
}

} // namespace fiscora
