#include "CheckSnapshotPlayback.h"
#include "FoSnapshotTestSupport.h"
#include "FuzzReplay.h"

#include "report/core/FoMacros.h"
#include "report/core/FoStreamAnsi.h"
#include "report/playback/FoSnapshotConverter.h"
#include "report/snapshot/FoSnapshotHeaders.h"
#include "report/snapshot/FoSnapshotReader.h"

#include <QDir>
#include <QRegularExpression>

#include <set>

#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

const QChar Marker(kMarkerChar);

QString MacroMarker(int id) {
    return Marker + QStringLiteral("$FOLM%1").arg(id, 2, 10, QLatin1Char('0'));
}
QString VarMarker(const QString &name) {
    return Marker + QStringLiteral("$FOLV") + QChar(kVarNameStart) + name + QChar(kVarNameEnd);
}

void LeftText(TFoSnapshotOutput &out, const QString &text, double x = 0.5, double y = 1.0) {
    out.WriteByte(scLeftText);
    out.WriteFloat(y);
    out.WriteString(text);
    out.WriteFloat(x);
}

QByteArray OnePage(const std::function<void(TFoSnapshotOutput &)> &body) {
    TSnapshotBuilder builder;
    builder.Header(1);
    builder.Page(1, body);
    return builder.Bytes();
}

double Number(const TFoRecordedCall &call, size_t index) {
    return std::get<double>(call.Args.at(index).Value);
}
QString Text(const TFoRecordedCall &call, size_t index) {
    return std::get<QString>(call.Args.at(index).Value);
}
double Attribute(const TFoRecordedCall &call, const char *name) {
    for (const auto &arg : call.Args)
        if (arg.Name == QLatin1String(name))
            return std::get<double>(arg.Value);
    return -1;
}

// ---- Page ranges ------------------------------------------------------------------------------------

struct RangeCase {
    const char *Name;
    int Page;
    QString Selection;
    int First;
    int Last;
    QString Expected;
};

class SnapshotPageRange : public testing::TestWithParam<RangeCase> {};

TEST_P(SnapshotPageRange, PlaysThePagesTheRulesSelect) {
    const RangeCase &c = GetParam();
    TFoSnapshotRecorder recorder;
    recorder.SetSelection(c.Selection);
    recorder.SetFirstPage(c.First);
    recorder.SetLastPage(c.Last);
    ASSERT_EQ(Play(TSnapshotBuilder::Pages(5), recorder, c.Page), QString());
    EXPECT_EQ(LeftTexts(recorder), c.Expected);
    EXPECT_EQ(recorder.CallsNamed("DocBegin").size(), 1u);
    EXPECT_EQ(recorder.CallsNamed("DocEnd").size(), 1u);
    EXPECT_EQ(recorder.Calls.back().Name, "DocEnd");
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SnapshotPageRange,
    testing::Values(RangeCase{"OnePage", 3, "", 0, 0, "page 3"},
                    RangeCase{"PastTheEnd", 9, "", 0, 0, "page 5"},
                    RangeCase{"Even", 0, "EVEN", 0, 0, "page 2|page 4"},
                    RangeCase{"ListAndRange", 0, "1,3-4", 0, 0, "page 1|page 3|page 4"},
                    RangeCase{"Unlimited", 0, "", 2, 9999, "page 1|page 2|page 3|page 4|page 5"},
                    RangeCase{"Unset", 0, "", 0, 0, "page 1|page 2|page 3|page 4|page 5"},
                    RangeCase{"Range", 0, "", 2, 3, "page 2|page 3"},
                    RangeCase{"LoweredToCount", 0, "", 3, 7, "page 3|page 4|page 5"},
                    RangeCase{"SelectionBeyondPages", 0, "7-", 0, 0, ""}),
    [](const auto &info) { return std::string(info.param.Name); });

TEST(SnapshotConverter, WalksThePageChainBothWays) {
    QByteArray bytes = TSnapshotBuilder::Pages(5);
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TFoSnapshotRecorder recorder;
    TFoConverter converter(stream, recorder);
    converter.Generate(5);
    EXPECT_EQ(converter.PageNo(), 5);
    converter.GotoPage(2);
    EXPECT_EQ(converter.PageNo(), 2);
    converter.GotoPage(-4);
    EXPECT_EQ(converter.PageNo(), 1);
}

TEST(SnapshotConverter, GoesToAPageFromTheMarkOfThePagePlayedBeforeOnlyWhereThatPageIs) {
    const QByteArray bytes = TSnapshotBuilder::Pages(5);
    struct Case {
        const char *Name;
        TFoPageMark Mark;
    };
    QByteArray playedBytes = bytes;
    QBuffer playedStream(&playedBytes);
    playedStream.open(QIODevice::ReadOnly);
    TFoSnapshotRecorder played;
    played.SetSnapshotStream(&playedStream);
    played.RenderPage(2);
    const TFoPageMark mark = played.NextPage;
    const Case cases[] = {
        {"the mark playing page 2 left", mark},
        {"a mark inside a page", {3, mark.Position + 3}},
        {"a mark of another page number", {4, mark.Position}},
        {"a mark beyond the stream", {3, bytes.size() + 100}},
    };
    ASSERT_EQ(cases[0].Mark.PageNo, 3);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        QByteArray copy = bytes;
        QBuffer stream(&copy);
        stream.open(QIODevice::ReadOnly);
        TFoSnapshotRecorder recorder;
        recorder.SetSnapshotStream(&stream);
        recorder.NextPage = c.Mark;
        recorder.RenderPage(3);
        EXPECT_EQ(LeftTexts(recorder), "page 3");
        EXPECT_EQ(recorder.NextPage.PageNo, 4);
    }
}

// ---- Errors -----------------------------------------------------------------------------------------

struct ErrorCase {
    const char *Name;
    QByteArray Bytes;
    QString Message;
};

QByteArray WithByte(QByteArray bytes, qsizetype at, char value) {
    bytes[at] = value;
    return bytes;
}

class SnapshotPlaybackError : public testing::TestWithParam<ErrorCase> {};

TEST_P(SnapshotPlaybackError, StopsWithItsMessageAndStillEndsTheDocument) {
    TFoSnapshotRecorder recorder;
    EXPECT_EQ(Play(GetParam().Bytes, recorder), GetParam().Message);
    ASSERT_FALSE(recorder.Calls.empty());
    EXPECT_EQ(recorder.Calls.back().Name, "DocEnd");
    EXPECT_FALSE(recorder.Rendering());
    EXPECT_EQ(recorder.Converter, nullptr);
}

const QByteArray FivePages = TSnapshotBuilder::Pages(5);
const qsizetype FirstPageAt = 1 + 2 + 3 + 12 + 24 + 1 + 2 + 2 + 4 * 2 + 1;

INSTANTIATE_TEST_SUITE_P(
    Messages, SnapshotPlaybackError,
    testing::Values(ErrorCase{"HeaderCode", WithByte(FivePages, 0, 7),
                              "Unexpected header code [7] found in report file."},
                    ErrorCase{"PageCode", WithByte(FivePages, FirstPageAt, 81),
                              "Unexpected code found in report file."},
                    ErrorCase{"RecordCode", OnePage([](TFoSnapshotOutput &out) { out.WriteByte(39); }),
                              "Unexpected code [39] found in report file."},
                    ErrorCase{"Truncated", FivePages.left(FivePages.size() - 3), "Stream read error"},
                    ErrorCase{"Empty", QByteArray(), "Stream read error"}),
    [](const auto &info) { return std::string(info.param.Name); });

// ---- Older layouts ----------------------------------------------------------------------------------

TEST(SnapshotConverter, ReadsTheVersion1101LayoutWithAnsiStrings) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TFoSnapshotOutput out(buffer);
    auto ansi = [&](const QString &text) {
        const QByteArray encoded = AnsiFromText(text);
        out.WriteByte(static_cast<quint8>(encoded.size()));
        out.Write(encoded.constData(), encoded.size());
    };
    out.WriteByte(scHeaderV1101); // no version word, no title
    for (int value : {1, 1, 9999})
        out.WriteWord(static_cast<quint16>(value));
    for (double value : {8.5, 11.0, 0.0, 0.0, 0.0, 0.0})
        out.WriteFloat(value);
    out.WriteByte(0); // orientation; no bin, collate or duplex before 2000
    for (int value : {1, 1, 0, 0})
        out.WriteWord(static_cast<quint16>(value));
    ansi("");
    const qint64 page = out.Position();
    out.WriteByte(scPageHeader);
    out.WriteInt(0);
    out.WriteInt(0);
    out.WriteWord(1);
    out.WriteByte(0); // old orientation instead of the paper size
    out.WriteByte(scFont);
    ansi("Courier New");
    out.WriteInt(0xFF);
    out.WriteByte(2);
    out.WriteFloat(0.25); // no character set before 2018
    out.WriteByte(1);
    out.WriteByte(0);
    out.WriteByte(0);
    out.WriteByte(0); // no rotation before 2000
    out.WriteByte(scFontHeight);
    out.WriteFloat(12.0 / 72); // no reference width before 2000
    out.WriteByte(scLeftText);
    out.WriteFloat(1);
    ansi(QStringLiteral("\u00E9t\u00E9"));
    out.WriteFloat(2);
    out.WriteByte(scPageEnd);
    out.Flush();
    ASSERT_GT(page, 0);

    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), QStringLiteral("\u00E9t\u00E9"));
    const auto fonts = recorder.CallsNamed("FontChanged");
    ASSERT_GE(fonts.size(), 2u);
    EXPECT_EQ(Text(fonts[0], 0), "Courier New");
    EXPECT_EQ(Attribute(fonts[0], "Color"), 255);
    EXPECT_EQ(Attribute(fonts[0], "Bold"), 1);
    EXPECT_EQ(Attribute(fonts.back(), "Size"), 12);
}

TEST(SnapshotConverter, RereadsAnImplausibleHeaderWithEightBitStrings) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TFoSnapshotOutput out(buffer);
    out.WriteByte(scHeaderVersioned);
    out.WriteWord(10000);
    out.WriteByte(0); // empty title reads the same either way
    out.WriteInt(0);  // page count 0: implausible
    out.WriteInt(1);
    out.WriteInt(9999);
    for (double value : {8.5, 11.0, 0.0, 0.0, 0.0, 0.0})
        out.WriteFloat(value);
    out.WriteByte(0);
    out.WriteWord(265);
    out.WriteByte(0);
    out.WriteByte(0);
    for (int value : {1, 1, 0, 0})
        out.WriteWord(static_cast<quint16>(value));
    out.WriteByte(0);
    out.WriteByte(scPageHeader);
    out.WriteInt(0);
    out.WriteInt(0);
    out.WriteInt(1);
    out.WriteFloat(8.5);
    out.WriteFloat(11);
    out.WriteByte(0);
    out.WriteWord(512);
    out.WriteByte(scLeftText);
    out.WriteFloat(1);
    out.WriteByte(2);
    out.Write("Hi", 2);
    out.WriteFloat(1);
    out.WriteByte(scPageEnd);
    out.Flush();
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), "Hi");
}

struct VersionCase {
    const char *Name;
    quint8 HeaderCode;
    int Version; // the version the header code stands for
};

// A one-page stream laid out for the given version, with the title "Ti" (when the version has one)
// and a 200-character text, which needs a two-byte length from 2016 on.
QByteArray VersionedStream(const VersionCase &Case, const QString &Text) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TFoSnapshotOutput out(buffer);
    const int v = Case.Version;
    auto string = [&](const QString &text) {
        const qsizetype length = text.size();
        if (length < 192 || v < 2016) {
            out.WriteByte(static_cast<quint8>(length));
        } else {
            out.WriteByte(static_cast<quint8>((length + 49152) >> 8));
            out.WriteByte(static_cast<quint8>((length + 49152) & 0xFF));
        }
        if (v < 5130) {
            const QByteArray ansi = AnsiFromText(text);
            out.Write(ansi.constData(), ansi.size());
        } else {
            for (QChar c : text)
                out.WriteWord(c.unicode());
        }
    };
    auto pageNumber = [&](int value) {
        if (v < 2018)
            out.WriteWord(static_cast<quint16>(value));
        else
            out.WriteInt(value);
    };
    out.WriteByte(Case.HeaderCode);
    if (Case.HeaderCode == scHeaderVersioned)
        out.WriteWord(static_cast<quint16>(v));
    if (v >= 2010)
        string(QStringLiteral("Ti"));
    for (int value : {1, 1, 9999})
        pageNumber(value);
    for (double value : {8.5, 11.0, 0.25, 0.25, 0.5, 0.5})
        out.WriteFloat(value);
    out.WriteByte(1); // landscape
    if (v >= 2000) {
        out.WriteWord(7); // bin
        out.WriteByte(1); // collate
        out.WriteByte(2); // duplex
    }
    for (int value : {3, 9, 2100, 2970})
        out.WriteWord(static_cast<quint16>(value));
    string(QStringLiteral("Out"));
    out.WriteByte(scPageHeader);
    out.WriteInt(0);
    out.WriteInt(0);
    pageNumber(1);
    if (v < 2000) {
        out.WriteByte(0);
    } else {
        out.WriteFloat(11.0);
        out.WriteFloat(8.5);
    }
    if (v > 5129) {
        out.WriteByte(1);
        out.WriteWord(15);
    }
    out.WriteByte(scLeftText);
    out.WriteFloat(1);
    string(Text);
    out.WriteFloat(2);
    out.WriteByte(scPageEnd);
    out.Flush();
    return bytes;
}

class SnapshotVersion : public testing::TestWithParam<VersionCase> {};

TEST_P(SnapshotVersion, ReadsTheHeaderAndPageOfItsLayout) {
    const VersionCase &param = GetParam();
    const QString text = QString(199, QChar(0x00E9)) + QLatin1Char('!');
    QByteArray bytes = VersionedStream(param, text);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TFoSnapshotReader reader(buffer);
    TFoReportHeader header = ReadSnapshotReportHeader(reader, false);
    EXPECT_EQ(header.FileVer, param.Version);
    EXPECT_EQ(header.Title, param.Version >= 2010 ? "Ti" : "");
    EXPECT_EQ(header.PageCount, 1);
    EXPECT_EQ(header.LastPage, 9999);
    EXPECT_EQ(header.RightWaste, 0.25);
    EXPECT_EQ(header.BottomWaste, 0.5);
    EXPECT_EQ(header.Orientation, TOrientation::poLandScape);
    EXPECT_EQ(header.Collate, param.Version >= 2000);
    EXPECT_EQ(header.Copies, 3);
    EXPECT_EQ(header.DMPaperSize, 9);
    EXPECT_EQ(header.DMPaperWidth, 2100);
    EXPECT_EQ(header.DMPaperLength, 2970);
    EXPECT_EQ(header.OutputName, "Out");
    if (param.Version >= 2000) {
        EXPECT_EQ(header.Bin, 7);
        EXPECT_EQ(header.Duplex, TDuplex::dupHorizontal);
    }
    const TFoPageHeader page = ReadSnapshotPageHeader(reader, header);
    EXPECT_EQ(page.PageNo, 1);
    if (param.Version >= 2000) {
        EXPECT_EQ(page.PaperWidth, 11.0);
        EXPECT_EQ(header.Bin, param.Version > 5129 ? 15 : 7); // page headers carry a bin after 5129
    }
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(LeftTexts(recorder), text);
}

INSTANTIATE_TEST_SUITE_P(Layouts, SnapshotVersion,
                         testing::Values(VersionCase{"Q1101", scHeaderV1101, 1101},
                                         VersionCase{"Y2009", scHeaderV2009, 2009},
                                         VersionCase{"Z1999", scHeaderVersioned, 1999},
                                         VersionCase{"Z2000", scHeaderVersioned, 2000},
                                         VersionCase{"Z2010", scHeaderVersioned, 2010},
                                         VersionCase{"Z2016", scHeaderVersioned, 2016},
                                         VersionCase{"Z2018", scHeaderVersioned, 2018},
                                         VersionCase{"Z5129", scHeaderVersioned, 5129},
                                         VersionCase{"Z5130", scHeaderVersioned, 5130},
                                         VersionCase{"Z10000", scHeaderVersioned, 10000}),
                         [](const auto &info) { return std::string(info.param.Name); });

// ---- Markers and variables --------------------------------------------------------------------------

TEST(SnapshotConverter, ExpandsMacroMarkers) {
    const QByteArray bytes = [] {
        TSnapshotBuilder builder;
        builder.Header(2, 1, 9999);
        builder.Page(1);
        builder.Page(2, [](TFoSnapshotOutput &out) {
            LeftText(out, MacroMarker(11) + "/" + MacroMarker(10) + " " + MacroMarker(16) + MacroMarker(40) +
                              "|" + MacroMarker(13) + "|" + MacroMarker(2) + "|" + MacroMarker(6) + "|" +
                              MacroMarker(12) + MacroMarker(17) + "|" + MacroMarker(8) + "-" +
                              MacroMarker(9));
        });
        return builder.Bytes();
    }();
    TFoSnapshotRecorder recorder;
    recorder.MacroData() << "first user line";
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_TRUE(
        QRegularExpression(
            "^2/2 first user line\\|Render\\|\\d\\d/\\d\\d/\\d\\d\\|\\d\\d:\\d\\d (AM|PM)\\|\\|1-9999$")
            .match(LeftTexts(recorder))
            .hasMatch())
        << LeftTexts(recorder).toStdString();
}

void DefinedValue(TFoSnapshotOutput &out, const QString &name, const QString &value) {
    out.WriteByte(scVariableData);
    out.WriteString(name);
    out.WriteByte(static_cast<quint8>(value.size()));
    out.WriteByte(static_cast<quint8>(value.size()));
    for (QChar c : value)
        out.WriteWord(c.unicode());
}

TEST(SnapshotConverter, ExpandsVariableMarkers) {
    const QByteArray bytes = OnePage([](TFoSnapshotOutput &out) {
        DefinedValue(out, "Total", "42");
        LeftText(out, "[" + VarMarker("TOTAL") + "][" + VarMarker("other") + "]");
        LeftText(out, Marker + QStringLiteral("$FOLVxkeep")); // no 252: the six and one more go
        LeftText(out, QStringLiteral("a") + Marker + QStringLiteral("$FOLV") + QChar(kVarNameStart) +
                          "total"); // no 251: to the end
        DefinedValue(out, "Self", VarMarker("Self") + VarMarker("Self"));
        LeftText(out, "s" + VarMarker("self")); // must end, however it expands
    });
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    const QStringList texts = LeftTexts(recorder).split('|');
    ASSERT_EQ(texts.size(), 4);
    EXPECT_EQ(texts[0], "[42][]");
    EXPECT_EQ(texts[1], "keep");
    EXPECT_EQ(texts[2], "a42");
    EXPECT_TRUE(texts[3].startsWith("s"));
}

TEST(SnapshotConverter, FollowsVariableReferencesAndPatchedPlaceholders) {
    TSnapshotBuilder builder;
    builder.Header(2);
    qint64 finalBlock = 0;
    qint64 placeholder = 0;
    builder.Page(1, [&](TFoSnapshotOutput &out) {
        DefinedValue(out, "Old", "");
        out.WriteByte(scVariableData);
        out.WriteString(QStringLiteral("Old"));
        finalBlock = out.Position();
        out.WriteByte(3);
        out.WriteByte(3);
        for (QChar c : QStringLiteral("abc"))
            out.WriteWord(c.unicode());
        out.WriteByte(scVariableData);
        out.WriteString(QStringLiteral("Total"));
        placeholder = out.Position();
        out.WriteByte(128);
        out.WriteByte(255);
        out.WriteInt(static_cast<qint32>(finalBlock)); // back-reference to an earlier value
        const char zeros[124] = {};
        out.Write(zeros, sizeof zeros);
        LeftText(out, VarMarker("Total"));
    });
    builder.Page(2, [&](TFoSnapshotOutput &out) {
        out.WriteByte(scVariableData);
        out.WriteString(QStringLiteral("Total"));
        out.WriteByte(4);
        out.WriteByte(254);
        out.WriteInt(static_cast<qint32>(placeholder));
        LeftText(out, VarMarker("Total"));
    });
    QByteArray unpatched = builder.Bytes();
    TFoSnapshotRecorder before;
    ASSERT_EQ(Play(unpatched, before), QString());
    EXPECT_EQ(LeftTexts(before), "abc|abc");

    QByteArray patched = unpatched;
    patched[placeholder + 1] = 2;
    patched.replace(placeholder + 2, 4,
                    QByteArray("9\0"
                               "9\0",
                               4));
    TFoSnapshotRecorder after;
    ASSERT_EQ(Play(patched, after), QString());
    EXPECT_EQ(LeftTexts(after), "99|99");
    TFoSnapshotRecorder pageTwo;
    ASSERT_EQ(Play(patched, pageTwo, 2), QString());
    EXPECT_EQ(LeftTexts(pageTwo), "99");
}

// ---- Rich text --------------------------------------------------------------------------------------

TEST(SnapshotConverter, PrintsRichTextSegmentByRightSegmentWidths) {
    const QString rich = QChar(1) + QStringLiteral("B1") + QChar(4) + "Bold" + QChar(1) + "B0" + QChar(2) +
                         "C255" + QChar(4) + " red";
    const QByteArray bytes = OnePage([&](TFoSnapshotOutput &out) {
        LeftText(out, rich, 1.0, 2.0);
        out.WriteByte(scRightText);
        out.WriteFloat(3.0);
        out.WriteString(rich);
        out.WriteFloat(4.0);
    });
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    const auto texts = recorder.CallsNamed("LeftText");
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(Text(texts[0], 0), "Bold");
    EXPECT_EQ(Number(texts[0], 1), 1.0);
    EXPECT_EQ(Text(texts[1], 0), " red");
    const double boldWidth = Number(texts[1], 1) - 1.0;
    EXPECT_GT(boldWidth, 0.2);
    EXPECT_LT(boldWidth, 0.5);
    // Right-aligned: the same segments, shifted left so that they end at X.
    EXPECT_NEAR(Number(texts[3], 1) - Number(texts[2], 1), boldWidth, 1e-9);
    EXPECT_LT(Number(texts[2], 1), 4.0 - boldWidth);
    // Each segment is preceded by the font it is printed in.
    QStringList fontsBeforeText;
    for (size_t i = 1; i < recorder.Calls.size(); ++i)
        if (recorder.Calls[i].Name == "LeftText")
            fontsBeforeText << QString::number(Attribute(recorder.Calls[i - 1], "Bold")) + "/" +
                                   QString::number(Attribute(recorder.Calls[i - 1], "Color"));
    // Commands carry on from the text before: the colour set by the first text is still in force.
    EXPECT_EQ(fontsBeforeText.join(","), "1/0,0/255,1/255,0/255");
}

TEST(SnapshotConverter, SpreadsRichBlockTextOverItsWidth) {
    const QString oneWord = QChar(1) + QStringLiteral("I1") + QChar(4) + "Word";
    const QString words = QChar(1) + QStringLiteral("r") + QChar(4) + "one two  three";
    const QByteArray bytes = OnePage([&](TFoSnapshotOutput &out) {
        for (const QString &text : {oneWord, words}) {
            out.WriteByte(scBlockText);
            out.WriteFloat(1.0);
            out.WriteString(text);
            out.WriteFloat(0.5);
            out.WriteFloat(4.0);
        }
        out.WriteByte(scBlockText);
        out.WriteFloat(1.0);
        out.WriteString(QStringLiteral("plain words"));
        out.WriteFloat(0.5);
        out.WriteFloat(4.0);
    });
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    const auto lefts = recorder.CallsNamed("LeftText");
    const auto rights = recorder.CallsNamed("RightText");
    ASSERT_EQ(lefts.size(), 2u);
    EXPECT_EQ(Text(lefts[0], 0), "Word");
    EXPECT_EQ(Number(lefts[0], 1), 0.5);
    EXPECT_EQ(Text(lefts[1], 0), "one");
    ASSERT_EQ(rights.size(), 2u);
    EXPECT_EQ(Text(rights[0], 0), " two");
    EXPECT_EQ(Text(rights[1], 0), "  three");
    EXPECT_NEAR(Number(rights[1], 1), 4.5, 1e-6); // the last word ends at the block's right edge
    const auto spaces = recorder.CallsNamed("PrintSpaces");
    ASSERT_EQ(spaces.size(), 1u);
    EXPECT_EQ(Text(spaces[0], 0), "plain words");
    EXPECT_EQ(Number(spaces[0], 3), 4.0);
}

// ---- Skip test, lines, pictures ---------------------------------------------------------------------

TEST(SnapshotConverter, DrawsPreviewOnlyBlocksOnlyForThePreview) {
    const QByteArray bytes = OnePage([](TFoSnapshotOutput &out) {
        out.WriteByte(scAllowPreviewOnly);
        out.WriteByte(scRectangle);
        for (int i = 0; i < 4; ++i)
            out.WriteFloat(i);
        out.WriteByte(scAllowAll);
        out.WriteByte(scEllipse);
        for (int i = 0; i < 4; ++i)
            out.WriteFloat(i);
    });
    TFoSnapshotRecorder printer;
    TFoSnapshotRecorder preview;
    preview.Kind = okPreview;
    ASSERT_EQ(Play(bytes, printer), QString());
    ASSERT_EQ(Play(bytes, preview), QString());
    EXPECT_EQ(printer.CallsNamed("Rectangle").size(), 0u);
    EXPECT_EQ(printer.CallsNamed("Ellipse").size(), 1u);
    EXPECT_EQ(preview.CallsNamed("Rectangle").size(), 1u);
    EXPECT_EQ(preview.CallsNamed("Ellipse").size(), 1u);
}

TEST(SnapshotConverter, DrawsALineFromTheRememberedPointWithAClearBrush) {
    const QByteArray bytes = OnePage([](TFoSnapshotOutput &out) {
        out.WriteByte(scBrushStyle);
        out.WriteByte(0);
        out.WriteByte(scMoveTo);
        out.WriteFloat(1);
        out.WriteFloat(2);
        out.WriteByte(scLineTo);
        out.WriteFloat(3);
        out.WriteFloat(4);
    });
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    EXPECT_EQ(
        recorder.CallNames(),
        "SetPaperBin DocBegin PageBegin BrushChanged BrushChanged MoveTo LineTo BrushChanged PageEnd DocEnd");
    const auto brushes = recorder.CallsNamed("BrushChanged");
    EXPECT_EQ(Attribute(brushes[1], "Style"), 1); // clear while the line is drawn
    EXPECT_EQ(Attribute(brushes[2], "Style"), 0);
    EXPECT_EQ(Number(recorder.CallsNamed("MoveTo")[0], 0), 1);
    EXPECT_EQ(Number(recorder.CallsNamed("LineTo")[0], 1), 4);
}

QByteArray BitmapBytes() {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

TEST(SnapshotConverter, ReadsGraphicsInFullAndByReference) {
    const QByteArray bmp = BitmapBytes();
    const QByteArray bytes = OnePage([&](TFoSnapshotOutput &out) {
        out.WriteByte(scDraw);
        const qint64 lengthField = out.Position() + 1;
        out.WriteByte(gkBitmap);
        out.WriteInt(static_cast<qint32>(bmp.size()));
        out.Write(bmp.constData(), bmp.size());
        out.WriteFloat(1);
        out.WriteFloat(1);
        out.WriteByte(scDraw);
        out.WriteByte(gkBitmap | GraphicReferenceFlag);
        out.WriteInt(static_cast<qint32>(lengthField));
        out.WriteFloat(2);
        out.WriteFloat(2);
        out.WriteByte(scDraw); // a metafile cannot be drawn here: read past
        out.WriteByte(gkMetafile);
        out.WriteInt(3);
        out.Write("abc", 3);
        out.WriteFloat(3);
        out.WriteFloat(3);
    });
    TFoSnapshotRecorder recorder;
    ASSERT_EQ(Play(bytes, recorder), QString());
    const auto draws = recorder.CallsNamed("Draw");
    ASSERT_EQ(draws.size(), 2u);
    for (const auto &draw : draws) {
        EXPECT_EQ(Number(draw, 2), 3);
        EXPECT_EQ(Number(draw, 3), 2);
    }
    EXPECT_EQ(Number(draws[1], 0), 2);
}

// The identity of every picture a playback hands over.
class TPictureIdentities : public TFoRender {
public:
    std::vector<qint64> Keys;
    void PrintBitmapRect(double, double, double, double, const QImage &Bitmap) override {
        Keys.push_back(Bitmap.cacheKey());
    }
};

TEST(SnapshotConverter, DecodesAPictureOnceForAllItsReferences) {
    struct Case {
        const char *Name;
        bool Shared;      // the playbacks share a picture cache, as an export's pages do
        int DistinctKeys; // over both playbacks of the page
    };
    const Case cases[] = {{"one playback at a time", false, 2},
                          {"playbacks sharing their pictures", true, 1}};
    const QByteArray bytes = OnePage([](TFoSnapshotOutput &out) {
        qint64 first = 0;
        for (int i = 0; i < 20; ++i) {
            out.WriteByte(scPrintBitmapRect);
            if (i == 0)
                first = WriteGraphicBlock(out, gkBitmap, BitmapBytes());
            else
                WriteGraphicReference(out, gkBitmap, first);
            for (float value : {1.0f, 1.0f, 2.0f, 2.0f})
                out.WriteFloat(value);
        }
    });
    for (const Case &c : cases) {
        SCOPED_TRACE(c.Name);
        QByteArray copy = bytes;
        QBuffer stream(&copy);
        stream.open(QIODevice::ReadOnly);
        TFoPictureCache pictures;
        TPictureIdentities renderer;
        renderer.SharedPictures = c.Shared ? &pictures : nullptr;
        renderer.SetSnapshotStream(&stream);
        renderer.RenderPage(1);
        ASSERT_EQ(renderer.Keys.size(), 20u);
        // Within one playback the twenty drawings are one image.
        EXPECT_EQ(std::set<qint64>(renderer.Keys.begin(), renderer.Keys.end()).size(), 1u);
        renderer.RenderPage(1);
        EXPECT_EQ(std::set<qint64>(renderer.Keys.begin(), renderer.Keys.end()).size(),
                  std::size_t(c.DistinctKeys));
    }
}

// ---- Hostile streams --------------------------------------------------------------------------------

TEST(SnapshotConverter, EndsHostileStreamsWithAnError) {
    struct Hostile {
        const char *Name;
        std::function<void(TFoSnapshotOutput &)> Body;
        QString Message;
    };
    const std::vector<Hostile> cases = {
        {"graphic reference outside the stream",
         [](TFoSnapshotOutput &out) {
             out.WriteByte(scDraw);
             out.WriteByte(gkBitmap | GraphicReferenceFlag);
             out.WriteInt(0x7FFFFFF0);
         },
         "Stream read error"},
        {"graphic length beyond the end",
         [](TFoSnapshotOutput &out) {
             out.WriteByte(scDraw);
             out.WriteByte(gkBitmap);
             out.WriteInt(0x7FFFFFF0);
         },
         "Stream read error"},
        {"negative length",
         [](TFoSnapshotOutput &out) {
             out.WriteByte(scPrintDataStream);
             out.WriteInt(-5);
         },
         "Stream read error"},
        {"polygon count beyond the end",
         [](TFoSnapshotOutput &out) {
             out.WriteByte(scPolygon);
             out.WriteWord(65535);
         },
         "Stream read error"},
        {"picture of more pixels than any report picture has",
         [](TFoSnapshotOutput &out) {
             out.WriteByte(scDraw);
             WriteGraphicBlock(out, gkBitmap, RunLengthBitmap(5000, 5000));
             out.WriteFloat(1);
             out.WriteFloat(1);
         },
         "Picture of 5000 x 5000 pixels found in report file is too large."},
        {"variable reference to itself",
         [](TFoSnapshotOutput &out) {
             out.WriteByte(scVariableData);
             out.WriteString(QStringLiteral("v"));
             const qint64 self = out.Position();
             out.WriteByte(4);
             out.WriteByte(254);
             out.WriteInt(static_cast<qint32>(self));
         },
         "Invalid variable reference found in report file."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Name);
        TFoSnapshotRecorder recorder;
        EXPECT_EQ(Play(OnePage(c.Body), recorder), c.Message);
        EXPECT_EQ(recorder.Calls.back().Name, "DocEnd");
    }
}

TEST(SnapshotConverter, EndsALoopingPageChainWithAnError) {
    QByteArray bytes = TSnapshotBuilder::Pages(3);
    // Page 1's NextPagePos points back at page 1.
    const qint32 pageOne = static_cast<qint32>(FirstPageAt);
    bytes.replace(FirstPageAt + 5, 4, QByteArray(reinterpret_cast<const char *>(&pageOne), 4));
    TFoSnapshotRecorder recorder;
    EXPECT_EQ(Play(bytes, recorder, 3), "Invalid page chain in report file.");
    EXPECT_EQ(recorder.Calls.back().Name, "DocEnd");
}

TEST(SnapshotConverter, RejectsAbsurdPageSizes) {
    const float huge = 1e30f;
    const QByteArray hugeBytes(reinterpret_cast<const char *>(&huge), 4);
    QByteArray inPage = TSnapshotBuilder::Pages(1);
    inPage.replace(FirstPageAt + 13, 4, hugeBytes);
    QByteArray inHeader = TSnapshotBuilder::Pages(1);
    inHeader.replace(1 + 2 + 3 + 12, 4, hugeBytes); // the header's paper width
    for (const QByteArray &bytes : {inPage, inHeader}) {
        TFoSnapshotRecorder recorder;
        EXPECT_EQ(Play(bytes, recorder), "Invalid page size found in report file.");
        EXPECT_EQ(recorder.Calls.back().Name, "DocEnd");
    }
}

// Every page is played in stream order, where the n-th page must be page n: a stream numbered
// otherwise fails before its first stray page rather than ending early or late without a word.
TEST(SnapshotConverter, PlaysAllPagesInStreamOrderOrFailsOnAStrayPageNumber) {
    struct Case {
        std::vector<int> PageNumbers;
        QString Played;
        QString Message;
    };
    const Case cases[] = {
        {{1, 2, 3}, "page 1|page 2|page 3", ""},
        {{100, 99, 98}, "", "Page 1 of 3 is missing from the report file."},
        {{1, 3, 2}, "page 1", "Page 2 of 3 is missing from the report file."},
        {{1, 1, 2}, "page 1", "Page 2 of 3 is missing from the report file."},
    };
    for (const Case &c : cases) {
        TSnapshotBuilder builder;
        builder.Header(int(c.PageNumbers.size()));
        int position = 0;
        for (const int pageNo : c.PageNumbers)
            builder.Page(pageNo, [&](TFoSnapshotOutput &out) {
                LeftText(out, QStringLiteral("page %1").arg(++position));
            });
        TFoSnapshotRecorder recorder;
        EXPECT_EQ(Play(builder.Bytes(), recorder), c.Message) << c.Played.toStdString();
        EXPECT_EQ(LeftTexts(recorder), c.Played);
        EXPECT_EQ(recorder.Calls.back().Name, "DocEnd");
    }
    // The replayed hostile input of the same fault.
    QFile backwards(QStringLiteral(FISCORA_TEST_DATA_DIR "/pages-numbered-backwards.fsn"));
    ASSERT_TRUE(backwards.open(QIODevice::ReadOnly));
    TFoSnapshotRecorder recorder;
    EXPECT_EQ(Play(backwards.readAll(), recorder), "Page 1 of 3 is missing from the report file.");
    EXPECT_TRUE(recorder.CallsNamed(QStringLiteral("PageBegin")).empty());
}

// Inputs that once broke playback (found by fuzzing) must play to an end or a clear error, as the
// snapshot fuzzer checks them.
TEST(SnapshotConverter, SurvivesEveryRegressionInput) {
    EXPECT_GT(ReplayFuzzInputs(QStringLiteral(FISCORA_TEST_DATA_DIR), fiscora::fuzz::CheckSnapshotPlayback),
              0);
}

} // namespace
