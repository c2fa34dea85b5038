#include "CliRunner.h"

#include <QDate>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Schedule(std::initializer_list<std::string> options) {
    std::vector<std::string> args = {"schedule"};
    args.insert(args.end(), options);
    return args;
}

TEST(CliSchedule, TextIsThePaneLineByLine) {
    const CliResult result =
        RunCli(Schedule({"--type", "3", "--placed", "12/01/2026", "--cost", "10000", "--convention",
                         "mid-quarter", "--fiscal-year-end", "12/31/2026"}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Depreciation Options Selected:\n"
                          "\n"
                          "Property Type:\t\tTruck or Heavy Vehicle\n"
                          "Date Placed in Service:\t12/01/2026\n"
                          "Cost or Basis:\t\t$10,000.00\n"
                          "Depreciation Method:\tMACRS\n"
                          "Convention:\t\tMid-Quarter\n"
                          "Depreciable Life:\t\t3-Years\n"
                          "\n"
                          "\t\tPeriod\t\tAccumulated\n"
                          "Year End\tDepreciation\tDepreciation\n"
                          "12/31/2026\t$833.00\t$833.00\n"
                          "12/31/2027\t$6,111.00\t$6,944.00\n"
                          "12/31/2028\t$2,037.00\t$8,981.00\n"
                          "12/31/2029\t$1,019.00\t$10,000.00\n");
    EXPECT_EQ(result.err, "");
}

TEST(CliSchedule, CsvHasPlainTwoDecimalAmounts) {
    const CliResult result =
        RunCli(Schedule({"--cost", "$1,234,567.89", "--placed", "03/01/2026", "--method", "Staright-Line",
                         "--life", "2", "--fiscal-year-end", "12/31/2026", "--format", "csv"}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "year_end,period,accumulated\n"
                          "12/31/2026,88024.69,88024.69\n"
                          "12/31/2027,176419.75,264444.44\n"
                          "12/31/2028,176419.75,440864.19\n"
                          "12/31/2029,176419.75,617283.94\n"
                          "12/31/2030,176419.75,793703.69\n"
                          "12/31/2031,176419.75,970123.44\n"
                          "12/31/2032,176419.75,1146543.19\n"
                          "12/31/2033,88024.70,1234567.89\n");
}

TEST(CliSchedule, JsonHoldsInputsRowsAndParametersInOrder) {
    const CliResult result = RunCli(
        Schedule({"--description", "Delivery \"van\"", "--type", "automobile", "--placed", "05/01/2026",
                  "--cost", "30000", "--fiscal-year-end", "12/31/2026", "--bonus", "--format", "json"}));
    ASSERT_EQ(result.exitCode, 0) << result.err;
    QJsonParseError error;
    const QJsonObject doc = QJsonDocument::fromJson(QByteArray::fromStdString(result.out), &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << result.out;

    const QJsonObject inputs = doc["inputs"].toObject();
    EXPECT_EQ(inputs["description"].toString(), "Delivery \"van\"");
    EXPECT_EQ(inputs["propertyType"].toObject()["text"].toString(), "Automobile");
    EXPECT_EQ(inputs["propertyType"].toObject()["index"].toInt(), 1);
    EXPECT_EQ(inputs["placedInService"].toString(), "05/01/2026");
    EXPECT_EQ(inputs["cost"].toDouble(), 30000);
    EXPECT_EQ(inputs["method"].toObject()["text"].toString(), "MACRS");
    EXPECT_EQ(inputs["convention"].toObject()["text"].toString(), "Half-Year");
    EXPECT_EQ(inputs["life"].toObject()["text"].toString(), "5-Years");
    EXPECT_EQ(inputs["fiscalYearEnd"].toString(), "12/31/2026");
    EXPECT_TRUE(inputs["bonus"].toBool());
    EXPECT_EQ(inputs["bonusAmount"].toDouble(), 20300);

    const QJsonArray rows = doc["rows"].toArray();
    ASSERT_EQ(rows.size(), 7);
    EXPECT_EQ(rows[2].toObject()["yearEnd"].toString(), "12/31/2028");
    EXPECT_EQ(rows[2].toObject()["period"].toDouble(), 1862.40);
    EXPECT_EQ(rows[6].toObject()["period"].toDouble(), 1940);
    EXPECT_EQ(rows[6].toObject()["accumulated"].toDouble(), 9700);

    const QJsonArray params = doc["params"].toArray();
    ASSERT_EQ(params.size(), 21);
    EXPECT_EQ(params[0].toObject()["name"].toString(), "YearEnd1");
    EXPECT_EQ(params[4].toObject()["name"].toString(), "PerDepr2");
    EXPECT_EQ(params[4].toObject()["value"].toString(), "3,104.00");
    EXPECT_EQ(params[20].toObject()["name"].toString(), "AccumDepr7");
    EXPECT_EQ(params[20].toObject()["value"].toString(), "9,700.00");
}

TEST(CliSchedule, AValueIsMissingOnlyWhenAnOptionOfTheCommandTakesItsPlace) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--description", "--- sale ---"}, "--- sale ---"},
        {{"--description=--bonus"}, "--bonus"},
        {{"--description="}, ""},
    };
    for (const auto &[description, expected] : cases) {
        std::vector<std::string> args = {"schedule",   "--cost",     "1000",
                                         "--placed",   "03/01/2026", "--fiscal-year-end",
                                         "12/31/2026", "--format",   "json"};
        args.insert(args.end(), description.begin(), description.end());
        const CliResult result = RunCli(args);
        ASSERT_EQ(result.exitCode, 0) << expected << ": " << result.err;
        const QJsonObject inputs =
            QJsonDocument::fromJson(QByteArray::fromStdString(result.out))["inputs"].toObject();
        EXPECT_EQ(inputs["description"].toString().toStdString(), expected);
        EXPECT_FALSE(inputs["bonus"].toBool()) << expected;
    }
}

TEST(CliSchedule, OptionsApplyInTheWindowsOrder) {
    // The method is chosen before the life, so a 15-year life still forces straight-line.
    const CliResult result = RunCli(Schedule({"--life", "15-years", "--method", "0", "--cost", "1000",
                                              "--placed", "03/01/2026", "--fiscal-year-end", "12/31/2026"}));
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("Depreciation Method:\tStaright-Line\n"), std::string::npos) << result.out;
}

TEST(CliSchedule, PlacedInServiceDefaultsToToday) {
    const CliResult result = RunCli(Schedule({"--cost", "1000", "--fiscal-year-end", "12/31/2026"}));
    const std::string today = QDate::currentDate().toString("MM/dd/yyyy").toStdString();
    if (result.exitCode == 0)
        EXPECT_NE(result.out.find("Date Placed in Service:\t" + today + "\n"), std::string::npos)
            << result.out;
    else // outside the year before 12/31/2026 the date checks refuse today
        EXPECT_EQ(result.exitCode, 1) << result.err;
}

TEST(CliSchedule, AFieldErrorExitsWithOneAndTheDisplayedMessage) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {Schedule({"--cost", "10000", "--placed", "03/01/2026"}),
         "Fiscal Year End Date requires the following format: mm/dd/yyyy.\n"},
        {Schedule({"--cost", "10000", "--placed", "03/01/2026", "--convention", "2", "--fiscal-year-end",
                   "12/31/2026"}),
         "The Convention for the Property Type is invalid.\nAcceptable conventions are Half-Year and "
         "Mid-Quarter.\n"},
        {Schedule({"--cost", ".99", "--placed", "03/01/2026", "--fiscal-year-end", "12/31/2026"}),
         "Cost or Basis requires an amount of at least $1.00.\n"},
        // The field holds any digits; an impossible date is the validation's to refuse.
        {Schedule({"--cost", "10000", "--placed", "02/30/2026", "--fiscal-year-end", "12/31/2026"}),
         "Date Placed in Service requires the following format: mm/dd/yyyy.\n"},
        // Year ends stay four-digit years.
        {Schedule({"--cost", "1000", "--placed", "03/01/9999", "--fiscal-year-end", "12/31/9999"}),
         "Date Placed in Service is too late: the schedule would run past 12/31/9999.\n"},
    };
    for (const auto &[args, message] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err, message);
        EXPECT_EQ(result.out, "");
    }
}

TEST(CliSchedule, AnOutputThatCannotBeWrittenIsAFailure) {
    const CliResult result = RunCli(Schedule({"--type", "3", "--placed", "03/01/2026", "--cost", "10000",
                                              "--fiscal-year-end", "12/31/2026"}),
                                    CliRun::OutputTo(QStringLiteral("/dev/full")));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "fiscora-cli schedule: cannot write to standard output: No space left on device\n");
}

TEST(CliSchedule, UsageErrorsExitWithTwo) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {Schedule({"--type", "4", "--method", "0"}), "--method: the Depreciation Method control is disabled"},
        {Schedule({"--type", "1", "--life", "1"}), "--life: the Depreciable Life control is disabled"},
        {Schedule({"--placed", "03/01/2026", "--bonus"}), "--bonus: the bonus box is disabled"},
        {Schedule({"--colour", "red"}), "unknown option '--colour'"},
        {Schedule({"--type", "6"}), "--type: unknown choice '6'"},
        {Schedule({"--convention", "quarterly"}), "--convention: unknown choice 'quarterly'"},
        {Schedule({"--cost", "1", "--cost", "2"}), "--cost is given more than once"},
        {Schedule({"--cost", "1234567890"}), "has more than 9 dollar digits"},
        {Schedule({"--cost", "12.345"}), "has more than 2 decimals"},
        {Schedule({"--cost", "-5"}), "the field takes no minus sign"},
        {Schedule({"--cost", "$"}), "has no digits"},
        {Schedule({"--cost", "1.2.3"}), "has more than one decimal point"},
        {Schedule({"--cost", "1e5"}), "'1e5' holds characters other than digits"},
        {Schedule({"--cost", "12 500"}), "'12 500' holds characters other than digits"},
        {Schedule({"--fiscal-year-end"}), "--fiscal-year-end needs a value"},
        // The next argument is an option, not the value; an empty value is none either.
        {Schedule({"--format", "--cost", "1"}), "--format needs a value"},
        {Schedule({"--format="}), "--format needs a value"},
        {Schedule({"--placed=", "--cost", "1"}), "--placed needs a value"},
        {Schedule({"--bonus=yes"}), "--bonus takes no value"},
        {Schedule({"--placed", "3/1/2026"}), "is not a date the field can hold"},
        {Schedule({"--format", "xml"}), "--format: unknown format 'xml'"},
        {Schedule({"extra"}), "unexpected argument 'extra'"},
    };
    for (const auto &[args, reason] : cases) {
        const CliResult result = RunCli(args);
        EXPECT_EQ(result.exitCode, 2) << reason;
        EXPECT_EQ(result.err.rfind("fiscora-cli schedule: ", 0), 0u) << result.err;
        EXPECT_NE(result.err.find(reason), std::string::npos) << result.err;
        EXPECT_NE(result.err.find("\nusage: fiscora-cli schedule "), std::string::npos) << result.err;
        EXPECT_EQ(result.out, "");
    }
}

} // namespace
