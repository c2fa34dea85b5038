#include "report/canvas/FoLineBuffer.h"

#include <cmath>
#include <utility>

namespace fiscora {

namespace {
bool Within(double value, const TFoBufferedLine &line) {
    return value >= line.Start - TFoLineBuffer::kTolerance && value <= line.End + TFoLineBuffer::kTolerance;
}
} // namespace

void TFoLineBuffer::Clear() {
    FHorizontal.clear();
    FVertical.clear();
}

void TFoLineBuffer::Add(std::vector<TFoBufferedLine> &lines, TFoBufferedLine line) {
    if (line.Start > line.End)
        std::swap(line.Start, line.End);
    for (std::size_t i = 0; i < lines.size();) {
        const TFoBufferedLine &existing = lines[i];
        if (std::abs(existing.Fixed - line.Fixed) > kTolerance || !existing.SamePen(line)) {
            ++i;
            continue;
        }
        const bool startWithin = Within(line.Start, existing);
        const bool endWithin = Within(line.End, existing);
        if (startWithin && endWithin)
            return; // already drawn by the existing line
        if (startWithin || endWithin) {
            line.Start = std::min(line.Start, existing.Start);
            line.End = std::max(line.End, existing.End);
            lines.erase(lines.begin() + std::ptrdiff_t(i));
            continue;
        }
        if (existing.Start > line.Start && existing.End < line.End) {
            lines.erase(lines.begin() + std::ptrdiff_t(i));
            continue;
        }
        ++i;
    }
    lines.push_back(line);
}

} // namespace fiscora
