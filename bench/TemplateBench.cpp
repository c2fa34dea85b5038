// Loading a report template grows linearly with the number of reports it holds.

#include "TemplateReader.h"

#include <QBuffer>
#include <benchmark/benchmark.h>

using namespace fiscora;

namespace {

QByteArray TemplateWithReports(int count) {
    QByteArray xml = "<?xml version=\"1.0\"?>\n<folio-project version=\"1\">\n";
    for (int i = 0; i < count; ++i)
        xml += "<report name=\"Report" + QByteArray::number(i) +
               "\"><page><title height=\"1\"><text x=\"0\" y=\"0.5\">x</text></title></page></report>\n";
    return xml + "</folio-project>\n";
}

void BM_LoadTemplate(benchmark::State &state) {
    QByteArray xml = TemplateWithReports(int(state.range(0)));
    for (auto _ : state) {
        QBuffer buffer(&xml);
        buffer.open(QIODevice::ReadOnly);
        benchmark::DoNotOptimize(ReadTemplate(buffer, QStringLiteral("big.fol")));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_LoadTemplate)->Arg(10000)->Arg(40000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

} // namespace
