#include "report/core/FoErrors.h"
#include "report/core/FoStreamAnsi.h"
#include "report/snapshot/FoSnapshotOutput.h"
#include "report/snapshot/FoSnapshotReader.h"

#include <QBuffer>
#include <QTemporaryFile>

#include <gtest/gtest.h>

using namespace fiscora;

namespace {

QByteArray Written(const std::function<void(TFoSnapshotOutput &)> &write) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TFoSnapshotOutput out(buffer);
    write(out);
    out.Flush();
    return bytes;
}

struct LengthCase {
    int Length;
    QByteArray Prefix;
};

class SnapshotStringLength : public testing::TestWithParam<LengthCase> {};

TEST_P(SnapshotStringLength, EncodesAndReadsBack) {
    const QString text(GetParam().Length, QLatin1Char('x'));
    QByteArray bytes = Written([&](TFoSnapshotOutput &out) { out.WriteString(text); });
    ASSERT_EQ(bytes.size(), GetParam().Prefix.size() + 2 * GetParam().Length);
    EXPECT_EQ(bytes.left(GetParam().Prefix.size()).toHex(), GetParam().Prefix.toHex());
    if (GetParam().Length > 0) {
        EXPECT_EQ(bytes.mid(GetParam().Prefix.size(), 2), QByteArray("x\0", 2)); // UTF-16LE
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TFoSnapshotReader reader(buffer);
    EXPECT_EQ(reader.ReadString(), text);
    EXPECT_EQ(reader.Remaining(), 0);
}

INSTANTIATE_TEST_SUITE_P(Lengths, SnapshotStringLength,
                         testing::Values(LengthCase{0, QByteArray::fromHex("00")},
                                         LengthCase{191, QByteArray::fromHex("bf")},
                                         LengthCase{192, QByteArray::fromHex("c0c0")},
                                         LengthCase{16383, QByteArray::fromHex("ffff")}),
                         [](const auto &info) { return "Length" + std::to_string(info.param.Length); });

TEST(SnapshotOutput, CutsStringsToTheLongestLengthTheFormatHolds) {
    const QByteArray bytes = Written([](TFoSnapshotOutput &out) { out.WriteString(QString(20000, 'a')); });
    EXPECT_EQ(bytes.left(2).toHex(), "ffff");
    EXPECT_EQ(bytes.size(), 2 + 2 * 16383);
}

TEST(SnapshotOutput, WritesLittleEndianFieldsAndSinglePrecisionFloats) {
    const QByteArray bytes = Written([](TFoSnapshotOutput &out) {
        out.WriteWord(10000);
        out.WriteInt(-2);
        out.WriteFloat(8.5);
    });
    EXPECT_EQ(bytes.toHex(), "1027feffffff00000841");
}

TEST(SnapshotOutput, KeepsSmallWritesInItsBufferAndPassesLargeOnesThrough) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TFoSnapshotOutput out(buffer);
    out.WriteInt(7);
    EXPECT_EQ(bytes.size(), 0);
    EXPECT_EQ(out.Position(), 4);
    const QByteArray large(TFoSnapshotOutput::BufferSize + 1, 'z');
    out.Write(large.constData(), large.size());
    EXPECT_EQ(bytes.size(), 4 + large.size()); // flushed first, then written straight through
    out.HoldOutput = true;
    out.WriteInt(1);
    out.Flush();
    EXPECT_EQ(bytes.size(), 4 + large.size());
}

TEST(SnapshotOutput, PatchesAnIntAndResumesAtTheEnd) {
    const QByteArray bytes = Written([](TFoSnapshotOutput &out) {
        out.WriteInt(0);
        out.WriteByte(9);
        out.PatchInt(0, 0x01020304);
        out.WriteByte(8);
    });
    EXPECT_EQ(bytes.toHex(), "040302010908");
}

TEST(SnapshotReader, ReadsThroughAWindowOnFileStreams) {
    QTemporaryFile file;
    ASSERT_TRUE(file.open());
    QByteArray content(200000, '\0');
    content[150000] = 'Q';
    file.write(content);
    file.seek(0);
    TFoSnapshotReader reader(file);
    reader.Seek(150000);
    EXPECT_EQ(reader.ReadByte(), 'Q');
    EXPECT_EQ(reader.ReadBytes(49999).size(), 49999);
    EXPECT_THROW(reader.ReadByte(), EFolioReport);
}

TEST(SnapshotReader, RefusesReadsPastTheEndWithTheReadError) {
    QByteArray bytes = QByteArray::fromHex("c0c0"); // claims 192 characters
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TFoSnapshotReader reader(buffer);
    try {
        reader.ReadString();
        FAIL() << "no error";
    } catch (const EFolioReport &error) {
        EXPECT_STREQ(error.what(), "Stream read error");
    }
    EXPECT_THROW(reader.Seek(3), EFolioReport);
    EXPECT_THROW(reader.ReadBytes(-1), EFolioReport);
}

TEST(SnapshotReader, ReadsOldFilesWithOneByteLengthsAndAnsiText) {
    QByteArray bytes = QByteArray::fromHex("c8") + QByteArray(200, 'a');
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    TFoSnapshotReader reader(buffer);
    reader.OneByteLengths = true;
    reader.AnsiStrings = true;
    EXPECT_EQ(reader.ReadString(), QString(200, 'a'));
}

TEST(StreamAnsi, EncodesWindows1252AndReplacesWhatItCannotRepresent) {
    const QString text = QStringLiteral("a\u20AC\u00E9\u2122\u4E2D") + QString::fromUcs4(U"\U0001F600");
    EXPECT_EQ(AnsiFromText(text).toHex(), "6180e9993f3f");
    EXPECT_EQ(TextFromAnsi(QByteArray::fromHex("6180e999")), QStringLiteral("a\u20AC\u00E9\u2122"));
}

} // namespace
