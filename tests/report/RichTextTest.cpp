// Rich-text commands mean the same on the page canvas and in playback: every letter through both.
#include "FoBaseRecorderTest.h"
#include "FoSnapshotTestSupport.h"

#include "report/playback/FoSnapshotConverter.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fiscora;
using namespace fiscora::test;
using fiscora::test_support::TRecordingReport;

namespace {

// Keeps the font description playback prints each piece in, and the platform font announced for it.
class TFontRecorder : public TFoSnapshotRecorder {
public:
    std::vector<TSaveFont> Descriptions;
    std::vector<TRichPiece> Announced;

    void FontChanged(TFoFont &Font) override {
        TFoSnapshotRecorder::FontChanged(Font);
        FLast.Name = Font.Name();
        FLast.Size = Font.Size();
        FLast.Color = Font.Color();
        FLast.Pitch = Font.Pitch();
        FLast.Bold = Font.Bold();
        FLast.Italic = Font.Italic();
        FLast.Underline = Font.Underline();
        FLast.Strikeout = Font.Strikeout();
    }
    void LeftText(const QString &Text, double X, double Y) override {
        TFoSnapshotRecorder::LeftText(Text, X, Y);
        Descriptions.push_back(Converter->FontData);
        Announced.push_back({Text, FLast});
    }

private:
    TSaveFont FLast;
};

struct RichCase {
    const char *Commands; // separated by "|" here, by character 2 in the text
    std::function<void(TSaveFont &)> Expected;
};

// Every case starts from "R": Arial, 12 points, no attributes.
TSaveFont ResetFont() {
    TSaveFont font;
    font.Name = QStringLiteral("Arial");
    font.Size = 12.0;
    font.Height = 12.0 / 72.0;
    return font;
}

QString RichText(const char *commands) {
    QString block = QStringLiteral("R|") + QString::fromLatin1(commands);
    block.replace(u'|', QChar(kRichSeparator));
    return QChar(kRichOpen) + block + QChar(kRichClose) + QStringLiteral("Sample");
}

void ExpectSameFont(const TSaveFont &actual, const TSaveFont &expected, const std::string &where) {
    SCOPED_TRACE(where);
    EXPECT_EQ(actual.Name, expected.Name);
    EXPECT_DOUBLE_EQ(actual.Size, expected.Size);
    EXPECT_EQ(actual.Color, expected.Color);
    EXPECT_EQ(actual.Pitch, expected.Pitch);
    EXPECT_EQ(actual.Bold, expected.Bold);
    EXPECT_EQ(actual.Italic, expected.Italic);
    EXPECT_EQ(actual.Underline, expected.Underline);
    EXPECT_EQ(actual.Strikeout, expected.Strikeout);
    EXPECT_EQ(actual.Superscript, expected.Superscript);
    EXPECT_EQ(actual.Subscript, expected.Subscript);
}

const std::vector<RichCase> &Cases() {
    static const std::vector<RichCase> cases = {
        {"B1", [](TSaveFont &f) { f.Bold = true; }},
        {"B1|B0", [](TSaveFont &) {}},
        {"B2", [](TSaveFont &) {}}, // only "1" switches on
        {"I1", [](TSaveFont &f) { f.Italic = true; }},
        {"U1", [](TSaveFont &f) { f.Underline = true; }},
        {"K1", [](TSaveFont &f) { f.Strikeout = true; }},
        {"P1", [](TSaveFont &f) { f.Superscript = true; }},
        {"S1", [](TSaveFont &f) { f.Subscript = true; }},
        {"P1|S1", [](TSaveFont &f) { f.Subscript = true; }}, // one excludes the other
        {"S1|P1", [](TSaveFont &f) { f.Superscript = true; }},
        {"S1|P0", [](TSaveFont &f) { f.Subscript = true; }},
        {"C255", [](TSaveFont &f) { f.Color = 255; }},
        {"C255|C12x", [](TSaveFont &f) { f.Color = 255; }}, // a colour that is no number is ignored
        {"C255|C", [](TSaveFont &f) { f.Color = 255; }},
        {"HF", [](TSaveFont &f) { f.Pitch = TFontPitch::fpFixed; }},
        {"HV", [](TSaveFont &f) { f.Pitch = TFontPitch::fpVariable; }},
        {"HF|HD", [](TSaveFont &) {}},
        {"HF|Hv", [](TSaveFont &) {}}, // values are case-sensitive: "v" is the default pitch
        {"NTimes New Roman", [](TSaveFont &f) { f.Name = QStringLiteral("Times New Roman"); }},
        {"Z14.6",
         [](TSaveFont &f) {
             f.Size = 15;
             f.Height = 15 / 72.0;
         }},
        {"Z0", [](TSaveFont &) {}},
        {"Z-8", [](TSaveFont &) {}},
        {"Zbig", [](TSaveFont &) {}},
        {"Z99999",
         [](TSaveFont &f) {
             f.Size = kRichMaxPoints;
             f.Height = kRichMaxPoints / 72.0;
         }},
        {"Z1\x03"
         "6",
         [](TSaveFont &f) { // character 3 inside a value is ignored
             f.Size = 16;
             f.Height = 16 / 72.0;
         }},
        {"b1|i1|u1|k1|p1|c255|z30|nCourier New|X1", [](TSaveFont &) {}}, // letters are case-sensitive
        {"NCourier New|Z20|B1|I1|C255|HF|P1|r",
         [](TSaveFont &f) { // "r" keeps name and size
             f.Name = QStringLiteral("Courier New");
             f.Size = 20;
             f.Height = 20 / 72.0;
         }},
        {"NCourier New|Z20|B1|U1|C255|S1|R", [](TSaveFont &) {}},
        {"Ahttp://example.test/|B1", [](TSaveFont &f) { f.Bold = true; }}, // a link leaves the font alone
    };
    return cases;
}

} // namespace

TEST(RichText, EveryCommandMeansTheSameOnTheCanvasAndInPlayback) {
    TRecordingReport canvas;
    canvas.Start();
    TSnapshotBuilder builder;
    builder.Header(1);
    builder.Page(1, [&](TFoSnapshotOutput &out) {
        for (const RichCase &c : Cases()) {
            out.WriteByte(scLeftText);
            out.WriteFloat(1.0);
            out.WriteString(RichText(c.Commands));
            out.WriteFloat(1.0);
        }
    });
    TFontRecorder playback;
    ASSERT_EQ(Play(builder.Bytes(), playback), QString());
    ASSERT_EQ(playback.Descriptions.size(), Cases().size());

    for (std::size_t i = 0; i < Cases().size(); ++i) {
        const RichCase &c = Cases()[i];
        TSaveFont expected = ResetFont();
        c.Expected(expected);
        const std::string name = c.Commands;

        const std::vector<TRichPiece> pieces = canvas.RichTextPieces(RichText(c.Commands));
        ASSERT_EQ(pieces.size(), 1u) << name;
        EXPECT_EQ(pieces[0].Text, QStringLiteral("Sample"));
        ExpectSameFont(pieces[0].Font, expected, "canvas " + name);
        ExpectSameFont(playback.Descriptions[i], expected, "playback " + name);

        // The platform font playback announces follows the description (it has no sub/superscript).
        TSaveFont announced = playback.Announced[i].Font;
        announced.Superscript = expected.Superscript;
        announced.Subscript = expected.Subscript;
        ExpectSameFont(announced, expected, "playback font " + name);
    }
    canvas.Finish();
}

TEST(RichText, HyperlinkCommandReachesTheRendererInPlaybackOnly) {
    const QString text = QChar(kRichOpen) + QStringLiteral("Ahttp://example.test/") + QChar(kRichClose) +
                         QStringLiteral("link") + QChar(kRichOpen) + QStringLiteral("A") + QChar(kRichClose);
    TSnapshotBuilder builder;
    builder.Header(1);
    builder.Page(1, [&](TFoSnapshotOutput &out) {
        out.WriteByte(scLeftText);
        out.WriteFloat(1.0);
        out.WriteString(text);
        out.WriteFloat(1.0);
    });
    TFoSnapshotRecorder playback;
    ASSERT_EQ(Play(builder.Bytes(), playback), QString());
    const auto links = playback.CallsNamed(QStringLiteral("SetHyperlink"));
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(std::get<QString>(links[0].Args.at(0).Value), QStringLiteral("http://example.test/"));
    EXPECT_EQ(std::get<QString>(links[1].Args.at(0).Value), QString());
}
