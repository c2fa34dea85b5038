#include "report/playback/FoSnapshotConverter.h"

#include "ScopeExit.h"
#include "report/core/FoErrors.h"
#include "report/core/FoPageSelection.h"
#include "report/playback/FoRender.h"
#include "report/snapshot/FoSnapshotCodes.h"

#include <QSet>

#include <algorithm>

namespace fiscora {

namespace {

// The smallest page record: code, two positions, page number and the page end.
constexpr qint64 MinPageRecordSize = 14;

} // namespace

void TFoConverter::Generate(int APageNo, int /*APageCount*/) {
    FRenderer.Converter = this;
    FReportDateTime = QDateTime::currentDateTime();
    // The renderer's document ends however playback ends; renderers accept it even before DocBegin.
    ScopeExit docEnd([this] { FRenderer.DocEnd(); });
    ReportHeader = ReadSnapshotReportHeader(FReader, FRenderer.ForceAnsi());
    FRenderer.SetPaperBin(ReportHeader.Bin);
    FPageNo = 1;
    FCurrPagePos = FReader.Position();
    FRenderer.DocBegin();
    if (APageNo != 0) {
        GotoPage(APageNo);
        PlayPage();
    } else if (!FRenderer.Selection().isEmpty()) {
        // A stream cannot hold more pages than fit in its bytes, whatever its header claims.
        const qint64 pageLimit =
            std::min<qint64>(ReportHeader.PageCount, FReader.Size() / MinPageRecordSize + 1);
        for (int page = 1; page <= pageLimit; ++page) {
            if (!PageInRange(page))
                continue;
            GotoPage(page);
            if (FPageNo < page && FNextPagePos <= 0)
                break; // past the last page
            PlayPage();
        }
    } else {
        int last = FRenderer.LastPage();
        const int first = FRenderer.FirstPage();
        if (last == LastPageOfAll || last == 0 || (first == 1 && last == ReportHeader.PageCount)) {
            // In stream order, where the n-th page must be page n: a page numbered otherwise would end
            // playback early, or late, without a word.
            for (int page = 1;; ++page) {
                PlayPage(page);
                if (FPageNo >= ReportHeader.PageCount)
                    break;
            }
        } else {
            last = std::min(last, ReportHeader.PageCount);
            GotoPage(first);
            PlayPage();
            while (FPageNo < last)
                PlayPage();
        }
    }
}

bool TFoConverter::PageInRange(int PageNum) const {
    const QString &selection = FRenderer.Selection();
    if (selection.isEmpty())
        return PageNum >= ReportHeader.FirstPage && PageNum <= ReportHeader.LastPage;
    return PageInSelection(selection, PageNum);
}

void TFoConverter::GotoPage(int APageNum) {
    // After the last page the stream is at its end; the walk starts from the page played last.
    if (FCurrPagePos >= FReader.Size() && FPlayedPagePos > 0)
        FCurrPagePos = FPlayedPagePos;
    StartFromPageMark(APageNum);
    FReader.Seek(FCurrPagePos);
    if (APageNum == FPageNo)
        return;
    QSet<qint64> visited;
    auto step = [&](bool backward) {
        const qint64 position = FCurrPagePos;
        if (visited.contains(position))
            RaiseSnapshotError(QStringLiteral("Invalid page chain in report file."));
        visited.insert(position);
        FReader.Seek(position);
        PageHeader = ReadSnapshotPageHeader(FReader, ReportHeader);
        FPageNo = PageHeader.PageNo;
        FPrevPagePos = PageHeader.PrevPagePos;
        FNextPagePos = PageHeader.NextPagePos;
        const qint64 link = backward ? FPrevPagePos : FNextPagePos;
        if (link <= 0 || APageNum == FPageNo) {
            FReader.Seek(position);
            return false;
        }
        FCurrPagePos = link;
        FReader.Seek(link);
        return true;
    };
    while (APageNum < FPageNo && step(true)) {
    }
    while (APageNum > FPageNo && step(false)) {
    }
    FReader.Seek(FCurrPagePos);
}

void TFoConverter::StartFromPageMark(int APageNum) {
    const TFoPageMark mark = FRenderer.NextPage;
    if (mark.PageNo <= FPageNo || mark.PageNo > APageNum)
        return;
    // The mark may be left from another stream: it is taken only where that page's header is.
    try {
        FReader.Seek(mark.Position);
        TFoReportHeader report = ReportHeader;
        if (ReadSnapshotPageHeader(FReader, report).PageNo != mark.PageNo)
            return;
    } catch (const EFolioReport &) {
        return;
    }
    FCurrPagePos = mark.Position;
    FPageNo = mark.PageNo;
}

void TFoConverter::PlayPage(int ExpectedPageNo) {
    FReader.Seek(FCurrPagePos);
    FPlayedPagePos = FCurrPagePos;
    PageHeader = ReadSnapshotPageHeader(FReader, ReportHeader);
    if (ExpectedPageNo != 0 && PageHeader.PageNo != ExpectedPageNo)
        RaiseSnapshotError(QStringLiteral("Page %1 of %2 is missing from the report file.")
                               .arg(ExpectedPageNo)
                               .arg(ReportHeader.PageCount));
    if (ReportHeader.FileVer >= 2000 && !(PlausibleSnapshotSize(PageHeader.PaperWidth, false) &&
                                          PlausibleSnapshotSize(PageHeader.PaperHeight, false)))
        RaiseSnapshotError(QStringLiteral("Invalid page size found in report file."));
    FPageNo = PageHeader.PageNo;
    FPrevPagePos = PageHeader.PrevPagePos;
    FNextPagePos = PageHeader.NextPagePos;
    if (ReportHeader.FileVer >= 2000) {
        FRenderer.snPaperWidth = PageHeader.PaperWidth;
        FRenderer.snPaperHeight = PageHeader.PaperHeight;
    }
    FRenderer.PageBegin();
    for (;;) {
        const quint8 code = FReader.ReadByte();
        if (code == scPageEnd)
            break;
        DispatchRecord(code);
    }
    FRenderer.PageEnd();
    FCurrPagePos = FReader.Position();
    FRenderer.NextPage = FNextPagePos > 0 ? TFoPageMark{FPageNo + 1, FNextPagePos} : TFoPageMark{};
}

} // namespace fiscora
