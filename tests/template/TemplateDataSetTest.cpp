#include "TemplateAmount.h"
#include "TemplateProjectManager.h"
#include "TemplateRunSupport.h"
#include "report/core/FoErrors.h"

#include <QBuffer>
#include <gtest/gtest.h>

#include <functional>

using namespace fiscora;

namespace {

// A report of one small page (4 x 3 inches, margins 0.5: 2 inches of flow, 1.6 between header and
// footer) around the given bands.
QByteArray SmallReport(const QString &bands) {
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<folio-project version="1"><report name="R">
<page paper="Custom" width="4" height="3" marginLeft="0.5" marginRight="0.5" marginTop="0.5" marginBottom="0.5">
<pageHeader height="0.2"><data x="0" y="0.1">H{@Page}</data></pageHeader>
%1
<pageFooter height="0.2"><data x="0" y="0.1">F{@Page}</data></pageFooter>
</page></report></folio-project>)")
        .arg(bands)
        .toUtf8();
}

std::unique_ptr<TFoProject> ProjectOf(const QByteArray &xml) {
    auto project = CreateTemplateProject();
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    project->LoadFromStream(buffer);
    EXPECT_TRUE(project->SelectReport(QStringLiteral("R"), false));
    return project;
}

std::shared_ptr<TFoDataSet> Rows(const QStringList &fields, const std::vector<QStringList> &rows) {
    auto set = std::make_shared<TFoDataSet>(fields);
    for (const QStringList &row : rows)
        set->AddRow(row);
    return set;
}

// The texts of every page, header and footer left out, joined by "|".
std::vector<QString> FlowTexts(const std::vector<PageRecorder::Page> &pages) {
    std::vector<QString> result;
    for (std::size_t page = 0; page < pages.size(); ++page) {
        QStringList texts = pages[page].texts;
        EXPECT_EQ(texts.front(), QStringLiteral("H%1").arg(page + 1));
        EXPECT_EQ(texts.back(), QStringLiteral("F%1").arg(page + 1));
        result.push_back(texts.mid(1, texts.size() - 2).join(u'|'));
    }
    return result;
}

const QString ListBands = QStringLiteral(R"(
<title height="0.2"><text x="0" y="0.1">List</text></title>
<detailHeader height="0.2"><text x="0" y="0.1">Name</text></detailHeader>
<detail height="0.2" data="Rows"><data x="0" y="0.1">{$Rows.@Row}.{$Rows.Name}={$Rows.Amount}</data></detail>
<summary height="0.2" when="$Rows"><data x="0" y="0.1">{$Rows.@Rows} rows, {$Rows.@Sum(Amount)}</data></summary>)");

const QString NestedBands = QStringLiteral(R"(
<group data="Assets" newPage="true">
  <title height="0.2"><data x="0" y="0.1">Asset {$Assets.Name}</data></title>
  <detailHeader height="0.2"><data x="0" y="0.1">Years of {$Assets.Name}</data></detailHeader>
  <detail height="0.2" data="Schedule"><data x="0" y="0.1">{$Assets.Name}:{$Schedule.Year}:{$Schedule.Amount}</data></detail>
  <summary height="0.2" when="$Schedule"><data x="0" y="0.1">Total {$Schedule.@Sum(Amount)}</data></summary>
</group>
<summary height="0.2"><data x="0" y="0.1">Book {$Assets.@Sum(Cost)}</data></summary>)");

std::shared_ptr<TFoDataSet> TwoAssets() {
    auto assets = Rows({"Name", "Cost"}, {{"Desk", "$1,000.00"}, {"Lamp", "$20.50"}});
    assets->SetChild(0, QStringLiteral("Schedule"),
                     Rows({"Year", "Amount"}, {{"2026", "$200.00"}, {"2027", "$320.00"}}));
    assets->SetChild(1, QStringLiteral("Schedule"), Rows({"Year", "Amount"}, {{"2026", "$20.50"}}));
    return assets;
}

std::vector<QStringList> NumberedRows(int count) {
    std::vector<QStringList> rows;
    for (int row = 1; row <= count; ++row)
        rows.push_back({QStringLiteral("r%1").arg(row), QStringLiteral("%1.25").arg(row)});
    return rows;
}

struct LayoutCase {
    const char *name;
    QString bands;
    std::function<void(TFoProject &)> data;
    std::vector<QString> pages;
};

} // namespace

TEST(TemplateDataSets, BandsPrintOncePerRowOfTheirDataSet) {
    const LayoutCase cases[] = {
        {"a missing set prints no row, header or summary", ListBands, [](TFoProject &) {}, {"List"}},
        {"an empty set prints no row, header or summary",
         ListBands,
         [](TFoProject &p) {
             p.SetDataSet(QStringLiteral("Rows"), Rows({"Name", "Amount"}, {}));
         },
         {"List"}},
        {"one row",
         ListBands,
         [](TFoProject &p) {
             p.SetDataSet(QStringLiteral("rows"), Rows({"name", "AMOUNT"}, {{"a", "1.50"}}));
         },
         {"List|Name|1.a=1.50|1 rows, 1.50"}},
        // 1.6 inches of flow per sheet hold 8 bands of 0.2: title, header and 6 rows on the first,
        // the repeated header and 7 rows on each next one.
        {"rows across page breaks repeat the header",
         ListBands,
         [](TFoProject &p) {
             p.SetDataSet(QStringLiteral("Rows"), Rows({"Name", "Amount"}, NumberedRows(14)));
         },
         {"List|Name|1.r1=1.25|2.r2=2.25|3.r3=3.25|4.r4=4.25|5.r5=5.25|6.r6=6.25",
          "Name|7.r7=7.25|8.r8=8.25|9.r9=9.25|10.r10=10.25|11.r11=11.25|12.r12=12.25|13.r13=13.25",
          // 1.25 + 2.25 + ... + 14.25 = 105 + 14 × 0.25 = 108.50
          "Name|14.r14=14.25|14 rows, 108.50"}},
        {"nested sets: each asset on its own sheet with its own schedule and total",
         NestedBands,
         [](TFoProject &p) { p.SetDataSet(QStringLiteral("Assets"), TwoAssets()); },
         {"Asset Desk|Years of Desk|Desk:2026:$200.00|Desk:2027:$320.00|Total $520.00",
          // $1,000.00 + $20.50
          "Asset Lamp|Years of Lamp|Lamp:2026:$20.50|Total $20.50|Book $1,020.50"}},
        {"a row without a child set prints its group bands without rows",
         NestedBands,
         [](TFoProject &p) {
             p.SetDataSet(QStringLiteral("Assets"), Rows({"Name", "Cost"}, {{"Bare", "5"}}));
         },
         {"Asset Bare|Book 5"}},
        {"fields outside the rows of their set print empty",
         QStringLiteral(R"(
<title height="0.2"><data x="0" y="0.1">[{$Rows.Name}][{$Rows.@Row}][{$Other.@Rows}][{$Rows.Missing}]</data></title>)"),
         [](TFoProject &p) { p.SetDataSet(QStringLiteral("Rows"), Rows({"Name"}, {{"x"}})); },
         {"[][][0][]"}},
        {"a component shows while its field is set",
         QStringLiteral(R"(
<detail height="0.2" data="Rows"><data x="0" y="0.1">{$Rows.Name}</data><data when="$Rows.Note" x="2" y="0.1">({$Rows.Note})</data></detail>)"),
         [](TFoProject &p) {
             p.SetDataSet(QStringLiteral("Rows"), Rows({"Name", "Note"}, {{"a", ""}, {"b", "sold"}}));
         },
         {"a|b|(sold)"}},
    };
    for (const LayoutCase &test : cases) {
        SCOPED_TRACE(test.name);
        auto project = ProjectOf(SmallReport(test.bands));
        test.data(*project);
        EXPECT_EQ(FlowTexts(RunReport(*project)), test.pages);
    }
}

TEST(TemplateDataSets, FieldValuesPrintAsTextNeverAsMarkup) {
    auto project = ProjectOf(SmallReport(ListBands));
    project->SetDataSet(QStringLiteral("Rows"), Rows({"Name", "Amount"}, {{QStringLiteral("\x01"
                                                                                          "B1\x04"
                                                                                          "x{$Rows.Name}"),
                                                                           "1"}}));
    const auto pages = FlowTexts(RunReport(*project));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].contains(QStringLiteral("1. B1 x{$Rows.Name}=1"))) << pages[0].toStdString();
}

TEST(TemplateDataSets, TotalsAreExactAndReadLikeTheirAmounts) {
    const struct {
        QStringList values;
        QString total;
    } cases[] = {
        {{"$1,234.56", "$0.44", "(1.00)"}, "$1,234.00"},
        {{"0.1", "0.2"}, "0.3"},                         // exact, where doubles would not be
        {{"1,000", "5"}, "1,005"},                       // whole amounts stay whole
        {{"-$2.50", "1.00"}, "-$1.50"},                  // a negative total keeps the sign before the "$"
        {{"", "n/a", "1.2.3", "12,34", "7.00"}, "7.00"}, // what reads as no amount is left out
        {{"999,999,999,999.99", "0.01"}, "1,000,000,000,000.00"},
    };
    for (const auto &test : cases) {
        AmountTotal total;
        for (const QString &value : test.values)
            if (const auto amount = ParseAmountText(value))
                total.Add(*amount);
        EXPECT_EQ(total.Text(), test.total) << test.values.join(u' ').toStdString();
    }
}

TEST(TemplateDataSets, MalformedDataSetMarkupIsRefusedWithItsLine) {
    const struct {
        QString bands;
        const char *message;
    } cases[] = {
        {R"(<detail height="0.2" repeat="A{i}" data="Rows"/>)", "either a \"repeat\" or a \"data\""},
        {R"(<detail height="0.2"/>)", "either a \"repeat\" or a \"data\""},
        {R"(<detail height="0.2" data="a.b"/>)", "a bad data set name \"a.b\""},
        {R"(<group data="Rows"></group>)", "<group> has no band"},
        {R"(<group data="Rows"><pageHeader height="0.1"/></group>)", "belongs to the page"},
        {R"(<group/>)", "\"data\""},
        {R"(<title height="0.2"><data x="0" y="0">{$Rows}</data></title>)", "a bad data set reference"},
        {R"(<title height="0.2"><data x="0" y="0">{$Rows.@Sum()}</data></title>)",
         "a bad data set reference"},
        {R"(<title height="0.2"><data x="0" y="0">{$.Name}</data></title>)", "a bad data set reference"},
        {R"(<title height="0.2" when="$Rows.@Rows"/>)", "a bad data set condition"},
    };
    for (const auto &test : cases) {
        SCOPED_TRACE(test.bands.toStdString());
        auto project = CreateTemplateProject();
        QBuffer buffer;
        buffer.setData(SmallReport(test.bands));
        buffer.open(QIODevice::ReadOnly);
        try {
            project->LoadFromStream(buffer);
            ADD_FAILURE() << "loaded";
        } catch (const EFolioException &error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(test.message), std::string::npos) << message;
            EXPECT_NE(message.find(", line "), std::string::npos) << message;
        }
    }
}
