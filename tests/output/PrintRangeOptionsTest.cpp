#include "FakePrinterSource.h"
#include "ToolBoxExceptions.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/print/FoRenderPrinter.h"
#include "report/system/FoSystem.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace fiscora;

TEST(PrintRangeOptions, OkSetsTheRangeAndOptionsOfThePrinterRenderer) {
    struct Case {
        const char *range; // "all", "selection", "pages"
        QString from, to, selection, copies;
        bool duplex;
        TDuplex duplexBefore;
        int first, last;
        QString chosen;
        int copiesAfter;
        TDuplex duplexAfter;
    };
    const Case cases[] = {
        {"all", "2", "3", "1-2", "2", true, TDuplex::dupSimplex, 1, 9999, "", 2, TDuplex::dupVertical},
        {"selection", "2", "3", "1-3,5", "x", false, TDuplex::dupHorizontal, 1, 9999, "1-3,5", 1,
         TDuplex::dupSimplex},
        {"pages", "2", "3", "", "3", true, TDuplex::dupHorizontal, 2, 3, "", 3, TDuplex::dupHorizontal},
    };
    for (const Case &c : cases) {
        FakePrinter printer = MakePrinter();
        TFoSystem system;
        TFoRenderPrinter renderer(*printer.Device);
        renderer.FPages = 5;
        renderer.FDuplex = c.duplexBefore;
        TFoSetupForm form(system);
        form.Printer = printer.Device.get();
        form.PreviewSetup = true;
        form.FilePrinter = &renderer;
        form.FormShow();
        EXPECT_EQ(form.ToED->text(), QStringLiteral("5"));
        QRadioButton *radio = QString(c.range) == "all"         ? form.AllRB
                              : QString(c.range) == "selection" ? form.SelectionRB
                                                                : form.PagesRB;
        radio->setChecked(true);
        form.RangeClick();
        form.FromED->setText(c.from);
        form.ToED->setText(c.to);
        form.SelectionED->setText(c.selection);
        form.CopiesED->setText(c.copies);
        form.DuplexCK->setChecked(c.duplex);
        form.bbtnOKClick();
        EXPECT_EQ(renderer.FirstPage(), c.first) << c.range;
        EXPECT_EQ(renderer.LastPage(), c.last) << c.range;
        EXPECT_EQ(renderer.Selection(), c.chosen) << c.range;
        EXPECT_EQ(renderer.FCopies, c.copiesAfter) << c.range;
        EXPECT_EQ(renderer.FDuplex, c.duplexAfter) << c.range;
        // The report's own printer settings are untouched in this mode except the shared options.
        EXPECT_EQ(system.ReportDest, TReportDest::rdPreview);
    }
}

TEST(PrintRangeOptions, ABadPageNumberRaisesTheConversionErrorAndKeepsTheDialogOpen) {
    for (const auto &[from, to] : {std::pair<QString, QString>{"", "3"}, {"2", ""}}) {
        FakePrinter printer = MakePrinter();
        TFoSystem system;
        TFoRenderPrinter renderer(*printer.Device);
        renderer.FCopies = 1;
        TFoSetupForm form(system);
        form.Printer = printer.Device.get();
        form.PreviewSetup = true;
        form.FilePrinter = &renderer;
        form.FormShow();
        form.PagesRB->setChecked(true);
        form.FromED->setText(from);
        form.ToED->setText(to);
        form.CopiesED->setText(QStringLiteral("4"));
        EXPECT_THROW(form.bbtnOKClick(), EConvertError);
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_EQ(renderer.FCopies, 1) << "nothing after the bad number is applied";
    }
}

TEST(PrintRangeOptions, WithoutAPrinterOkIsDisabledAndTheDialogSaysWhy) {
    for (const bool withPrinter : {true, false}) {
        FakePrinter printer = withPrinter ? MakePrinter()
                                          : FakePrinter{nullptr, std::make_unique<TFoPrinterDevice>(
                                                                     std::make_unique<TNoPrinterSource>())};
        TFoSystem system;
        TFoRenderPrinter renderer(*printer.Device);
        TFoSetupForm form(system);
        form.Printer = printer.Device.get();
        form.PreviewSetup = true;
        form.FilePrinter = &renderer;
        form.FormShow();
        EXPECT_EQ(form.bbtnOK->isEnabled(), withPrinter);
        EXPECT_EQ(form.NoPrinterLabel->isVisibleTo(&form), !withPrinter);
        EXPECT_EQ(form.NoPrinterLabel->text(), QStringLiteral("There is no printer to print on."));
    }
}
