// Page canvas: job control: output checks, execution, paging, aborting, the page events and the
// status text.
#include "report/canvas/FoBase.h"

#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/core/FoStatusFormat.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>

namespace fiscora {

namespace {
// Pending window messages are let through at most this often, so that a status window stays
// responsive without slowing down generation.
constexpr qint64 kEventPumpIntervalMs = 40;

QElapsedTimer &PumpClock() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock;
}
} // namespace

// ---- Job control --------------------------------------------------------------------------

void TBaseReport::CheckPrinting() const {
    if (!FPrinting)
        throw EFolioReport(kMsgNotPrinting);
}

void TBaseReport::CheckNotPrinting() const {
    if (FPrinting)
        throw EFolioReport(kMsgAlreadyPrinting);
}

bool TBaseReport::OutputValid() const {
    const int kind = OutputKind();
    return !FPageInvalid && kind <= 7 && (FValidDestination & (1 << kind)) != 0;
}

bool TBaseReport::BeginOutput() {
    CheckPrinting();
    if (FAborted)
        throw EAbort();
    return OutputValid();
}

void TBaseReport::EndOutput() {
    if (FThreaded || !QCoreApplication::instance())
        return;
    const qint64 now = PumpClock().elapsed();
    if (now - FLastEventPump >= kEventPumpIntervalMs) {
        FLastEventPump = now;
        QCoreApplication::processEvents();
    }
}

void TBaseReport::Execute() {
    ApplyOrientation();
    Start();
    // After an error the first error is the one worth reporting, not one of Finish.
    ScopeExit finish([this] { Finish(); });
    if (OnPrint || !OnPrintPage) {
        if (OnPrint)
            OnPrint(*this);
    } else {
        int pageNum = 1;
        while (OnPrintPage(*this, pageNum) && !FAborted) {
            NewPage();
            ++pageNum;
        }
    }
}

void TBaseReport::NewPage() {
    // A range to the end stops at page 9999, as stored snapshots have it: the pages after it would be
    // lost without a word.
    if (FCurrentPage >= LastPageOfAll && FLastPage == LastPageOfAll && FSelection.isEmpty() && !FAborted)
        throw EFolioReport(QStringLiteral("The report has more than %1 pages. Choose a page range to "
                                          "output the pages after page %1.")
                               .arg(LastPageOfAll));
    ApplyOrientation();
    ++FCurrentPage;
    UpdateStatus();
    FPageInvalid = !(PageSelected(FCurrentPage) && !FAborted);
    if (!FPageInvalid)
        ++FJobPages;
    FOriginX = 0.0;
    FOriginY = 0.0;
    ResetTabs();
    ApplyMargins();
    ResetSection();
    Home();
}

bool TBaseReport::StartFirstPage() {
    FCurrentPage = 1;
    FPageInvalid = !(PageSelected(1) && !FAborted);
    if (!FPageInvalid)
        ++FJobPages;
    UpdateStatus();
    return !FPageInvalid;
}

void TBaseReport::AbortPage() {
    if (FPageInvalid)
        return;
    FPageInvalid = true;
    --FCurrentPage;
    // The page will not be output, so it no longer counts.
    --FJobPages;
}

void TBaseReport::Abort() {
    FAborted = true;
    FPageInvalid = true;
}

void TBaseReport::Reset() {
    ResetForJob();
    ClearTabs();
}

void TBaseReport::ResetForJob() {
    SetBrush(clBlack, TBrushStyle::bsClear, nullptr);
    SetPen(clBlack, TPenStyle::psSolid, 1, TPenMode::pmCopy);
    FOriginX = 0.0;
    FOriginY = 0.0;
    ResetSection();
    ClearColumns();
    ResetTabs();
    Home();
    FTabJustify = TTabJustify::tjNone;
}

void TBaseReport::ResetPrinter() {
    CheckNotPrinting();
    ReadDeviceMetrics();
    ApplyMargins();
    ResetSection();
}

int TBaseReport::AddReportEvent(TReportEventType ReportEventType, TReportNotify ReportEvent) {
    const int id = FNextReportEventId++;
    FReportEvents.push_back({ReportEventType, id, std::move(ReportEvent)});
    return id;
}

void TBaseReport::RemoveReportEvent(TReportEventType ReportEventType, int Id) {
    const auto found = std::find_if(FReportEvents.begin(), FReportEvents.end(), [&](const auto &entry) {
        return entry.Type == ReportEventType && entry.Id == Id;
    });
    if (found != FReportEvents.end())
        FReportEvents.erase(found);
}

void TBaseReport::RunBeginPageEvents() {
    // A callback may add or remove entries, so walk by index over a snapshot of the count.
    for (std::size_t i = 0; i < FReportEvents.size(); ++i)
        if (FReportEvents[i].Type == TReportEventType::reBeginPage && FReportEvents[i].Event)
            FReportEvents[i].Event(*this);
}

void TBaseReport::RunEndPageEvents() {
    for (std::size_t i = 0; i < FReportEvents.size(); ++i)
        if (FReportEvents[i].Type == TReportEventType::reEndPage && FReportEvents[i].Event)
            FReportEvents[i].Event(*this);
    DrawBufferedLines();
}

// ---- Status ---------------------------------------------------------------------------------

QString TBaseReport::FormatStatus() {
    TFoStatusValues values;
    values.Lines = FStatusText;
    values.CurrentPass = FCurrentPass;
    values.TotalPasses = FTotalPasses;
    values.FirstPage = FFirstPage;
    values.LastPage = FLastPage;
    values.CurrentPage = FCurrentPage;
    values.DeviceName = DeviceName();
    values.DriverName = DriverName();
    values.Port = Port();
    return FormatStatusText(FStatusFormat, values);
}

void TBaseReport::UpdateStatus() {
    if (StatusLabel)
        StatusLabel(FormatStatus());
}

} // namespace fiscora
