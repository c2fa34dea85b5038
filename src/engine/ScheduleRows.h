#pragma once

#include "ToolBoxExceptions.h"

#include <array>
#include <cstddef>
#include <string>
#include <utility>

namespace fiscora {

// One fiscal year of a schedule.
struct ScheduleRow {
    std::string yearEnd; // "MM/DD/YYYY"
    double period = 0;
    double accumulated = 0;
};

// The rows of one schedule in fixed storage: no schedule needs more than 80 rows (automobiles).
class ScheduleRows {
public:
    static constexpr std::size_t kCapacity = 80;

    // Raises ECustomException when the capacity is exhausted: a schedule is never cut short silently.
    void Add(ScheduleRow row) {
        if (count_ == kCapacity)
            throw ECustomException("The schedule needs more than 80 rows");
        rows_[count_++] = std::move(row);
    }

    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    const ScheduleRow &operator[](std::size_t index) const { return rows_[index]; }
    const ScheduleRow *begin() const { return rows_.data(); }
    const ScheduleRow *end() const { return rows_.data() + count_; }

private:
    std::array<ScheduleRow, kCapacity> rows_;
    std::size_t count_ = 0;
};

} // namespace fiscora
