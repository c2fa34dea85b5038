#pragma once

#include <string>
#include <string_view>

namespace fiscora {

// Character formatting of the schedule pane; applies to lines added after it is set.
struct ScheduleFormat {
    std::string fontName = "Arial";
    int pointSize = 8;
    bool bold = false;
    bool italic = false;
};

// Where a schedule run writes: the main window's pane and report parameters, the CLI, or a test recorder.
// Texts are UTF-8.
class ScheduleSink {
public:
    virtual ~ScheduleSink() = default;

    virtual void Clear() = 0;
    virtual void SetFormat(const ScheduleFormat &format) = 0;
    virtual void AddLine(std::string_view line) = 0;
    virtual void SetParam(std::string_view name, std::string_view value) = 0;
    virtual void CaretToStart() = 0;
};

} // namespace fiscora
