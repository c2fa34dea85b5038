#pragma once

#include "TemplateModel.h"
#include "TemplateText.h"
#include "report/system/FoDataSet.h"
#include "report/system/FoProjectParams.h"

#include <map>
#include <optional>
#include <vector>

namespace fiscora {

class TBaseReport;

// Lays one report's pages out on the page canvas, in inches. Bands flow down each page: the page
// header on top of every sheet, then title, detail header, detail rows and summary in their order,
// breaking onto new sheets as needed (the detail header repeats above continued rows), and the
// page footer at the bottom of every sheet. Detail bands and groups bound to a data set repeat for
// its rows; a group's rows scope the data sets named inside it (a row's own sets among them).
class TemplateLayout {
public:
    TemplateLayout(const TemplateReport &report, const TFoParams &params, const TFoDataSets &dataSets = {});

    // Before the job starts: paper and orientation of the first page.
    void BeforePrint(TBaseReport &canvas) const;
    void Print(TBaseReport &canvas);

private:
    void PrintPageTemplate(const TemplatePage &page);
    void PrintFlowBand(const std::vector<TemplateBand> &bands, std::size_t index);
    void PrintDetail(const TemplateBand &band);
    void PrintDataDetail(const TemplateBand &band);
    void PrintGroup(const TemplateBand &group);
    void BreakSheet();
    void StartSheet();
    void EndSheet();
    void EnsureRoom(double height);
    double ContentBottom() const;
    double PageHeightOf(const TemplatePage &page) const;
    const TemplateBand *FindBand(BandKind kind);

    // A data set in scope: the set a row being printed belongs to, a set of such a row, or one the
    // report was given; row is the current row's index in it, or -1.
    struct DataSetScope {
        QString name;
        const TFoDataSet *set = nullptr;
        int row = -1;
    };
    DataSetScope FindDataSet(const QString &name) const;
    QString DataSetValue(const TextPiece &piece);
    std::size_t RowCountOf(const TemplateBand &detail) const;

    bool IsVisible(const QString &when, int row);
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
    const TFoDataSets FDataSets;
    std::vector<DataSetScope> FScopes; // innermost last
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
    std::map<QString, TextPiece> FParsedWhens;
    std::map<std::pair<const TFoDataSet *, QString>, QString> FTotals; // data sets do not change in a run
};

} // namespace fiscora
