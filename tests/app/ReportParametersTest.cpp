#include "ReportParameters.h"

#include <gtest/gtest.h>

namespace fiscora {
namespace {

using Entries = std::vector<ReportParameters::Entry>;

TEST(ReportParametersTest, ReplacesByNameWithoutRegardToCaseAndKeepsTheOrder) {
    ReportParameters parameters;
    parameters.SetParam("YearEnd1", "12/31/2026");
    parameters.SetParam("Cost", "$1.00");
    parameters.SetParam("yearend1", "06/30/2027");
    EXPECT_EQ(parameters.Entries(), (Entries{{"YearEnd1", "06/30/2027"}, {"Cost", "$1.00"}}));
    EXPECT_EQ(parameters.GetParam("COST"), "$1.00");
    EXPECT_EQ(parameters.GetParam("PropDesc"), "");
}

TEST(ReportParametersTest, EmptyValueRemovesTheEntryAndClearRemovesAll) {
    ReportParameters parameters;
    parameters.SetParam("PropDesc", "Van");
    parameters.SetParam("Life", "5-Years");
    parameters.SetParam("propdesc", "");
    parameters.SetParam("Missing", "");
    EXPECT_EQ(parameters.Entries(), (Entries{{"Life", "5-Years"}}));
    parameters.ClearParams();
    EXPECT_TRUE(parameters.Entries().empty());
}

} // namespace
} // namespace fiscora
