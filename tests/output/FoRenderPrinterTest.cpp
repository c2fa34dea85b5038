#include "output/print/FoRenderPrinter.h"
#include "FakePrinterSource.h"
#include "FoSnapshotTestSupport.h"
#include "ToolBoxExceptions.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fiscora;
using namespace fiscora::test;

namespace {

// The fake printer, remembering what each job was started with and every raw block sent.
class TRecordingPrinter : public TFoPrinterDevice {
public:
    using TFoPrinterDevice::TFoPrinterDevice;
    struct TJob {
        QString Title;
        int Copies;
        bool Collate;
        TDuplex Duplex;
    };
    std::vector<TJob> Jobs;
    std::vector<qsizetype> RawBlocks;

    void BeginDocSelect() override {
        TFoPrinterDevice::BeginDocSelect();
        Jobs.push_back({Title(), Copies(), Collate(), Duplex()});
    }
    void RawOut(const QByteArray &data) override {
        RawBlocks.push_back(data.size());
        TFoPrinterDevice::RawOut(data);
    }
};

struct Printer {
    QTemporaryDir folder;
    TFakePrinterSource *Source;
    std::unique_ptr<TRecordingPrinter> Device;
    int PagesStarted = 0;

    explicit Printer(const std::function<void(TFakePrinterSource &)> &configure = {}) {
        auto source = std::make_unique<TFakePrinterSource>();
        source->PdfPath = folder.filePath(QStringLiteral("job.pdf"));
        if (configure)
            configure(*source);
        Source = source.get();
        Device = std::make_unique<TRecordingPrinter>(std::move(source));
        Device->OnPage = [this] { ++PagesStarted; };
    }
};

void Print(TFoRenderPrinter &renderer, QByteArray bytes) {
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    PrintSnapshotCopies(renderer, &stream);
    renderer.SetSnapshotStream(nullptr);
}

QByteArray OnePage(const TSnapshotBuilder::TJobSettings &job, const QString &title = QStringLiteral("T"),
                   const std::function<void(TFoSnapshotOutput &)> &body = {}) {
    TSnapshotBuilder builder;
    builder.Header(1, job, 1, 9999, title);
    builder.Page(1, body);
    return builder.Bytes();
}

} // namespace

TEST(RenderPrinter, JobSettingsComeFromTheSnapshotUntilTheDialogHasSpoken) {
    const TSnapshotBuilder::TJobSettings recorded{3, true, quint8(TDuplex::dupHorizontal)};
    struct Case {
        bool ignoreFileSettings;
        int copies;
        bool collate;
        TDuplex duplex;
    };
    for (const Case &c :
         {Case{false, 3, true, TDuplex::dupHorizontal}, Case{true, 2, false, TDuplex::dupVertical}}) {
        Printer printer([](TFakePrinterSource &source) { source.SupportsDuplex = true; });
        TFoRenderPrinter renderer(*printer.Device);
        renderer.FIgnoreFileSettings = c.ignoreFileSettings;
        renderer.FCopies = 2;
        renderer.FCollate = false;
        renderer.FDuplex = TDuplex::dupVertical;
        Print(renderer, OnePage(recorded, QStringLiteral("Fiscora")));
        ASSERT_EQ(printer.Device->Jobs.size(), 1u);
        const auto &job = printer.Device->Jobs.front();
        EXPECT_EQ(job.Title, QStringLiteral("Fiscora"));
        EXPECT_EQ(job.Copies, c.copies) << c.ignoreFileSettings;
        EXPECT_EQ(job.Collate, c.collate) << c.ignoreFileSettings;
        EXPECT_EQ(job.Duplex, c.duplex) << c.ignoreFileSettings;
        EXPECT_EQ(printer.PagesStarted, 1);
        EXPECT_FALSE(printer.Device->Printing());
    }
}

TEST(RenderPrinter, CustomPaperOfTheSnapshotIsSetWhenThePrinterTakesIt) {
    struct Case {
        qint16 width, length;
        std::int16_t paperAfter;
    };
    // 2000 x 3000 lies within the fake's custom extents; 5000 x 3000 does not and leaves letter.
    for (const Case &c : {Case{2000, 3000, 256}, Case{5000, 3000, 1}}) {
        Printer printer;
        TFoRenderPrinter renderer(*printer.Device);
        Print(renderer, OnePage({1, false, 0, 256, c.width, c.length}));
        ASSERT_NE(printer.Device->DevMode(), nullptr);
        EXPECT_EQ(printer.Device->DevMode()->PaperSize, c.paperAfter) << c.width;
        EXPECT_EQ(printer.Device->Jobs.size(), 1u);
    }
}

TEST(RenderPrinter, RawDataStreamGoesOutIn4096ByteChunks) {
    struct Case {
        int bytes;
        std::vector<qsizetype> chunks;
    };
    for (const Case &c : {Case{10000, {4096, 4096, 1808}}, Case{8192, {4096, 4096}}, Case{5, {5}}}) {
        QByteArray data(c.bytes, Qt::Uninitialized);
        for (int i = 0; i < c.bytes; ++i)
            data[i] = char(i * 7);
        Printer printer;
        TFoRenderPrinter renderer(*printer.Device);
        Print(renderer, OnePage({}, QStringLiteral("T"), [&](TFoSnapshotOutput &out) {
                  out.WriteByte(scPrintDataStream);
                  out.WriteInt(data.size());
                  out.Write(data.constData(), data.size());
              }));
        EXPECT_EQ(printer.Device->RawBlocks, c.chunks) << c.bytes;
        EXPECT_EQ(printer.Source->RawSent, data) << c.bytes;
    }
}

TEST(RenderPrinter, PrintDataSendsOneBytePerCharacter) {
    Printer printer;
    TFoRenderPrinter renderer(*printer.Device);
    Print(renderer, OnePage({}, QStringLiteral("T"), [](TFoSnapshotOutput &out) {
              out.WriteByte(scPrintData);
              out.WriteString(QStringLiteral("\x1b"
                                             "E\xe9"));
          }));
    EXPECT_EQ(printer.Source->RawSent, QByteArray("\x1b"
                                                  "E\xe9"));
}

TEST(RenderPrinter, DevicePositionsAreShiftedByThePrintableOffsetAtEachAxisResolution) {
    // The fake's printable area starts 40 pixels from the left and 60 from the top.
    Printer printer([](TFakePrinterSource &source) {
        source.XResolution = 300;
        source.YResolution = 600;
    });
    TFoRenderPrinter renderer(*printer.Device);
    EXPECT_EQ(renderer.XI2D(1.0), 260); // (1 - 40/300) * 300
    EXPECT_EQ(renderer.YI2D(1.0), 540); // (1 - 60/600) * 600
    EXPECT_EQ(renderer.YI2D(0.1), 0);
    EXPECT_EQ(renderer.XDPI(), 300);
    EXPECT_EQ(renderer.YDPI(), 600);
}

TEST(RenderPrinter, CopiesArePrintedByThePrinterOrRepeatedWhenItCannot) {
    struct Case {
        int maxCopies;
        std::size_t jobs;
        int copiesPerJob;
    };
    for (const Case &c : {Case{1, 3, 1}, Case{2, 3, 1}, Case{5, 1, 3}}) {
        Printer printer([&](TFakePrinterSource &source) { source.MaximumCopies = c.maxCopies; });
        TFoRenderPrinter renderer(*printer.Device);
        renderer.FIgnoreFileSettings = true;
        renderer.FCopies = 3;
        Print(renderer, TSnapshotBuilder::Pages(2));
        ASSERT_EQ(printer.Device->Jobs.size(), c.jobs) << c.maxCopies;
        for (const auto &job : printer.Device->Jobs)
            EXPECT_EQ(job.Copies, c.copiesPerJob) << c.maxCopies;
        EXPECT_EQ(printer.PagesStarted, int(c.jobs) * 2);
    }
}

// The report system's copies: a pass prints one copy even when the snapshot recorded more.
TEST(RenderPrinter, CopiesPrintedAsPassesAreOneCopyEach) {
    const TSnapshotBuilder::TJobSettings recorded{2, false, quint8(TDuplex::dupSimplex)};
    struct Case {
        int copies;
        std::size_t jobs;
        int copiesPerJob;
    };
    for (const Case &c : {Case{7, 7, 1}, Case{1, 1, 2}, Case{4, 1, 2}}) {
        Printer printer([](TFakePrinterSource &source) { source.MaximumCopies = 5; });
        TFoRenderPrinter renderer(*printer.Device);
        QByteArray bytes = OnePage(recorded);
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        PrintSnapshotCopies(renderer, &stream, c.copies);
        renderer.SetSnapshotStream(nullptr);
        ASSERT_EQ(printer.Device->Jobs.size(), c.jobs) << c.copies;
        for (const auto &job : printer.Device->Jobs)
            EXPECT_EQ(job.Copies, c.copiesPerJob) << c.copies;
        EXPECT_FALSE(renderer.FOneCopyPerPass);
    }
}

TEST(RenderPrinter, ChosenPagesOnlyArePrinted) {
    Printer printer;
    TFoRenderPrinter renderer(*printer.Device);
    renderer.SetFirstPage(2);
    renderer.SetLastPage(3);
    Print(renderer, TSnapshotBuilder::Pages(4));
    EXPECT_EQ(printer.PagesStarted, 2);
    EXPECT_EQ(renderer.Pages(), 4);
}

TEST(RenderPrinter, StatusShowsThePageAndCancelAbandonsTheJob) {
    Printer printer;
    TFoRenderPrinter renderer(*printer.Device);
    QStringList shown;
    renderer.StatusLabel = [&](const QString &text) {
        shown << text;
        if (shown.size() == 2)
            renderer.Abort();
    };
    EXPECT_THROW(Print(renderer, TSnapshotBuilder::Pages(3)), EAbort);
    EXPECT_EQ(shown, QStringList({"Printing page 1", "Printing page 2"}));
    EXPECT_EQ(printer.PagesStarted, 1);
    EXPECT_FALSE(printer.Device->Printing());
    // The next print is a new job that runs to its end.
    renderer.StatusLabel = nullptr;
    Print(renderer, TSnapshotBuilder::Pages(3));
    EXPECT_EQ(printer.PagesStarted, 4);
}

TEST(RenderPrinter, ABrokenSnapshotAbandonsTheJobWithItsError) {
    Printer printer;
    TFoRenderPrinter renderer(*printer.Device);
    TSnapshotBuilder builder;
    builder.Header(2);
    builder.Page(1, [](TFoSnapshotOutput &out) {
        out.WriteByte(scPrintData);
        out.WriteString(QStringLiteral("raw"));
    });
    builder.Page(2, [](TFoSnapshotOutput &out) {
        out.WriteByte(scLeftText);
        out.WriteFloat(1.0);
        out.WriteString(QStringLiteral("a text cut short"));
        out.WriteFloat(0.5);
    });
    QByteArray bytes = builder.Bytes();
    bytes.chop(12);
    EXPECT_ANY_THROW(Print(renderer, bytes));
    EXPECT_EQ(printer.Device->Jobs.size(), 1u);
    EXPECT_FALSE(printer.Device->Printing());
    // An abandoned job is not spooled: its raw data stays unsent.
    EXPECT_TRUE(printer.Source->RawSent.isEmpty());
}

TEST(RenderPrinter, WithoutAPrinterNothingIsPrintedAndTheReasonIsGiven) {
    TFoPrinterDevice device(std::make_unique<TNoPrinterSource>());
    TFoRenderPrinter renderer(device);
    try {
        Print(renderer, TSnapshotBuilder::Pages(1));
        FAIL() << "printing without a printer succeeded";
    } catch (const std::exception &error) {
        EXPECT_STREQ(error.what(), "There is no printer to print on; nothing was printed.");
    }
}
