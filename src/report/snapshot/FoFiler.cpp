// Snapshot writer: the job: start, new and aborted pages, finish.
#include "report/snapshot/FoFiler.h"

#include "ScopeExit.h"
#include "report/snapshot/FoSnapshotCodes.h"
#include "report/core/FoOutputFileTarget.h"

#include <cstdlib>

namespace fiscora {

TFoSnapshotWriter::TFoSnapshotWriter() = default;

TFoSnapshotWriter::~TFoSnapshotWriter() {
    // A job left open by an exception still releases its output here.
    FOutput.reset();
    FOwnedStream.reset();
    FFileTarget.reset();
}

void TFoSnapshotWriter::Start() {
    CheckNotPrinting();
    SetReportDateTime(QDateTime::currentDateTime());
    AllowMode = scAllowAll;
    SetCurrentPage(0);
    AbsolutePage = 0;
    PrevPagePos = NextPagePos = SaveJobPos = CurrentPagePos = 0;
    SetJobPages(0);
    VarList.clear();
    GraphicPos.fill(0);
    LastGraphicPos = ReuseGraphicPos = 0;
    WrittenImages.clear();
    FPageOpen = false;
    SetAborted(false);
    if (OnBeforePrint)
        OnBeforePrint(*this);

    OpenOutput();
    {
        // The caller's Finish does not run when Start fails: release the output here.
        ScopeFailure release([this] { ReleaseJob(); });
        FOutput = std::make_unique<TFoSnapshotOutput>(*OutputStream);
        FHoldOutput = false;
        PrepareDevice();
        SetPrinting(true);
        WriteReportHeader();
        SetHoldOutput(true);
        HookDeviceCanvas();
        ResetForJob();
        const bool valid = StartFirstPage();
        if (valid)
            ++AbsolutePage;
        SetHoldOutput(false);
        if (valid)
            WritePageStart();
    }
    if (!Aborted()) {
        RunBeginPageEvents();
        if (OnNewPage)
            OnNewPage(*this);
        if (OnPrintHeader)
            OnPrintHeader(*this);
    }
}

void TFoSnapshotWriter::NewPage() {
    if (OnPrintFooter)
        OnPrintFooter(*this);
    RunEndPageEvents();
    PageEnd(false);
    SetHoldOutput(true);
    TBaseReport::NewPage();
    if (!NoPrinters())
        ReadDeviceMetrics();
    SetHoldOutput(false);
    if (!PageInvalid()) {
        ++AbsolutePage; // the canvas has counted the page in JobPages
        WritePageStart();
        if (OnRenderPage && FOutput) {
            const qint64 resume = FOutput->Position();
            FOutput->Seek(0);
            OnRenderPage(*this);
            FOutput->Seek(resume);
        }
    }
    RunBeginPageEvents();
    if (OnNewPage)
        OnNewPage(*this);
    if (Columns() > 1 && OnNewColumn)
        OnNewColumn(*this, 1);
    if (OnPrintHeader)
        OnPrintHeader(*this);
}

void TFoSnapshotWriter::AbortPage() {
    const bool wasOpen = FPageOpen && !PageInvalid();
    TBaseReport::AbortPage();
    if (!wasOpen || !FOutput)
        return;
    // The next page overwrites this one; the chain and everything recorded on it are undone.
    FOutput->Seek(CurrentPagePos);
    FPageOpen = false;
    PrevPagePos = AbortPrevPagePos;
    NextPagePos = AbortNextPagePos;
    --AbsolutePage; // the canvas has taken it off JobPages
    std::erase_if(VarList,
                  [this](const TVarEntry &entry) { return std::abs(entry.Position) >= CurrentPagePos; });
    for (auto &slot : GraphicPos)
        if (slot >= CurrentPagePos)
            slot = 0;
    if (LastGraphicPos >= CurrentPagePos)
        LastGraphicPos = 0;
    if (ReuseGraphicPos >= CurrentPagePos)
        ReuseGraphicPos = 0;
    std::erase_if(WrittenImages, [this](const auto &entry) { return entry.second >= CurrentPagePos; });
}

void TFoSnapshotWriter::ReleaseJob() {
    FOutput.reset();
    FOwnedStream.reset();
    FFileTarget.reset();
    OutputStream = nullptr;
    FPageOpen = false;
    UnhookDeviceCanvas();
    ReleaseFontCache();
    ClearLineBuffers();
    ReleaseDevice();
    SetPrinting(false);
}

void TFoSnapshotWriter::Finish() {
    {
        // Releases the job's resources however Finish ends.
        ScopeExit release([this] { ReleaseJob(); });
        if (!FOutput)
            return; // Start failed before the output was open
        if (!Aborted()) {
            if (OnPrintFooter)
                OnPrintFooter(*this);
            RunEndPageEvents();
        }
        SetHoldOutput(false);
        PageEnd(true);
        if (SaveJobPos > 0)
            FOutput->PatchInt(SaveJobPos, JobPages());
        // An aborted page longer than the one that replaced it would leave its tail behind.
        FOutput->TruncateHere();
        CloseOutput();
    }
    if (OnAfterPrint)
        OnAfterPrint(*this);
}

} // namespace fiscora
