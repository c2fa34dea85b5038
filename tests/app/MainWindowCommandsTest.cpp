#include "HelpWindow.h"
#include "MainWindowFixture.h"
#include "ScheduleText.h"

#include <QTextBlock>
#include <QTextBrowser>

namespace fiscora {
namespace {

struct PaneLine {
    QString text;
    QString font;
    double size;
    bool bold, italic;
    bool operator==(const PaneLine &) const = default;
};

void PrintTo(const PaneLine &line, std::ostream *out) {
    *out << '"' << line.text.toStdString() << "\" " << line.font.toStdString() << ' ' << line.size
         << (line.bold ? " bold" : "") << (line.italic ? " italic" : "");
}

// Each line of the pane with the formatting it was written in.
std::vector<PaneLine> PaneLines(const QTextDocument &document) {
    std::vector<PaneLine> lines;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextCharFormat format =
            block.begin().atEnd() ? block.charFormat() : block.begin().fragment().charFormat();
        lines.push_back({block.text(), format.fontFamilies().toStringList().value(0), format.fontPointSize(),
                         format.fontWeight() == QFont::Bold, format.fontItalic()});
    }
    return lines;
}

// Where each tab-separated field of a pane line starts, in pixels.
std::vector<double> FieldStarts(const QTextBlock &block) {
    const QString text = block.text();
    const QTextLine line = block.layout()->lineAt(0);
    std::vector<double> starts;
    for (int i = 0; i < text.size(); ++i)
        if (text[i] != u'\t' && (i == 0 || text[i - 1] == u'\t'))
            starts.push_back(line.cursorToX(i));
    return starts;
}

class DepreciateTest : public MainWindowTest {
protected:
    // Furniture placed in service 03/15/2026 for $35,000.00, calendar fiscal year, no bonus.
    void EnterFurniture() {
        window->EdtProperty_Description->setText("Desk");
        TypeAndLeave(window->EdtCost_or_Basis, "35000");
        EnterDate(window->EdtFiscal_Year, "12/31/2026");
    }
};

TEST_F(DepreciateTest, WritesTheHeaderAndOneRowPerYearInTheirFonts) {
    EnterFurniture();
    window->EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
    ClickButton(window->BtnDepreciate);
    ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;

    const QString tahoma = "Tahoma", courier = "Courier New";
    const std::vector<PaneLine> expected = {
        {"Depreciation Options Selected:", tahoma, 10, true, true},
        {"", tahoma, 8, true, true},
        {"Property Type:\t\tFurniture, Equipment Etc.", tahoma, 8, true, true},
        {"Date Placed in Service:\t03/15/2026", tahoma, 8, true, true},
        {"Cost or Basis:\t\t$35,000.00", tahoma, 8, true, true},
        {"Depreciation Method:\tMACRS", tahoma, 8, true, true},
        {"Convention:\t\tHalf-Year", tahoma, 8, true, true},
        {"Depreciable Life:\t\t5-Years", tahoma, 8, true, true},
        {"", tahoma, 8, true, true},
        {"\t\tPeriod\t\tAccumulated", tahoma, 8, true, false},
        {"Year End\tDepreciation\tDepreciation", tahoma, 8, true, false},
        {"12/31/2026\t$7,000.00\t$7,000.00", courier, 8, true, false},
        {"12/31/2027\t$11,200.00\t$18,200.00", courier, 8, true, false},
        {"12/31/2028\t$6,720.00\t$24,920.00", courier, 8, true, false},
        {"12/31/2029\t$4,032.00\t$28,952.00", courier, 8, true, false},
        {"12/31/2030\t$4,032.00\t$32,984.00", courier, 8, true, false},
        {"12/31/2031\t$2,016.00\t$35,000.00", courier, 8, true, false},
    };
    EXPECT_EQ(PaneLines(*window->RichEdit->document()), expected);
    EXPECT_EQ(QApplication::focusWidget(), window->RichEdit);
    EXPECT_EQ(window->RichEdit->textCursor().position(), 0);
    EXPECT_DOUBLE_EQ(window->RichEdit->tabStopDistance(), window->RichEdit->logicalDpiX() / 2.0);

    const TFoParams &params = window->ReportParams();
    EXPECT_EQ(params.Entries().size(), 18u);
    EXPECT_EQ(params.GetParam("YearEnd1"), "12/31/2026");
    EXPECT_EQ(params.GetParam("PerDepr2"), "11,200.00");
    EXPECT_EQ(params.GetParam("AccumDepr6"), "35,000.00");
}

// The schedule is read in columns: the tab stops must line the values up whatever the face in use.
TEST_F(DepreciateTest, TabStopsLineUpTheHeaderValuesAndTheColumns) {
    ChooseItem(window->CbxProperty_Type, 1);
    TypeAndLeave(window->EdtCost_or_Basis, "48500");
    window->ChkBonusDepr->click();
    EnterDate(window->EdtFiscal_Year, "12/31/2026");
    ClickButton(window->BtnDepreciate);
    ASSERT_TRUE(messages.messages.empty()) << messages.messages[0].text;

    std::vector<std::vector<double>> values, captions, rows;
    for (QTextBlock block = window->RichEdit->document()->begin(); block.isValid(); block = block.next()) {
        const std::vector<double> starts = FieldStarts(block);
        if (block.text().contains(u':') && starts.size() == 2)
            values.push_back(starts);
        else if (block.text().startsWith(u'\t') || block.text().startsWith("Year End"))
            captions.push_back(starts);
        else if (starts.size() == 3)
            rows.push_back(starts);
    }
    ASSERT_EQ(values.size(), 6u);
    for (const auto &value : values)
        EXPECT_EQ(value[1], values[0][1]);
    ASSERT_EQ(captions.size(), 2u);
    ASSERT_EQ(captions[1].size(), 3u);
    EXPECT_EQ(captions[0][0], captions[1][1]);
    EXPECT_EQ(captions[0][1], captions[1][2]);
    ASSERT_EQ(rows.size(), 7u); // $0.00 and $104.32 among them
    for (const auto &row : rows) {
        EXPECT_EQ(row[1], captions[1][1]);
        EXPECT_EQ(row[2], captions[1][2]);
    }
}

// A period above $100.00 takes one tab and any other two: each width of amount must reach the
// accumulated column under its caption. Left out: "$100.00", as wide as "$100.01" but given two tabs,
// and periods from $10,000,000.00 on, wider than the two tab stops the rule gives them; neither can
// line up whatever the advances.
TEST_F(DepreciateTest, EveryWidthOfPeriodLinesUpTheAccumulatedColumn) {
    SchedulePane &pane = *window->RichEdit;
    WriteScheduleHeader(window->ReadInputs(), pane);
    const double periods[] = {0,      0.01,    99.99,    100.01,    104.32,
                              999.99, 1000.00, 99999.99, 100000.00, 9999999.99};
    ScheduleRows rows;
    for (const double period : periods)
        rows.Add({"12/31/2026", period, 123456.78});
    WriteScheduleRows(rows, pane);
    const QTextBlock captions = pane.document()->findBlockByNumber(pane.document()->blockCount() - 1 -
                                                                   static_cast<int>(std::size(periods)));
    ASSERT_EQ(captions.text(), "Year End\tDepreciation\tDepreciation");
    const std::vector<double> columns = FieldStarts(captions);
    for (QTextBlock row = captions.next(); row.isValid(); row = row.next())
        EXPECT_EQ(FieldStarts(row), columns) << row.text().toStdString();
}

TEST_F(DepreciateTest, ThePaneKeepsTabButEnterMovesOnToTheFirstField) {
    EnterFurniture();
    ClickButton(window->BtnDepreciate);
    ASSERT_EQ(QApplication::focusWidget(), window->RichEdit);
    QTest::keyClick(window->RichEdit, Qt::Key_Tab);
    QTest::keyClick(window->RichEdit, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), window->RichEdit);
    QTest::keyClick(window->RichEdit, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), window->EdtProperty_Description);
}

TEST_F(DepreciateTest, AltDDepreciatesWithoutMovingTheFocusFirst) {
    EnterFurniture();
    window->EdtProperty_Description->setFocus(Qt::TabFocusReason);
    QTest::keyClick(window->EdtProperty_Description, Qt::Key_D, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->RichEdit->toPlainText().isEmpty(); }));
    EXPECT_EQ(QApplication::focusWidget(), window->RichEdit);
}

TEST_F(DepreciateTest, TheSelectionStaysVisibleWithoutTheFocus) {
    const QPalette colours = window->RichEdit->palette();
    EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Active, QPalette::Highlight));
}

TEST_F(DepreciateTest, AShorterScheduleLeavesNoRowsOfTheLongerOne) {
    EnterFurniture();
    ChooseItem(window->CbxDepreciable_Life, 3);
    ClickButton(window->BtnDepreciate);
    EXPECT_EQ(window->ReportParams().GetParam("YearEnd11"), "12/31/2036");
    ChooseItem(window->CbxDepreciable_Life, 1);
    ClickButton(window->BtnDepreciate);
    EXPECT_EQ(window->ReportParams().Entries().size(), 18u);
    EXPECT_EQ(window->ReportParams().GetParam("YearEnd7"), "");
}

TEST_F(DepreciateTest, AFailedCheckShowsItsMessageMovesTheFocusAndKeepsThePane) {
    struct Case {
        const char *name;
        std::function<void(TFrmAmortix &)> spoil;
        std::string message;
        QWidget *focus;
    };
    TFrmAmortix &w = *window;
    const Case cases[] = {
        {"blank fiscal year end",
         [](TFrmAmortix &form) { form.EdtFiscal_Year->SetText(TDateEdit::kBlankDate); },
         "Fiscal Year End Date requires the following format: mm/dd/yyyy.", w.EdtFiscal_Year},
        {"cost below $1.00", [](TFrmAmortix &form) { form.EdtCost_or_Basis->SetValue(0.99); },
         "Cost or Basis requires an amount of at least $1.00.", w.EdtCost_or_Basis},
        {"mid-month furniture",
         [](TFrmAmortix &form) {
             const QSignalBlocker quiet(form.CbxConvention);
             form.CbxConvention->setCurrentIndex(2);
         },
         "The Convention for the Property Type is invalid.\rAcceptable conventions are Half-Year and "
         "Mid-Quarter.",
         w.CbxConvention},
    };
    EnterFurniture();
    ClickButton(window->BtnDepreciate);
    const QString schedule = window->RichEdit->toPlainText();
    const auto params = window->ReportParams().Entries();
    for (const Case &c : cases) {
        EnterFurniture();
        c.spoil(*window);
        window->EdtProperty_Description->setFocus(Qt::TabFocusReason);
        messages.messages.clear();
        ClickButton(window->BtnDepreciate);
        ASSERT_EQ(messages.messages.size(), 1u) << c.name;
        EXPECT_EQ(messages.messages[0].text, c.message) << c.name;
        EXPECT_EQ(messages.messages[0].caption, "Fiscora 2025") << c.name;
        EXPECT_EQ(messages.messages[0].flags, 16) << c.name;
        EXPECT_EQ(QApplication::focusWidget(), c.focus) << c.name;
        EXPECT_EQ(window->RichEdit->toPlainText(), schedule) << c.name;
        EXPECT_EQ(window->ReportParams().Entries(), params) << c.name;
        w.CbxConvention->setCurrentIndex(0);
    }
}

TEST_F(MainWindowTest, HelpButtonAndF1OpenTheHelpAtContextOne) {
    HelpWindow::SetHelpFile(QStringLiteral(FISCORA_BIN_DIR "/Amortix.html"));
    for (const bool byKey : {false, true}) {
        window->EdtCost_or_Basis->setFocus(Qt::TabFocusReason);
        if (byKey)
            QTest::keyClick(window->EdtCost_or_Basis, Qt::Key_F1);
        else
            ClickButton(window->BtnHelp);
        auto *help = window->findChild<HelpWindow *>();
        ASSERT_NE(help, nullptr);
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->Browser()->source().fragment(), "context1");
        help->close();
    }
    EXPECT_TRUE(messages.messages.empty());
}

} // namespace
} // namespace fiscora
