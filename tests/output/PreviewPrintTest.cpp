// Print from the preview window onto a printer that prints to a PDF file.
#include "FakePrinterSource.h"
#include "FoSnapshotTestSupport.h"
#include "ModalRunner.h"
#include "MsgBoxRecorder.h"
#include "PdfTestSupport.h"
#include "ScopeExit.h"
#include "output/dialogs/FoFormSetup.h"
#include "output/preview/CustPreviewForm_New.h"
#include "output/print/FoRenderPrinter.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

class PreviewPrintTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        auto source = std::make_unique<TFakePrinterSource>();
        source->Default = QStringLiteral("Laser,Laser Driver,LPT1:");
        source->PdfPath = dir.filePath(QStringLiteral("printed.pdf"));
        previous = TFoPrinterDevice::ReplaceInstance(std::make_unique<TFoPrinterDevice>(std::move(source)));
        bytes = TSnapshotBuilder::Pages(3);
        stream.setBuffer(&bytes);
        stream.open(QIODevice::ReadOnly);
        window = std::make_unique<TFrmReportPreview>();
        window->ReportSystem = &system;
        window->FInputStream = &stream;
        window->InitFromReportSystem();
        window->show();
    }
    void TearDown() override {
        window.reset();
        TFoPrinterDevice::ReplaceInstance(std::move(previous));
    }
    QByteArray Printed() const {
        QFile file(dir.filePath(QStringLiteral("printed.pdf")));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // Print with the print-range dialog answered by `answer`.
    void Print(const std::function<void(TFoSetupForm &)> &answer) {
        const ScopedModalRunner runner(DrivingModalRunner([&](QDialog &dialog) {
            if (auto *form = qobject_cast<TFoSetupForm *>(&dialog)) {
                ++setupShown;
                answer(*form);
            }
        }));
        window->BtnPrint->click();
    }

    QTemporaryDir dir;
    std::unique_ptr<TFoPrinterDevice> previous;
    TFoSystem system;
    QByteArray bytes;
    QBuffer stream;
    std::unique_ptr<TFrmReportPreview> window;
    MsgBoxRecorder messages;
    int setupShown = 0;
};

} // namespace

TEST_F(PreviewPrintTest, ChosenPagesReachThePrinter) {
    stream.seek(33);
    Print([](TFoSetupForm &form) {
        EXPECT_EQ(form.FromED->text(), QStringLiteral("1"));
        EXPECT_EQ(form.ToED->text(), QStringLiteral("3"));
        form.PagesRB->click();
        form.FromED->setText(QStringLiteral("2"));
        form.ToED->setText(QStringLiteral("3"));
        form.bbtnOK->click();
    });
    ASSERT_EQ(setupShown, 1);
    for (const auto &message : messages.messages)
        ADD_FAILURE() << message.text;
    const QString text = PdfToText(Printed());
    EXPECT_FALSE(text.contains(QLatin1String("page 1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("page 2"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("page 3"))) << text.toStdString();
    EXPECT_EQ(stream.pos(), 33); // paging goes on where it was
    EXPECT_TRUE(window->FoRenderPrinter().FIgnoreFileSettings);
}

TEST_F(PreviewPrintTest, CancelledPrintRangePrintsNothingButKeepsTheDialogsSettings) {
    Print([](TFoSetupForm &form) { form.CancelBB->click(); });
    ASSERT_EQ(setupShown, 1);
    EXPECT_TRUE(Printed().isEmpty());
    EXPECT_TRUE(window->FoRenderPrinter().FIgnoreFileSettings);
    EXPECT_TRUE(messages.messages.empty());
}
