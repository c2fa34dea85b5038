// Snapshot writer: records of the canvas settings: line height, scale, background, frame mode,
// orientation, bin, hyperlink and the allowed destinations.
#include "report/snapshot/FoFiler.h"

#include "report/snapshot/FoSnapshotCodes.h"

namespace fiscora {

void TFoSnapshotWriter::ResetLineHeight() {
    TBaseReport::ResetLineHeight();
    if (!CanWrite())
        return;
    FOutput->WriteByte(scResetLineHeight);
    FOutput->WriteFloat(AscentHeight());
    FOutput->WriteFloat(DescentHeight());
    FOutput->WriteFloat(YU2I(LineHeight()));
}

void TFoSnapshotWriter::SetScaleX(double percent) {
    TBaseReport::SetScaleX(percent);
    if (CanWrite()) {
        FOutput->WriteByte(scScaleX);
        FOutput->WriteFloat(ScaleX());
    }
}

void TFoSnapshotWriter::SetScaleY(double percent) {
    TBaseReport::SetScaleY(percent);
    if (CanWrite()) {
        FOutput->WriteByte(scScaleY);
        FOutput->WriteFloat(ScaleY());
    }
}

void TFoSnapshotWriter::SetTextBKMode(TBKMode value) {
    TBaseReport::SetTextBKMode(value);
    if (CanWrite()) {
        FOutput->WriteByte(scTextBKMode);
        FOutput->WriteByte(static_cast<quint8>(value));
    }
}

void TFoSnapshotWriter::SetBKColor(TColor value) {
    TBaseReport::SetBKColor(value);
    if (CanWrite()) {
        FOutput->WriteByte(scBKColor);
        FOutput->WriteInt(static_cast<qint32>(Canvas().BkColor()));
    }
}

void TFoSnapshotWriter::SetFrameMode(TFrameMode value) {
    TBaseReport::SetFrameMode(value);
    if (CanWrite()) {
        FOutput->WriteByte(scFrameMode);
        FOutput->WriteByte(static_cast<quint8>(value));
    }
}

void TFoSnapshotWriter::SetOrientation(TOrientation value) {
    TBaseReport::SetOrientation(value);
    if (CanWrite()) {
        FOutput->WriteByte(scOrientation);
        FOutput->WriteByte(static_cast<quint8>(value));
    }
}

bool TFoSnapshotWriter::SelectBin(const QString &BinName) {
    const bool selected = TBaseReport::SelectBin(BinName);
    if (CanWrite()) {
        FOutput->WriteByte(scBin);
        FOutput->WriteString(BinName);
    }
    return selected;
}

void TFoSnapshotWriter::HyperlinkChanged() {
    // Not subject to the allowed destinations, but there must be a page to hold the record.
    if (FOutput && Printing() && FPageOpen && !FHoldOutput && !PageInvalid()) {
        FOutput->WriteByte(scHyperlink);
        FOutput->WriteString(HyperLink());
    }
}

void TFoSnapshotWriter::AllowPreviewOnly() {
    TBaseReport::AllowPreviewOnly();
    if (AllowMode != scAllowPreviewOnly && CanWrite()) {
        FOutput->WriteByte(scAllowPreviewOnly);
        AllowMode = scAllowPreviewOnly;
    }
}

void TFoSnapshotWriter::AllowPrinterOnly() {
    TBaseReport::AllowPrinterOnly();
    if (AllowMode != scAllowPrinterOnly && CanWrite()) {
        FOutput->WriteByte(scAllowPrinterOnly);
        AllowMode = scAllowPrinterOnly;
    }
}

void TFoSnapshotWriter::AllowAll() {
    TBaseReport::AllowAll();
    if (AllowMode != scAllowAll && CanWrite()) {
        FOutput->WriteByte(scAllowAll);
        AllowMode = scAllowAll;
    }
}

} // namespace fiscora
