#pragma once

#include "TemplateModel.h"
#include "TemplateText.h"
#include "report/system/FoProjectParams.h"

#include <map>
#include <optional>
#include <vector>

namespace fiscora {

class TBaseReport;

// Lays one report's pages out on the page canvas, in inches. Bands flow down each page: the page
// header on top of every sheet, then title, detail header, detail rows and summary in their order,
// breaking onto new sheets as needed (the detail header repeats above continued rows), and the
// page footer at the bottom of every sheet.
class TemplateLayout {
public:
    TemplateLayout(const TemplateReport &report, const TFoParams &params);

    // Before the job starts: paper and orientation of the first page.
    void BeforePrint(TBaseReport &canvas) const;
    void Print(TBaseReport &canvas);

private:
    void PrintPageTemplate(const TemplatePage &page);
    void PrintFlowBand(const std::vector<TemplateBand> &bands, std::size_t index);
    void PrintDetail(const TemplateBand &band);
    void StartSheet();
    void EndSheet();
    void EnsureRoom(double height);
    double ContentBottom() const;
    double PageHeightOf(const TemplatePage &page) const;
    const TemplateBand *FindBand(BandKind kind) const;

    bool IsVisible(const QString &when, int row) const;
    void PrintBand(const TemplateBand &band, double top, int row);
    void DrawComponent(const TemplateComponent &component, double top, int row);
    void DrawText(const TemplateComponent &component, const QString &text, double top);
    void DrawMemo(const TemplateComponent &component, const QString &text, double top);
    void DrawLine(const TemplateComponent &component, double top);
    void DrawRectangle(const TemplateComponent &component, double top);
    void DrawPicture(const TemplateComponent &component, double top);
    void ApplyFont(const TemplateFont &font);
    void ApplyPen(double points, std::uint32_t color);
    QString Expand(const TemplateComponent &component, int row);
    static void ApplyPaper(TBaseReport &canvas, const TemplatePage &page);

    const TemplateReport &FReport;
    const TFoParams &FParams;
    TBaseReport *FCanvas = nullptr;
    const TemplatePage *FPage = nullptr;
    const TemplateBand *FPageHeader = nullptr; // of FPage, when it has a visible one
    const TemplateBand *FPageFooter = nullptr;
    double FY = 0;        // top of the next band, inches from the page top
    double FSheetTop = 0; // where the flow starts on the current sheet
    const TemplateBand *FRepeatHeader = nullptr;
    int FRowCount = 0; // rows of the current or last detail band
    std::optional<TemplateFont> FAppliedFont;
    std::map<const TemplateComponent *, std::vector<TextPiece>> FParsedTexts;
};

} // namespace fiscora
