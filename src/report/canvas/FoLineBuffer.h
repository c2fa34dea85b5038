#pragma once

#include "report/core/FoTypes.h"

#include <vector>

namespace fiscora {

// A horizontal or vertical line kept back until the page ends. Fixed is the shared Y (horizontal)
// or X (vertical); Start < End along the line. Page coordinates in inches.
struct TFoBufferedLine {
    double Fixed = 0;
    double Start = 0;
    double End = 0;
    TColor Color = clBlack;
    TPenMode Mode = TPenMode::pmCopy;
    TPenStyle Style = TPenStyle::psSolid;
    int Width = 1;

    bool SamePen(const TFoBufferedLine &other) const {
        return Color == other.Color && Mode == other.Mode && Style == other.Style && Width == other.Width;
    }
};

// Collects a page's horizontal and vertical lines and merges overlapping ones drawn with the same
// pen, so that touching table rules come out as one stroke.
class TFoLineBuffer {
public:
    static constexpr double kTolerance = 0.0001;

    void AddHorizontal(TFoBufferedLine line) { Add(FHorizontal, line); }
    void AddVertical(TFoBufferedLine line) { Add(FVertical, line); }
    const std::vector<TFoBufferedLine> &Horizontal() const { return FHorizontal; }
    const std::vector<TFoBufferedLine> &Vertical() const { return FVertical; }
    bool Empty() const { return FHorizontal.empty() && FVertical.empty(); }
    void Clear();

private:
    static void Add(std::vector<TFoBufferedLine> &lines, TFoBufferedLine line);

    std::vector<TFoBufferedLine> FHorizontal;
    std::vector<TFoBufferedLine> FVertical;
};

} // namespace fiscora
