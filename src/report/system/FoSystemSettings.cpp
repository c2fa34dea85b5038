#include "report/system/FoSystemSettings.h"

#include "MsgBox.h"
#include "report/canvas/FoBase.h"

#include <QBuffer>

namespace fiscora {

void TSystemPrinter::SetUnits(TPrintUnits value) {
    FUnits = value;
    FUnitsFactor = UnitsFactorOf(value, FUnitsFactor);
}

void TSystemPrinter::SetUnitsFactor(double value) {
    if (!(value > 0.0)) // also refuses NaN
        return;
    FUnitsFactor = value;
    FUnits = UnitsOfFactor(value);
}

void TSystemPrinter::InitPrinter(TBaseReport &report) const {
    // Units first: margins are given in them.
    report.SetUnits(FUnits);
    if (FUnits == TPrintUnits::unUser)
        report.SetUnitsFactor(FUnitsFactor);
    report.SetCopies(Copies);
    report.SetFirstPage(FirstPage);
    report.SetLastPage(LastPage);
    report.SetLineHeightMethod(LineHeightMethod);
    report.SetLinesPerInch(LinesPerInch);
    report.SetMarginLeft(MarginLeft);
    report.SetMarginRight(MarginRight);
    report.SetMarginTop(MarginTop);
    report.SetMarginBottom(MarginBottom);
    report.SetOrientation(Orientation);
    report.SetScaleX(ScaleX);
    report.SetScaleY(ScaleY);
    report.SetStatusFormat(StatusFormat);
    report.StatusText() = StatusText;
    report.SetTabShade(FTabShade);
    report.SetTextBKMode(TextBKMode);
    report.SetTitle(Title);
    if (!report.NoPrinters()) {
        report.SetCollate(Collate);
        report.SetDuplex(Duplex);
    }
}

TSystemPreview::TSystemPreview() : FGridPen(std::make_unique<TFoPen>()) {}

void TSystemPreview::SetMonochrome(bool value) {
    if (value && FShadowDepth > 0) {
        ShowMsgBox(kMsgMonochromeWithShadows, ApplicationTitle(), 0);
        return;
    }
    FMonochrome = value;
}

void TSystemPreview::SetShadowDepth(int value) {
    if (value > 0 && FMonochrome) {
        ShowMsgBox(kMsgShadowsWithMonochrome, ApplicationTitle(), 0);
        return;
    }
    FShadowDepth = value;
}

void TSystemFiler::InitFiler(TFoSnapshotWriter &writer) {
    writer.SetIgnoreRichText(IgnoreRichText);
    writer.SetAccuracyMethod(AccuracyMethod);
    writer.SetFileName(FileName);
    writer.SetStatusFormat(StatusFormat);
    writer.StatusText() = StatusText;
    if (StreamMode == TStreamMode::smMemory) {
        auto memory = std::make_unique<QBuffer>();
        memory->open(QIODevice::ReadWrite);
        FMemoryStream = std::move(memory);
        FStream = FMemoryStream.get();
        writer.SetStreamMode(TStreamMode::smUser);
    } else {
        writer.SetStreamMode(StreamMode);
    }
    writer.SetStream(FStream);
}

void TSystemFiler::FreeMemoryStream() {
    if (FStream == FMemoryStream.get())
        FStream = nullptr;
    FMemoryStream.reset();
}

} // namespace fiscora
