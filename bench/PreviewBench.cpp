// One page of the 75-row automobile report drawn at zoom 100: played from its snapshot into the
// preview renderer, against QPainter drawing the same texts and lines directly.

#include "ReportFixtures.h"
#include "ScheduleRecorder.h"
#include "output/screen/FoRenderPreview.h"
#include "report/playback/FoSnapshotRecorder.h"
#include "report/system/FoSystem.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QScrollArea>
#include <benchmark/benchmark.h>

#include <variant>

using namespace fiscora;

namespace {

const QByteArray &Snapshot() {
    static const QByteArray snapshot = [] {
        ScheduleRecorder pane;
        return test::ReportSnapshot(QCoreApplication::applicationDirPath() + QStringLiteral("/Amortix.fol"),
                                    test::LongestSchedule(), pane);
    }();
    return snapshot;
}

void BM_PreviewPage75Rows(benchmark::State &state) {
    QByteArray bytes = Snapshot();
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    QScrollArea box;
    box.resize(900, 700);
    TFoRenderPreview preview;
    preview.SetScrollBox(&box);
    preview.SetShadowDepth(5);
    preview.MarginPercent = 2.5;
    preview.SetSnapshotStream(&stream);
    for (auto _ : state)
        preview.RenderPage(1);
    state.counters["pages"] = preview.Pages();
}
BENCHMARK(BM_PreviewPage75Rows)->Unit(benchmark::kMillisecond);

// The texts and lines of page 1 as playback hands them over, drawn straight with QPainter.
void BM_QPainterSamePage(benchmark::State &state) {
    QByteArray bytes = Snapshot();
    QBuffer stream(&bytes);
    stream.open(QIODevice::ReadOnly);
    TFoSnapshotRecorder recorder;
    recorder.SetSnapshotStream(&stream);
    recorder.RenderPage(1);
    struct Text {
        QString text;
        QPointF at;
    };
    std::vector<Text> texts;
    std::vector<QLineF> lines;
    QPointF pen;
    const auto number = [](const TFoRecordedCall &call, std::size_t i) {
        return std::get<double>(call.Args.at(i).Value) * 96.0;
    };
    for (const TFoRecordedCall &call : recorder.Calls) {
        if (call.Name == QLatin1String("LeftText") || call.Name == QLatin1String("RightText") ||
            call.Name == QLatin1String("CenterText") || call.Name == QLatin1String("PrintSpaces"))
            texts.push_back(
                {std::get<QString>(call.Args.at(0).Value), QPointF(number(call, 1), number(call, 2))});
        else if (call.Name == QLatin1String("MoveTo"))
            pen = QPointF(number(call, 0), number(call, 1));
        else if (call.Name == QLatin1String("LineTo"))
            lines.emplace_back(pen, QPointF(number(call, 0), number(call, 1)));
    }
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    QImage page(821, 1061, QImage::Format_RGB32);
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter painter(&page);
        painter.setFont(font);
        for (const QLineF &line : lines)
            painter.drawLine(line);
        for (const Text &text : texts)
            painter.drawText(text.at, text.text);
    }
    state.counters["texts"] = double(texts.size());
}
BENCHMARK(BM_QPainterSamePage)->Unit(benchmark::kMillisecond);

} // namespace
