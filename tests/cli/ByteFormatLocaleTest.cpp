// Files and machine-readable output use "." as decimal point whatever the host locale; QApplication
// applies the host locale to the C library on Linux, so a German one must change nothing.
#include "AmountFormat.h"
#include "CliRunner.h"
#include "JsonText.h"
#include "ScopeExit.h"
#include "ToolBox.h"
#include "report/playback/FoRenderStream.h"

#include <QBuffer>
#include <QLocale>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>

using namespace fiscora;

namespace {

const char *const kCommaLocale = "de_DE.UTF-8";

} // namespace

TEST(ByteFormatLocale, NumbersKeepTheirPointUnderACommaDecimalLocale) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, kCommaLocale), nullptr) << kCommaLocale << " is not installed";
    const QLocale previousDefault;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    ScopeExit restore([&] {
        std::setlocale(LC_ALL, previous.c_str());
        QLocale::setDefault(previousDefault);
    });
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5"); // the locale really is in force

    EXPECT_EQ(RoundAmount(2.345, 2), 2.35);
    EXPECT_EQ(RoundAmount(1234.565, 2), 1234.57);
    EXPECT_EQ(FormatAmount(1234.5, 2, true, true), "$1,234.50");
    EXPECT_EQ(cli::JsonNumber(1234.5), "1234.5");

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TFoRenderStream stream;
    stream.SetOutputStream(&buffer);
    stream.PrintF("%.2f %g %.4f", 1.5, 0.25, 612.0);
    EXPECT_EQ(buffer.data().toStdString(), "1.50 0.25 612.0000");
}

TEST(ByteFormatLocale, CommandLineOutputKeepsItsPointUnderACommaDecimalLocale) {
    qputenv("LC_ALL", kCommaLocale);
    ScopeExit restore([] { qunsetenv("LC_ALL"); });
    const CliResult csv = RunCli({"schedule", "--type", "3", "--placed", "03/01/2026", "--cost", "10000",
                                  "--fiscal-year-end", "12/31/2026", "--format", "csv"});
    ASSERT_EQ(csv.exitCode, 0) << csv.err;
    EXPECT_NE(csv.out.find("12/31/2026,3333.00,3333.00\n"), std::string::npos) << csv.out;
    const CliResult json = RunCli({"schedule", "--type", "3", "--placed", "03/01/2026", "--cost", "10000.5",
                                   "--fiscal-year-end", "12/31/2026", "--format", "json"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    EXPECT_NE(json.out.find("\"cost\": 10000.5"), std::string::npos) << json.out;
}
