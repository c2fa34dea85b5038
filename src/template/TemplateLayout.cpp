#include "TemplateLayout.h"

#include "TemplateAmount.h"
#include "TemplateMemo.h"
#include "report/canvas/FoBase.h"

#include <cmath>

namespace fiscora {
namespace {

constexpr double Tolerance = 1e-9;

// SetPen width argument for a width in points: negative values below -10000 are ten-thousandths of an inch.
int PenWidthArgument(double points) {
    const int tenThousandths = std::max(1, static_cast<int>(std::lround(points / 72.0 * 10000.0)));
    return -(10000 + tenThousandths);
}

} // namespace

TemplateLayout::TemplateLayout(const TemplateReport &report, const TFoParams &params,
                               const TFoDataSets &dataSets)
    : FReport(report), FParams(params), FDataSets(dataSets) {}

void TemplateLayout::ApplyPaper(TBaseReport &canvas, const TemplatePage &page) {
    // The canvas swaps the printer-less page size when the orientation changes, so the size is given
    // in the orientation the canvas has now.
    const bool landscapeNow = canvas.Orientation() == TOrientation::poLandScape;
    canvas.SetNoPrinterPageWidth(landscapeNow ? page.paperHeight : page.paperWidth);
    canvas.SetNoPrinterPageHeight(landscapeNow ? page.paperWidth : page.paperHeight);
    canvas.SetOrientation(page.orientation == TemplateOrientation::Landscape ? TOrientation::poLandScape
                                                                             : TOrientation::poPortrait);
}

void TemplateLayout::BeforePrint(TBaseReport &canvas) const {
    if (!FReport.pages.empty())
        ApplyPaper(canvas, FReport.pages.front());
}

void TemplateLayout::Print(TBaseReport &canvas) {
    FCanvas = &canvas;
    FAppliedFont.reset();
    FRowCount = 0;
    for (std::size_t index = 0; index < FReport.pages.size(); ++index) {
        const TemplatePage &page = FReport.pages[index];
        if (index > 0) {
            EndSheet();
            ApplyPaper(canvas, page);
            canvas.NewPage();
        }
        PrintPageTemplate(page);
    }
    if (FPage)
        EndSheet();
    FCanvas = nullptr;
    FPage = nullptr;
    FPageHeader = FPageFooter = nullptr;
}

double TemplateLayout::PageHeightOf(const TemplatePage &page) const {
    return page.orientation == TemplateOrientation::Landscape ? page.paperWidth : page.paperHeight;
}

const TemplateBand *TemplateLayout::FindBand(BandKind kind) {
    for (const auto &band : FPage->bands)
        if (band.kind == kind && IsVisible(band.when, 0))
            return &band;
    return nullptr;
}

double TemplateLayout::ContentBottom() const {
    return PageHeightOf(*FPage) - FPage->marginBottom - (FPageFooter ? FPageFooter->height : 0);
}

void TemplateLayout::PrintPageTemplate(const TemplatePage &page) {
    FPage = &page;
    // Looked up once per page template: every band asks where the footer begins.
    FPageHeader = FindBand(BandKind::PageHeader);
    FPageFooter = FindBand(BandKind::PageFooter);
    FRepeatHeader = nullptr;
    FCanvas->SetMarginLeft(page.marginLeft);
    FCanvas->SetMarginRight(page.marginRight);
    FCanvas->SetMarginTop(page.marginTop);
    FCanvas->SetMarginBottom(page.marginBottom);
    StartSheet();
    for (std::size_t index = 0; index < page.bands.size(); ++index)
        PrintFlowBand(page.bands, index);
}

void TemplateLayout::StartSheet() {
    FY = FPage->marginTop;
    if (FPageHeader) {
        PrintBand(*FPageHeader, FY, 0);
        FY += FPageHeader->height;
    }
    if (FRepeatHeader) {
        PrintBand(*FRepeatHeader, FY, 0);
        FY += FRepeatHeader->height;
    }
    // Whatever comes next is the first thing on this sheet and is printed even if it does not fit.
    FSheetTop = FY;
}

void TemplateLayout::EndSheet() {
    if (FPageFooter)
        PrintBand(*FPageFooter, ContentBottom(), 0);
}

void TemplateLayout::EnsureRoom(double height) {
    // A band taller than an empty sheet is printed anyway rather than breaking forever.
    if (FY + height <= ContentBottom() + Tolerance || FY <= FSheetTop + Tolerance)
        return;
    EndSheet();
    FCanvas->NewPage();
    StartSheet();
}

void TemplateLayout::PrintFlowBand(const std::vector<TemplateBand> &bands, std::size_t index) {
    const TemplateBand &band = bands[index];
    if (!IsVisible(band.when, 0))
        return;
    switch (band.kind) {
    case BandKind::PageHeader:
    case BandKind::PageFooter:
        return;
    case BandKind::Detail:
        if (band.data.isEmpty())
            PrintDetail(band);
        else
            PrintDataDetail(band);
        FRepeatHeader = nullptr;
        return;
    case BandKind::Group:
        PrintGroup(band);
        return;
    case BandKind::DetailHeader: {
        const TemplateBand *detail = index + 1 < bands.size() && bands[index + 1].kind == BandKind::Detail
                                         ? &bands[index + 1]
                                         : nullptr;
        if (detail && RowCountOf(*detail) == 0)
            return; // no rows: no header either
        EnsureRoom(band.height + (detail ? detail->height : 0));
        // A header at the top of a sheet keeps its first row with it, even one that does not fit.
        const bool atSheetTop = FY <= FSheetTop + Tolerance;
        PrintBand(band, FY, 0);
        FY += band.height;
        if (atSheetTop)
            FSheetTop = FY;
        if (detail)
            FRepeatHeader = &band;
        return;
    }
    case BandKind::Title:
    case BandKind::Summary:
        EnsureRoom(band.height);
        PrintBand(band, FY, 0);
        FY += band.height;
        return;
    }
}

void TemplateLayout::PrintDetail(const TemplateBand &band) {
    FRowCount = 0;
    while (FParams.IsSet(RowParamName(band.repeat, FRowCount + 1)))
        ++FRowCount;
    for (int row = 1; row <= FRowCount; ++row) {
        EnsureRoom(band.height);
        PrintBand(band, FY, row);
        FY += band.height;
    }
}

std::size_t TemplateLayout::RowCountOf(const TemplateBand &detail) const {
    if (!detail.data.isEmpty()) {
        const DataSetScope scope = FindDataSet(detail.data);
        return scope.set ? scope.set->RowCount() : 0;
    }
    return FParams.IsSet(RowParamName(detail.repeat, 1)) ? 1 : 0;
}

void TemplateLayout::BreakSheet() {
    if (FY <= FSheetTop + Tolerance)
        return;
    EndSheet();
    FCanvas->NewPage();
    StartSheet();
}

void TemplateLayout::PrintDataDetail(const TemplateBand &band) {
    const DataSetScope scope = FindDataSet(band.data);
    const std::size_t rows = scope.set ? scope.set->RowCount() : 0;
    FScopes.push_back({band.data, scope.set, -1});
    for (std::size_t row = 0; row < rows; ++row) {
        FScopes.back().row = static_cast<int>(row);
        EnsureRoom(band.height);
        PrintBand(band, FY, static_cast<int>(row) + 1);
        FY += band.height;
    }
    FScopes.pop_back();
}

void TemplateLayout::PrintGroup(const TemplateBand &group) {
    const DataSetScope scope = FindDataSet(group.data);
    const std::size_t rows = scope.set ? scope.set->RowCount() : 0;
    for (std::size_t row = 0; row < rows; ++row) {
        if (group.newPage)
            BreakSheet();
        FScopes.push_back({group.data, scope.set, static_cast<int>(row)});
        for (std::size_t index = 0; index < group.bands.size(); ++index)
            PrintFlowBand(group.bands, index);
        FScopes.pop_back();
        FRepeatHeader = nullptr;
    }
}

TemplateLayout::DataSetScope TemplateLayout::FindDataSet(const QString &name) const {
    for (auto scope = FScopes.rbegin(); scope != FScopes.rend(); ++scope) {
        if (scope->name.compare(name, Qt::CaseInsensitive) == 0)
            return *scope;
        if (scope->set && scope->row >= 0)
            if (const TFoDataSet *child = scope->set->Child(static_cast<std::size_t>(scope->row), name))
                return {name, child, -1};
    }
    return {name, FDataSets.Find(name), -1};
}

QString TemplateLayout::DataSetValue(const TextPiece &piece) {
    const DataSetScope scope = FindDataSet(piece.text);
    if (!scope.set)
        return piece.kind == TextPiece::Kind::SetRows ? QStringLiteral("0") : QString();
    switch (piece.kind) {
    case TextPiece::Kind::Field:
        return scope.row < 0 ? QString() : scope.set->Value(static_cast<std::size_t>(scope.row), piece.field);
    case TextPiece::Kind::SetRow:
        return scope.row < 0 ? QString() : QString::number(scope.row + 1);
    case TextPiece::Kind::SetRows:
        return QString::number(scope.set->RowCount());
    case TextPiece::Kind::SetSum: {
        const auto key = std::make_pair(scope.set, piece.field.toCaseFolded());
        auto total = FTotals.find(key);
        if (total == FTotals.end()) {
            AmountTotal sum;
            const int field = scope.set->FieldIndex(piece.field);
            for (std::size_t row = 0; row < scope.set->RowCount(); ++row)
                if (const auto amount = ParseAmountText(scope.set->Value(row, field)))
                    sum.Add(*amount);
            total = FTotals.emplace(key, sum.Text()).first;
        }
        return total->second;
    }
    default:
        return QString();
    }
}

bool TemplateLayout::IsVisible(const QString &when, int row) {
    if (when.isEmpty())
        return true;
    if (!when.startsWith(u'$'))
        return FParams.IsSet(RowParamName(when, row, FRowCount));
    auto parsed = FParsedWhens.find(when);
    if (parsed == FParsedWhens.end())
        parsed = FParsedWhens.emplace(when, ParseDataSetReference(when, true)).first;
    if (parsed->second.kind == TextPiece::Kind::SetRows) {
        const DataSetScope scope = FindDataSet(parsed->second.text);
        return scope.set && scope.set->RowCount() > 0;
    }
    return !DataSetValue(parsed->second).isEmpty();
}

void TemplateLayout::PrintBand(const TemplateBand &band, double top, int row) {
    for (const auto &component : band.components)
        if (IsVisible(component.when, row))
            DrawComponent(component, top, row);
}

QString TemplateLayout::Expand(const TemplateComponent &component, int row) {
    auto parsed = FParsedTexts.find(&component);
    if (parsed == FParsedTexts.end())
        parsed = FParsedTexts.emplace(&component, ParseTemplateText(component.text)).first;
    TextValues values;
    values.param = [this](const QString &name) { return FParams.GetParam(name); };
    values.macro = [this](TMacroID id) { return FCanvas->Macro(id); };
    values.dataSet = [this](const TextPiece &piece) { return DataSetValue(piece); };
    values.row = row;
    values.rowCount = FRowCount;
    return ExpandTemplateText(parsed->second, values);
}

void TemplateLayout::DrawComponent(const TemplateComponent &component, double top, int row) {
    switch (component.kind) {
    case ComponentKind::Text:
        DrawText(component, component.text, top);
        break;
    case ComponentKind::DataText:
        DrawText(component, Expand(component, row), top);
        break;
    case ComponentKind::Memo:
        DrawMemo(component, Expand(component, row), top);
        break;
    case ComponentKind::Line:
        DrawLine(component, top);
        break;
    case ComponentKind::Rectangle:
        DrawRectangle(component, top);
        break;
    case ComponentKind::Picture:
        DrawPicture(component, top);
        break;
    }
}

void TemplateLayout::ApplyFont(const TemplateFont &font) {
    if (FAppliedFont == font)
        return;
    // Only what differs: every change becomes a record in the snapshot.
    if (!FAppliedFont) {
        FCanvas->SetFont(font.name, font.size);
    } else {
        if (FCanvas->FontName() != font.name)
            FCanvas->SetFontName(font.name);
        if (FCanvas->FontSize() != font.size)
            FCanvas->SetFontSize(font.size);
    }
    if (FCanvas->Bold() != font.bold)
        FCanvas->SetBold(font.bold);
    if (FCanvas->Italic() != font.italic)
        FCanvas->SetItalic(font.italic);
    if (FCanvas->Underline() != font.underline)
        FCanvas->SetUnderline(font.underline);
    if (FCanvas->FontColor() != font.color)
        FCanvas->SetFontColor(font.color);
    FAppliedFont = font;
}

void TemplateLayout::ApplyPen(double points, std::uint32_t color) {
    if (points <= 0)
        FCanvas->SetPen(color, TPenStyle::psClear, 0, TPenMode::pmCopy);
    else
        FCanvas->SetPen(color, TPenStyle::psSolid, PenWidthArgument(points), TPenMode::pmCopy);
}

void TemplateLayout::DrawText(const TemplateComponent &component, const QString &text, double top) {
    if (text.isEmpty())
        return;
    ApplyFont(component.font);
    FCanvas->SetYPos(top + component.y);
    const double x = FPage->marginLeft + component.x;
    switch (component.align) {
    case TemplateAlign::Left:
        FCanvas->PrintLeft(text, x);
        break;
    case TemplateAlign::Center:
        FCanvas->PrintCenter(text, x);
        break;
    case TemplateAlign::Right:
        FCanvas->PrintRight(text, x);
        break;
    }
}

void TemplateLayout::DrawMemo(const TemplateComponent &component, const QString &text, double top) {
    const double left = FPage->marginLeft + component.x;
    const double boxTop = top + component.y;
    if (component.border) {
        ApplyPen(component.pen, component.font.color);
        FCanvas->SetBrush(clWhite, TBrushStyle::bsClear);
        FCanvas->Rectangle(left, boxTop, left + component.width, boxTop + component.height);
    }
    ApplyFont(component.font);
    // Inside a frame the text keeps clear of the lines.
    const double inset = component.border ? 0.05 : 0;
    const double width = component.width - 2 * inset;
    const double lineHeight = component.font.size * 1.2 / 72.0;
    const QStringList lines = WrapMemoText(
        text, width, [this](const QString &line) { return line.isEmpty() ? 0.0 : FCanvas->TextWidth(line); });
    double baseline = boxTop + inset + FCanvas->AscentHeight();
    for (const QString &line : lines) {
        if (baseline + FCanvas->DescentHeight() > boxTop + component.height - inset + Tolerance)
            break;
        if (!line.isEmpty()) {
            FCanvas->SetYPos(baseline);
            switch (component.align) {
            case TemplateAlign::Left:
                FCanvas->PrintLeft(line, left + inset);
                break;
            case TemplateAlign::Center:
                FCanvas->PrintCenter(line, left + component.width / 2);
                break;
            case TemplateAlign::Right:
                FCanvas->PrintRight(line, left + component.width - inset);
                break;
            }
        }
        baseline += lineHeight;
    }
}

void TemplateLayout::DrawLine(const TemplateComponent &component, double top) {
    if (component.pen <= 0)
        return;
    ApplyPen(component.pen, component.penColor);
    FCanvas->MoveTo(FPage->marginLeft + component.x, top + component.y);
    FCanvas->LineTo(FPage->marginLeft + component.x2, top + component.y2);
}

void TemplateLayout::DrawRectangle(const TemplateComponent &component, double top) {
    ApplyPen(component.pen, component.penColor);
    FCanvas->SetBrush(component.fillColor, component.filled ? TBrushStyle::bsSolid : TBrushStyle::bsClear);
    const double left = FPage->marginLeft + component.x;
    const double boxTop = top + component.y;
    FCanvas->Rectangle(left, boxTop, left + component.width, boxTop + component.height);
}

void TemplateLayout::DrawPicture(const TemplateComponent &component, double top) {
    const double left = FPage->marginLeft + component.x;
    const double boxTop = top + component.y;
    FCanvas->PrintBitmapRect(left, boxTop, left + component.width, boxTop + component.height,
                             component.image);
}

} // namespace fiscora
