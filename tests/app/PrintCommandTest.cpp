// The Print command from the window: Output Options, generation and the preview window.
#include "FakePrinterSource.h"
#include "MainWindowFixture.h"
#include "ModalRunner.h"
#include "ScopeExit.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/preview/CustPreviewForm_New.h"
#include "output/screen/FoRenderPreview.h"
#include "report/system/FoProject.h"
#include "report/system/FoSystem.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace fiscora {
namespace {

class PrintCommandTest : public MainWindowTest {
protected:
    // The longest schedule: an automobile of 2017 at the highest cost, 75 rows on three pages.
    void EnterLongestSchedule() {
        ChooseItem(window->CbxProperty_Type, 1);
        EnterDate(window->EdtDate_Placed_in_Service, QStringLiteral("01/15/2017"));
        TypeAndLeave(window->EdtCost_or_Basis, QStringLiteral("145000"));
        EnterDate(window->EdtFiscal_Year, QStringLiteral("12/31/2017"));
        ClickButton(window->BtnDepreciate);
    }

    // Runs Print, answering the Output Options dialog with `setup` and the preview with `preview`.
    void Print(const std::function<void(TFoSetupForm &)> &setup,
               const std::function<void(TFrmReportPreview &)> &preview = {}) {
        const ScopedModalRunner runner(DrivingModalRunner([&](QDialog &dialog) {
            if (auto *form = qobject_cast<TFoSetupForm *>(&dialog)) {
                ++setupShown;
                setup(*form);
            } else if (auto *window = qobject_cast<TFrmReportPreview *>(&dialog)) {
                ++previewShown;
                if (preview)
                    preview(*window);
            }
        }));
        ClickButton(window->BtnPrint);
    }

    int setupShown = 0;
    int previewShown = 0;
};

// A machine without printers: files are still written in every format but native printer output.
class NoPrinterTest : public PrintCommandTest {
protected:
    NoPrinterTest()
        : previous(TFoPrinterDevice::ReplaceInstance(
              std::make_unique<TFoPrinterDevice>(std::make_unique<TNoPrinterSource>()))) {}
    ~NoPrinterTest() override { TFoPrinterDevice::ReplaceInstance(std::move(previous)); }

    std::unique_ptr<TFoPrinterDevice> previous;
};

TEST_F(PrintCommandTest, PrintWithAnEmptyPaneDoesNothing) {
    Print([](TFoSetupForm &) {});
    EXPECT_EQ(setupShown, 0);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PrintCommandTest, CancelledOutputOptionsProduceNothingAndClearTheParameters) {
    EnterLongestSchedule();
    Print([](TFoSetupForm &form) {
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Fiscora Output Options"));
        form.CancelBB->click();
    });
    for (const auto &message : messages.messages)
        ADD_FAILURE() << message.text;
    EXPECT_EQ(setupShown, 1);
    EXPECT_EQ(previewShown, 0);
    EXPECT_TRUE(window->FolioProject().Params().Entries().empty());
    EXPECT_EQ(QDir::currentPath() + u'/', window->ExeDir());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(PrintCommandTest, PreviewShowsTheReportAndAltLGoesToTheLastPage) {
    EnterLongestSchedule();
    QString before, after, caption;
    Print([](TFoSetupForm &form) { form.bbtnOK->click(); },
          [&](TFrmReportPreview &preview) {
              caption = preview.windowTitle();
              before = preview.StatusPanel->text();
              QTest::keyClick(&preview, Qt::Key_L, Qt::AltModifier);
              after = preview.StatusPanel->text();
          });
    EXPECT_EQ(previewShown, 1);
    EXPECT_EQ(caption, QStringLiteral("Fiscora Report Preview"));
    EXPECT_EQ(before, QStringLiteral(" Page 1 of 3"));
    EXPECT_EQ(after, QStringLiteral(" Page 3 of 3"));
    EXPECT_TRUE(window->FolioProject().Params().Entries().empty());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(NoPrinterTest, ASnapshotFileDestinationWritesTheSnapshot) {
    EnterLongestSchedule();
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("report")); // no extension: ".fsn" is added
    Print([&](TFoSetupForm &form) {
        form.FileRB->click();
        form.editFileName->setText(name);
        form.bbtnOK->click();
    });
    EXPECT_EQ(previewShown, 0);
    QFile snapshot(name + QStringLiteral(".fsn"));
    ASSERT_TRUE(snapshot.open(QIODevice::ReadOnly));
    EXPECT_GT(snapshot.size(), 1000);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(NoPrinterTest, TheExportFormatsOfTheFileDestinationWriteTheirDocuments) {
    EnterLongestSchedule();
    QTemporaryDir dir;
    struct Case {
        QString format;
        QString given; // without an extension: the format's is added
        QString written;
    };
    for (const Case &c : {Case{"Adobe Portable Document (PDF)", "car", "car.pdf"},
                          Case{"Web Document (HTML)", "pages", "pages1.html"}}) {
        Print([&](TFoSetupForm &form) {
            form.FileRB->click();
            const int index = form.cboxFormat->findText(c.format);
            ASSERT_GE(index, 2) << c.format.toStdString();
            form.cboxFormat->setCurrentIndex(index);
            form.editFileName->setText(dir.filePath(c.given));
            form.bbtnOK->click();
        });
        QFile file(dir.filePath(c.written));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << c.written.toStdString();
        EXPECT_GT(file.size(), 1000) << c.written.toStdString();
    }
    EXPECT_EQ(previewShown, 0);
    EXPECT_TRUE(messages.messages.empty());
}

// The printer destination, and native printer output to a file: the report goes to the printer
// (here a PDF of the fake printer, or the printer file) without a preview.
TEST_F(PrintCommandTest, PrinterOutputGoesToThePrinterWithoutAPreview) {
    const struct {
        const char *name;
        std::function<void(TFoSetupForm &, const QTemporaryDir &)> choose;
        const char *printed;
    } cases[] = {
        {"the printer",
         [](TFoSetupForm &form, const QTemporaryDir &) {
             EXPECT_EQ(form.PrinterLabel->text(), QStringLiteral("Laser on LPT1:"));
             form.PrinterRB->click();
         },
         "printed.pdf"},
        {"native printer output to a file",
         [](TFoSetupForm &form, const QTemporaryDir &dir) {
             form.FileRB->click();
             form.editFileName->setText(dir.filePath(QStringLiteral("report")));
             form.cboxFormat->setCurrentIndex(1); // "Native Printer Output"
         },
         "report.prn"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        EnterLongestSchedule();
        QTemporaryDir dir;
        FakePrinter printer = MakePrinter(QStringLiteral("Laser,Laser Driver,LPT1:"));
        printer.Source->PdfPath = dir.filePath(QStringLiteral("printed.pdf"));
        auto previous = TFoPrinterDevice::ReplaceInstance(std::move(printer.Device));
        ScopeExit restore([&] { TFoPrinterDevice::ReplaceInstance(std::move(previous)); });
        Print([&](TFoSetupForm &form) {
            c.choose(form, dir);
            form.bbtnOK->click();
        });
        EXPECT_EQ(previewShown, 0);
        for (const auto &message : messages.messages)
            ADD_FAILURE() << message.text;
        QFile printed(dir.filePath(QLatin1String(c.printed)));
        ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
        EXPECT_TRUE(printed.read(4) == "%PDF") << "a PDF of the printed pages";
        EXPECT_TRUE(window->FolioProject().Params().Entries().empty());
    }
}

} // namespace
} // namespace fiscora
