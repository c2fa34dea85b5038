// Snapshot writer: the job header and the chain of page headers.
#include "report/snapshot/FoFiler.h"

#include "report/snapshot/FoSnapshotCodes.h"

namespace fiscora {

namespace {

// Bin numbers the format stores when there are no printer settings.
constexpr int ReportHeaderDefaultBin = 265;
constexpr int PageHeaderDefaultBin = 512;

} // namespace

void TFoSnapshotWriter::WriteReportHeader() {
    const TFoDevMode *devMode = NoPrinters() ? nullptr : DevMode();
    TFoSnapshotOutput &out = *FOutput;
    out.WriteByte(scHeaderVersioned);
    out.WriteWord(SnapshotWriteVersion);
    out.WriteString(Title());
    SaveJobPos = out.Position();
    out.WriteInt(0);
    out.WriteInt(FirstPage());
    out.WriteInt(LastPage());
    out.WriteFloat(XU2I(PageWidth()));
    out.WriteFloat(YU2I(PageHeight()));
    out.WriteFloat(LeftWaste());
    out.WriteFloat(RightWaste());
    out.WriteFloat(TopWaste());
    out.WriteFloat(BottomWaste());
    out.WriteByte(static_cast<quint8>(Orientation()));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->DefaultSource : ReportHeaderDefaultBin));
    out.WriteBool(devMode ? Collate() : false);
    out.WriteByte(static_cast<quint8>(devMode ? Duplex() : TDuplex::dupSimplex));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->Copies : 1));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->PaperSize : 1));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->PaperWidth : 0));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->PaperLength : 0));
    out.WriteString(OutputName());
}

void TFoSnapshotWriter::WritePageStart() {
    TFoSnapshotOutput &out = *FOutput;
    const TFoDevMode *devMode = NoPrinters() ? nullptr : DevMode();
    AbortPrevPagePos = PrevPagePos;
    AbortNextPagePos = NextPagePos;
    CurrentPagePos = out.Position();
    out.WriteByte(scPageHeader);
    out.WriteInt(static_cast<qint32>(PrevPagePos));
    NextPagePos = out.Position();
    out.WriteInt(0);
    out.WriteInt(AbsolutePage);
    out.WriteFloat(XU2I(PageWidth()));
    out.WriteFloat(YU2I(PageHeight()));
    out.WriteByte(static_cast<quint8>(Orientation()));
    out.WriteWord(static_cast<quint16>(devMode ? devMode->DefaultSource : PageHeaderDefaultBin));
    PrevPagePos = CurrentPagePos;
    FPageOpen = true;

    WriteAll = true;
    WriteBrushState();
    WriteFontState();
    WritePenState();
    WriteAll = false;
    out.WriteByte(scScaleX);
    out.WriteFloat(ScaleX());
    out.WriteByte(scScaleY);
    out.WriteFloat(ScaleY());
    out.WriteByte(scTextBKMode);
    out.WriteByte(static_cast<quint8>(TextBKMode()));
    out.WriteByte(scBKColor);
    out.WriteInt(static_cast<qint32>(BKColor()));
    for (TVarEntry &entry : VarList) {
        out.WriteByte(scVariableData);
        out.WriteString(entry.Name);
        if (entry.HeldValue) {
            entry.Position = -out.Position();
            WriteVarDefined(*entry.HeldValue);
            entry.HeldValue.reset();
            continue;
        }
        out.WriteByte(VarReferenceCapacity);
        out.WriteByte(VarKindReference);
        out.WriteInt(static_cast<qint32>(entry.Position));
    }
}

void TFoSnapshotWriter::PageEnd(bool LastPage) {
    if (!FOutput)
        return;
    if (FPageOpen) {
        FOutput->WriteByte(scPageEnd);
        FPageOpen = false;
    }
    if (NextPagePos > 0)
        FOutput->PatchInt(NextPagePos, LastPage ? 0 : static_cast<qint32>(FOutput->Position()));
}

} // namespace fiscora
