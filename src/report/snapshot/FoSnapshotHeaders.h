#pragma once

#include "report/core/FoTypes.h"
#include "report/snapshot/FoSnapshotReader.h"

#include <QString>

namespace fiscora {

// The report header at the start of a snapshot stream.
struct TFoReportHeader {
    quint16 FileVer = 0;
    QString Title;
    int PageNo = 1;
    int PageCount = 0;
    int FirstPage = 0;
    int LastPage = 0;
    double PaperWidth = 0.0;
    double PaperHeight = 0.0;
    double LeftWaste = 0.0;
    double RightWaste = 0.0;
    double TopWaste = 0.0;
    double BottomWaste = 0.0;
    TOrientation Orientation = TOrientation::poPortrait;
    qint16 Bin = 0;
    bool Collate = false;
    TDuplex Duplex = TDuplex::dupSimplex;
    qint16 Copies = 1;
    qint16 DMPaperSize = 0;
    qint16 DMPaperLength = 0;
    qint16 DMPaperWidth = 0;
    QString OutputName;
};

// The header of one page record.
struct TFoPageHeader {
    int PrevPagePos = 0;
    int NextPagePos = 0;
    int PageNo = 0;
    double PaperWidth = 0.0;
    double PaperHeight = 0.0;
    quint8 OldOrientation = 0;
};

// Reads the report header from position 0 by its version, sets the reader's string encoding and
// re-reads with 8-bit strings when a UTF-16 reading is implausible. Leaves the reader after the header.
// Raises "Unexpected header code [%d] found in report file." for an unknown header code.
TFoReportHeader ReadSnapshotReportHeader(TFoSnapshotReader &Reader, bool ForceAnsi);

// Reads a page header at the reader's position; the orientation and bin of newer files go into Report.
// Raises "Unexpected code found in report file." when the page code is not there.
TFoPageHeader ReadSnapshotPageHeader(TFoSnapshotReader &Reader, TFoReportHeader &Report);

// A paper or waste size a renderer can work with: finite and within +-99999 inches.
bool PlausibleSnapshotSize(double Inches, bool AllowNegative);

} // namespace fiscora
