#pragma once

// A report body run on a printer-less snapshot writer, as the tests and benchmarks make snapshots.

#include "report/snapshot/FoFiler.h"

#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <functional>

namespace fiscora::test {

using ReportBody = std::function<void(TBaseReport &report)>;
using WriterSetup = std::function<void(TFoSnapshotWriter &writer)>;

// Runs a report body on a printer-less snapshot writer into memory; `setup` adjusts the writer first.
inline QByteArray GenerateSnapshot(const ReportBody &body, const WriterSetup &setup = {}) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadWrite);
    TFoSnapshotWriter writer;
    writer.SetPrinterDevice(nullptr);
    writer.SetStreamMode(TStreamMode::smUser);
    writer.SetStream(&buffer);
    if (setup)
        setup(writer);
    writer.OnPrint = [&](TBaseReport &report) { body(report); };
    writer.Execute();
    return bytes;
}

} // namespace fiscora::test
