#include "output/html/FoRenderHTML.h"
#include "output/pdf/FoRenderPDF.h"
#include "output/screen/FoRenderPreview.h"

#include <gtest/gtest.h>

#include <QString>

#include <vector>

namespace fiscora {
namespace {

struct TWritten {
    QString Text;
    double X;
    bool operator==(const TWritten &) const = default;
};

// Each renderer with a one-inch-per-character measure and its output recorded, so that the
// justification itself is what the test sees.
template <class TRenderer> class TJustifyRecorder : public TRenderer {
public:
    std::vector<TWritten> Written;

    void LeftText(const QString &Text, double X, double) override { Written.push_back({Text, X}); }
    void PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) override {
        this->AdvanceAlongBaseline(X, Y, Advance);
        Written.push_back({Text, X});
    }
    double JustifiedTextWidth(const QString &Text) override { return double(Text.size()); }
};

struct TJustifyCase {
    const char *Name;
    QString Text;
    double Width;
    std::vector<TWritten> Expected;
    std::vector<TWritten> ExpectedHtml; // the HTML page counts leading spaces as gaps too
};

const std::vector<TJustifyCase> &Cases() {
    static const std::vector<TJustifyCase> cases = {
        // "a b" over 5 inches: one gap takes the 2 extra inches.
        {"two words", "a b", 5.0, {{"a", 0.0}, {" b", 5.0}}, {{"a", 0.0}, {" b", 5.0}}},
        // The leading spaces belong to the first word; HTML shares the extra over 3 gaps, not 1.
        {"leading spaces",
         "  a b",
         7.0,
         {{"  a", 0.0}, {" b", 7.0}},
         {{"  a", 0.0}, {" b", 5.0 + 2.0 / 3.0}}},
        // Spaces after the last word show nothing in any renderer.
        {"trailing spaces", "a b  ", 7.0, {{"a", 0.0}, {" b", 5.0}}, {{"a", 0.0}, {" b", 5.0}}},
        // A single word is spread letter by letter: "a b c" has 2 gaps for the 2 extra inches.
        {"single word",
         "abc",
         7.0,
         {{"a", 0.0}, {" b", 4.0}, {" c", 7.0}},
         {{"a", 0.0}, {" b", 4.0}, {" c", 7.0}}},
        // Only spaces: nothing but the spaces themselves as the first word.
        {"only spaces", "   ", 5.0, {{"   ", 0.0}}, {{"   ", 0.0}}},
    };
    return cases;
}

template <class TRenderer> void CheckCases(bool html) {
    for (const TJustifyCase &c : Cases()) {
        SCOPED_TRACE(c.Name);
        TJustifyRecorder<TRenderer> renderer;
        renderer.PrintSpaces(c.Text, 0.0, 1.0, c.Width);
        const std::vector<TWritten> &expected = html ? c.ExpectedHtml : c.Expected;
        ASSERT_EQ(renderer.Written.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_EQ(renderer.Written[i].Text, expected[i].Text) << i;
            EXPECT_NEAR(renderer.Written[i].X, expected[i].X, 1e-9) << i;
        }
    }
}

TEST(JustifiedTextTest, CanvasJustifiesLeadingAndTrailingSpaces) {
    CheckCases<TFoRenderPreview>(false); // the canvas renderer, as the preview and printer use it
}

TEST(JustifiedTextTest, PdfJustifiesLeadingAndTrailingSpaces) {
    CheckCases<TFoRenderPDF>(false);
}

TEST(JustifiedTextTest, HtmlCountsLeadingSpacesAmongTheGaps) {
    CheckCases<TFoRenderHTML>(true);
}

} // namespace
} // namespace fiscora
