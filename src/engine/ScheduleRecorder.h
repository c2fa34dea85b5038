#pragma once

#include "ScheduleSink.h"

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace fiscora {

// A sink that keeps what a schedule run wrote: the lines with their formatting, and the report
// parameters in the order they were first set (SetParam semantics: same name, compared without
// regard to ASCII case, replaces the value in place; an empty value removes the entry).
class ScheduleRecorder : public ScheduleSink {
public:
    struct Line {
        std::string text;
        ScheduleFormat format;
    };

    void Clear() override;
    void SetFormat(const ScheduleFormat &format) override;
    void AddLine(std::string_view line) override;
    void SetParam(std::string_view name, std::string_view value) override;
    void CaretToStart() override;

    const std::vector<Line> &lines() const { return lines_; }
    const std::vector<std::pair<std::string, std::string>> &params() const { return params_; }
    const ScheduleFormat &format() const { return format_; }
    int caretResets() const { return caretResets_; }
    // The value of a parameter, empty when it is not set.
    std::string Param(std::string_view name) const;

private:
    std::vector<Line> lines_;
    std::vector<std::pair<std::string, std::string>> params_;
    std::unordered_map<std::string, std::size_t> paramIndex_; // lower-case name -> position in params_
    ScheduleFormat format_;
    int caretResets_ = 0;
};

} // namespace fiscora
