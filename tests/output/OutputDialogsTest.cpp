#include "output/dialogs/OutputDialogs.h"
#include "FakePrinterSource.h"
#include "ModalRunner.h"
#include "ToolBoxExceptions.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/dialogs/FoFormStatus.h"
#include "report/canvas/FoBase.h"
#include "report/system/FoSystem.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace fiscora;

namespace {

// The Output Options dialog in destination mode, shown for a report system, over a printer.
struct SetupDialog {
    TFoSystem system;
    FakePrinter printer = MakePrinter(QStringLiteral("Laser,Laser Driver,LPT1:"));
    std::unique_ptr<TFoSetupForm> form;

    explicit SetupDialog(bool withPrinter = true) {
        if (!withPrinter)
            printer = {nullptr, std::make_unique<TFoPrinterDevice>(std::make_unique<TNoPrinterSource>())};
        form = std::make_unique<TFoSetupForm>(system);
        form->Printer = printer.Device.get();
    }
    void Show() {
        form->show();
        QApplication::processEvents();
    }
};

} // namespace

TEST(SetupForm, CaptionsAndThePrinterLabel) {
    SetupDialog dialog;
    dialog.Show();
    TFoSetupForm &form = *dialog.form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Output Options"));
    EXPECT_EQ(form.bbtnOK->text(), QStringLiteral("   OK   "));
    EXPECT_TRUE(form.bbtnOK->isDefault());
    EXPECT_EQ(form.PrinterLabel->text(), QStringLiteral("Laser on LPT1:"));
    EXPECT_EQ(form.cboxFormat->itemText(0), QStringLiteral("Folio Format (FSN)"));
    EXPECT_EQ(form.cboxFormat->itemText(1), QStringLiteral("Native Printer Output"));
    EXPECT_TRUE(
        form.SaveFilter().startsWith(QStringLiteral("Folio Format (FSN)|*.FSN|Native Printer Output|*.PRN")));
    EXPECT_TRUE(form.PreviewRB->isChecked()); // the default destination
    EXPECT_GE(form.width(), 295);
    EXPECT_GE(form.height(), 242);

    SetupDialog none(false);
    none.Show();
    EXPECT_EQ(none.form->PrinterLabel->text(), QStringLiteral("No printers installed!"));
    EXPECT_FALSE(none.form->PrinterRB->isEnabled());
    EXPECT_TRUE(none.form->FileRB->isEnabled());
    EXPECT_TRUE(none.form->PreviewRB->isChecked());
    for (QWidget *option : std::initializer_list<QWidget *>{none.form->CopiesED, none.form->CollateCK,
                                                            none.form->DuplexCK, none.form->SetupBB})
        EXPECT_FALSE(option->isEnabled()) << option->objectName().toStdString();
}

TEST(SetupForm, DestinationRulesEnableTheirControls) {
    struct Case {
        const char *name;
        std::function<void(TFoSetupForm &)> act;
        bool ok, fileName, copies;
    };
    const Case cases[] = {
        {"printer", [](TFoSetupForm &f) { f.PrinterRB->click(); }, true, false, true},
        {"preview", [](TFoSetupForm &f) { f.PreviewRB->click(); }, true, false, false},
        {"file without a name", [](TFoSetupForm &f) { f.FileRB->click(); }, false, true, true},
        {"file with a blank name",
         [](TFoSetupForm &f) {
             f.FileRB->click();
             f.editFileName->setText(QStringLiteral("   "));
         },
         false, true, true},
        {"file with a name",
         [](TFoSetupForm &f) {
             f.FileRB->click();
             f.editFileName->setText(QStringLiteral("report"));
         },
         true, true, true},
    };
    for (const Case &c : cases) {
        SetupDialog dialog;
        dialog.Show();
        TFoSetupForm &form = *dialog.form;
        form.PrinterRB->click(); // from a printer destination, where copies are on
        c.act(form);
        EXPECT_EQ(form.bbtnOK->isEnabled(), c.ok) << c.name;
        EXPECT_EQ(form.editFileName->isEnabled(), c.fileName) << c.name;
        EXPECT_EQ(form.FileNameSB->isEnabled(), c.fileName) << c.name;
        EXPECT_EQ(form.cboxFormat->isEnabled(), c.fileName) << c.name;
        if (std::string(c.name) != "printer" && std::string(c.name) != "preview")
            continue; // the file destination leaves the options as they were
        EXPECT_EQ(form.CopiesED->isEnabled(), c.copies) << c.name;
        EXPECT_EQ(form.CollateCK->isEnabled(), c.copies) << c.name;
        EXPECT_EQ(form.DuplexCK->isEnabled(), c.copies) << c.name;
    }
}

TEST(SetupForm, OkWritesTheDestinationAndTheFileNamesExtension) {
    struct Case {
        QString name;
        int format;
        QString written;
        bool native;
    };
    for (const Case &c : {Case{"report", 0, "report.fsn", false}, Case{"report", 1, "report.prn", true},
                          Case{"  my.report  ", 0, "my.report", false}, Case{"out.x", 1, "out.x", true}}) {
        SetupDialog dialog;
        dialog.Show();
        TFoSetupForm &form = *dialog.form;
        form.FileRB->click();
        form.editFileName->setText(c.name);
        form.cboxFormat->setCurrentIndex(c.format);
        form.bbtnOK->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.system.ReportDest, TReportDest::rdFile);
        EXPECT_EQ(dialog.system.OutputFileName, c.written) << c.name.toStdString();
        EXPECT_EQ(dialog.system.DoNativeOutput, c.native) << c.name.toStdString();
        EXPECT_EQ(dialog.system.RenderObject, nullptr);
    }
    SetupDialog preview;
    preview.system.OutputFileName = QStringLiteral("old.fsn");
    preview.Show();
    preview.form->PreviewRB->click();
    preview.form->bbtnOK->click();
    EXPECT_EQ(preview.system.ReportDest, TReportDest::rdPreview);
    EXPECT_TRUE(preview.system.OutputFileName.isEmpty());
}

// A machine without printers still saves reports to files; only native printer output needs one.
TEST(SetupForm, WithoutAPrinterFilesAreWrittenInEveryFormatButNative) {
    struct Case {
        const char *name;
        int format;
        bool ok;
    };
    for (const Case &c : {Case{"snapshot", 0, true}, Case{"native", 1, false}}) {
        SetupDialog dialog(false);
        dialog.system.DefaultDest = TReportDest::rdPrinter;
        dialog.Show();
        TFoSetupForm &form = *dialog.form;
        EXPECT_TRUE(form.PreviewRB->isChecked()) << c.name;
        form.FileRB->click();
        form.editFileName->setText(QStringLiteral("report"));
        form.cboxFormat->setCurrentIndex(c.format);
        EXPECT_EQ(form.bbtnOK->isEnabled(), c.ok) << c.name;
        if (!c.ok)
            continue;
        form.bbtnOK->click();
        EXPECT_EQ(form.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.system.ReportDest, TReportDest::rdFile);
        EXPECT_EQ(dialog.system.OutputFileName, QStringLiteral("report.fsn"));
    }
    SetupDialog none(false);
    none.Show();
    auto *formats = qobject_cast<QStandardItemModel *>(none.form->cboxFormat->model());
    ASSERT_NE(formats, nullptr);
    EXPECT_FALSE(formats->item(1)->isEnabled());
    EXPECT_TRUE(formats->item(0)->isEnabled());
}

TEST(SetupForm, CopiesCollationAndDuplexReachTheSystemPrinter) {
    struct Case {
        TDuplex before;
        bool checked;
        TDuplex after;
    };
    for (const Case &c : {Case{TDuplex::dupSimplex, true, TDuplex::dupVertical},
                          Case{TDuplex::dupHorizontal, true, TDuplex::dupHorizontal},
                          Case{TDuplex::dupHorizontal, false, TDuplex::dupSimplex}}) {
        SetupDialog dialog;
        dialog.system.SystemPrinter.Duplex = c.before;
        dialog.Show();
        TFoSetupForm &form = *dialog.form;
        form.PrinterRB->click();
        form.CopiesED->setText(QStringLiteral("3"));
        form.CollateCK->setChecked(true);
        form.DuplexCK->setChecked(c.checked);
        form.bbtnOK->click();
        EXPECT_EQ(dialog.system.ReportDest, TReportDest::rdPrinter);
        EXPECT_EQ(dialog.system.SystemPrinter.Copies, 3);
        EXPECT_TRUE(dialog.system.SystemPrinter.Collate);
        EXPECT_EQ(dialog.system.SystemPrinter.Duplex, c.after);
    }
}

TEST(SetupForm, NumberFieldsTakeOnlyTheirCharacters) {
    SetupDialog dialog;
    dialog.Show();
    TFoSetupForm &form = *dialog.form;
    struct Case {
        QLineEdit *edit;
        QString typed, kept;
    };
    for (const Case &c : {Case{form.CopiesED, "1a2-", "12"}, Case{form.FromED, "x7", "7"},
                          Case{form.SelectionED, "1-3, 5x", "1-3, 5"}}) {
        c.edit->clear();
        c.edit->setEnabled(true);
        c.edit->setVisible(true);
        QTest::keyClicks(c.edit, c.typed);
        EXPECT_EQ(c.edit->text(), c.kept) << c.edit->objectName().toStdString();
    }
}

TEST(StatusForm, ShowsTheProgressAndCancelAbortsTheReport) {
    InstallOutputDialogs();
    TFoSystem system;
    system.TitleStatus = QStringLiteral("Fiscora Report Status");
    system.SystemSetups = 0;
    system.SystemOptions = soShowStatus;
    int previews = 0;
    system.OverridePreview = [&](TFoSystem &, TOverrideMode mode, std::unique_ptr<QObject> &) {
        previews += mode == TOverrideMode::omShow;
    };
    QStringList seen;
    system.OnPrint = [&](TBaseReport &canvas) {
        canvas.PrintLeft(QStringLiteral("one"), 1);
        canvas.NewPage();
        TFoStatusForm *status = nullptr;
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *form = qobject_cast<TFoStatusForm *>(widget); form && form->isVisible())
                status = form;
        ASSERT_NE(status, nullptr);
        seen << status->windowTitle() << status->StatusLabel->text() << status->CancelButton->text();
        status->CancelButton->click();
        canvas.PrintLeft(QStringLiteral("two"), 1); // the abort stops the report here
    };
    // The abort unwinds as the silent error the general error display shows nothing for.
    EXPECT_THROW(system.Execute(), EAbort);
    EXPECT_EQ(seen, QStringList({"Fiscora Report Status", "Generating page 2", "Cancel"}));
    EXPECT_TRUE(system.Aborted);
    EXPECT_EQ(previews, 0);
}
