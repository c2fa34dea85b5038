#include "report/snapshot/FoSnapshotHeaders.h"

#include "report/core/FoErrors.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <cmath>

namespace fiscora {

namespace {

constexpr double SizeLimit = 99999.0;

void ReadHeaderFields(TFoSnapshotReader &Reader, TFoReportHeader &Header) {
    Reader.Seek(0);
    const quint8 code = Reader.ReadByte();
    if (code == scHeaderV1101)
        Header.FileVer = 1101;
    else if (code == scHeaderV2009)
        Header.FileVer = 2009;
    else if (code == scHeaderVersioned)
        Header.FileVer = Reader.ReadWord();
    else
        RaiseSnapshotError(QStringLiteral("Unexpected header code [%1] found in report file.").arg(code));
    const int version = Header.FileVer;
    if (version < 5130)
        Reader.AnsiStrings = true;
    Reader.OneByteLengths = version < 2016;
    if (version >= 2010)
        Header.Title = Reader.ReadString();
    if (version >= 2018) {
        Header.PageCount = Reader.ReadInt();
        Header.FirstPage = Reader.ReadInt();
        Header.LastPage = Reader.ReadInt();
    } else {
        Header.PageCount = Reader.ReadSmallInt();
        Header.FirstPage = Reader.ReadSmallInt();
        Header.LastPage = Reader.ReadSmallInt();
    }
    Header.PaperWidth = Reader.ReadFloat();
    Header.PaperHeight = Reader.ReadFloat();
    Header.LeftWaste = Reader.ReadFloat();
    Header.RightWaste = Reader.ReadFloat();
    Header.TopWaste = Reader.ReadFloat();
    Header.BottomWaste = Reader.ReadFloat();
    Header.Orientation = static_cast<TOrientation>(Reader.ReadByte());
    if (version >= 2000) {
        Header.Bin = Reader.ReadSmallInt();
        Header.Collate = Reader.ReadByte() != 0;
        Header.Duplex = static_cast<TDuplex>(Reader.ReadByte());
    }
    Header.Copies = Reader.ReadSmallInt();
    Header.DMPaperSize = Reader.ReadSmallInt();
    Header.DMPaperWidth = Reader.ReadSmallInt();
    Header.DMPaperLength = Reader.ReadSmallInt();
    Header.OutputName = Reader.ReadString();
    Header.PageNo = 1;
}

bool Plausible(const TFoReportHeader &Header) {
    return Header.LastPage >= Header.FirstPage && Header.PageCount > 0 && Header.PageCount <= SizeLimit &&
           PlausibleSnapshotSize(Header.PaperWidth, false) &&
           PlausibleSnapshotSize(Header.PaperHeight, false) &&
           PlausibleSnapshotSize(Header.LeftWaste, true) && PlausibleSnapshotSize(Header.RightWaste, true) &&
           PlausibleSnapshotSize(Header.TopWaste, true) && PlausibleSnapshotSize(Header.BottomWaste, true);
}

} // namespace

bool PlausibleSnapshotSize(double Inches, bool AllowNegative) {
    return std::isfinite(Inches) && Inches <= SizeLimit && Inches >= (AllowNegative ? -SizeLimit : 0.0);
}

TFoReportHeader ReadSnapshotReportHeader(TFoSnapshotReader &Reader, bool ForceAnsi) {
    Reader.AnsiStrings = ForceAnsi;
    TFoReportHeader header;
    bool runOff = false;
    try {
        ReadHeaderFields(Reader, header);
    } catch (const EFolioReport &) {
        // A UTF-16 reading that runs off the stream is as implausible as one with absurd values.
        if (ForceAnsi || header.FileVer < 5130)
            throw;
        runOff = true;
    }
    if (!ForceAnsi && header.FileVer >= 5130 && (runOff || !Plausible(header))) {
        header = TFoReportHeader();
        Reader.AnsiStrings = true;
        ReadHeaderFields(Reader, header);
    }
    // Renderers size paper and bitmaps from these; absurd values must not reach them.
    if (!(PlausibleSnapshotSize(header.PaperWidth, false) &&
          PlausibleSnapshotSize(header.PaperHeight, false) && PlausibleSnapshotSize(header.LeftWaste, true) &&
          PlausibleSnapshotSize(header.RightWaste, true) && PlausibleSnapshotSize(header.TopWaste, true) &&
          PlausibleSnapshotSize(header.BottomWaste, true)))
        RaiseSnapshotError(QStringLiteral("Invalid page size found in report file."));
    return header;
}

TFoPageHeader ReadSnapshotPageHeader(TFoSnapshotReader &Reader, TFoReportHeader &Report) {
    if (Reader.ReadByte() != scPageHeader)
        RaiseSnapshotError(QStringLiteral("Unexpected code found in report file."));
    TFoPageHeader page;
    const int version = Report.FileVer;
    page.PrevPagePos = Reader.ReadInt();
    page.NextPagePos = Reader.ReadInt();
    page.PageNo = version >= 2018 ? Reader.ReadInt() : Reader.ReadSmallInt();
    if (version < 2000) {
        page.OldOrientation = Reader.ReadByte();
    } else {
        page.PaperWidth = Reader.ReadFloat();
        page.PaperHeight = Reader.ReadFloat();
    }
    if (version > 5129) {
        Report.Orientation = static_cast<TOrientation>(Reader.ReadByte());
        Report.Bin = Reader.ReadSmallInt();
    }
    return page;
}

} // namespace fiscora
