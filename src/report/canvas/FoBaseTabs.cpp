// Page canvas: tab stops, boxed tab cells and their shading.
#include "ScopeExit.h"
#include "report/canvas/FoBase.h"

#include <algorithm>

namespace fiscora {

namespace {
constexpr int kUseTabSetting = -32768;
}

void TBaseReport::SetTab(double NewPos, TPrintJustify NewJustify, double NewWidth, double NewMargin,
                         int NewLines, int NewShade) {
    TTab tab;
    if (NewPos < 0.0) {
        const TTab *current = GetTab(0);
        tab.Pos = current ? current->Pos + current->Width : FLeftMargin;
    } else {
        tab.Pos = XU2I(NewPos);
    }
    tab.Justify = NewJustify;
    if (NewWidth > 0.0) {
        tab.Width = XU2I(NewWidth);
        tab.Margin = NewMargin / 100.0;
        tab.Left = (NewLines & 1) != 0;
        tab.Right = (NewLines & 2) != 0;
        tab.Top = (NewLines & 4) != 0;
        tab.Bottom = (NewLines & 8) != 0;
        tab.Shade = NewShade;
    }
    if (!FTabList) {
        FTabList = std::make_unique<TTabList>();
        FNoTabVisited = true;
    }
    FTabList->push_back(tab);
    FCurrentTab = int(FTabList->size()) - 1;
}

void TBaseReport::ClearTabs() {
    FTabList.reset();
    FCurrentTab = -1;
    FAtTab = false;
    FNoTabVisited = true;
}

void TBaseReport::ClearAllTabs() {
    ClearTabs();
    FTabStack.clear();
    for (auto &slot : FTabSlots)
        slot.reset();
}

void TBaseReport::ResetTabs() {
    FCurrentTab = -1;
    FAtTab = false;
    FNoTabVisited = true;
}

const TTab *TBaseReport::GetTab(int Index) const {
    if (!FTabList)
        return nullptr;
    const int position = Index == 0 ? FCurrentTab : Index - 1;
    if (position < 0 || position >= int(FTabList->size()))
        return nullptr;
    return &(*FTabList)[std::size_t(position)];
}

double TBaseReport::TabStart(int Index) const {
    const TTab *tab = GetTab(Index);
    return tab ? XI2U(tab->Pos + tab->Margin) : 0.0;
}

double TBaseReport::TabEnd(int Index) const {
    const TTab *tab = GetTab(Index);
    return tab ? XI2U(tab->Pos + tab->Width - tab->Margin) : 0.0;
}

double TBaseReport::TabWidth(int Index) const {
    const TTab *tab = GetTab(Index);
    return tab ? XI2U(tab->Width - 2.0 * tab->Margin) : 0.0;
}

void TBaseReport::SetTabShade(int value) {
    FTabShade = std::clamp(value, 0, 100);
}

void TBaseReport::Tab(int LeftWidth, int RightWidth, int TopWidth, int BottomWidth, int ShadeOverride) {
    const bool valid = BeginOutput();
    if (!FTabList || FTabList->empty()) {
        FAtTab = false;
        return;
    }
    if (FNoTabVisited) {
        FCurrentTab = 0;
        FNoTabVisited = false;
    } else if (FCurrentTab >= 0) {
        ++FCurrentTab;
        if (FCurrentTab >= int(FTabList->size()))
            FCurrentTab = -1;
    }
    if (FCurrentTab < 0) {
        FAtTab = false;
        return;
    }
    FAtTab = true;
    const TTab tab = (*FTabList)[std::size_t(FCurrentTab)];
    const double left = tab.Pos + (FColumnNum - 1) * FColumnWidth;
    FCursorXPos = left;
    if (tab.Width <= 0.0 || !valid)
        return;

    RecomputeLineHeight();
    const double bottom = FCursorYPos + FBaseFont.Descent;
    const double top = bottom - FLineHeight;
    const double right = left + tab.Width;

    int shade = ShadeOverride;
    if (shade == kUseTabSetting) {
        shade = tab.Shade;
        if (shade == 0 && FTabShade > 0)
            shade = FTabShade;
    }
    TFoCanvas &canvas = Canvas();
    if (shade != 0) {
        TFoBrush savedBrush;
        savedBrush.Assign(canvas.Brush());
        TFoPen savedPen;
        savedPen.Assign(canvas.Pen());
        ScopeExit restore([&canvas, &savedBrush, &savedPen, savedBkMode = canvas.BkMode()] {
            canvas.Brush().Assign(savedBrush);
            canvas.Pen().Assign(savedPen);
            canvas.SetBkMode(savedBkMode);
        });
        canvas.SetBkMode(TBKMode::bkTransparent);
        canvas.Brush().SetBitmap(QImage());
        canvas.Brush().SetColor(ShadeToColor(FTabColor, shade));
        canvas.Brush().SetStyle(TBrushStyle::bsSolid);
        canvas.Pen().SetStyle(TPenStyle::psClear);
        EmitTabRectangle(left, top, right, bottom);
    }
    TabBoxLine(LeftWidth, tab.Left, left, bottom, left, bottom - FLineHeight);
    TabBoxLine(RightWidth, tab.Right, right, top, right, top + FLineHeight);
    TabBoxLine(TopWidth, tab.Top, left, top, right, top);
    TabBoxLine(BottomWidth, tab.Bottom, right, bottom, left, bottom);
    EndOutput();
}

void TBaseReport::TabBoxLine(int Width, bool Side, double X1, double Y1, double X2, double Y2) {
    if (Width == 0 || (Width == kUseTabSetting && !Side))
        return;
    TFoCanvas &canvas = Canvas();
    TFoPen saved;
    saved.Assign(canvas.Pen());
    ScopeExit restore([&canvas, &saved] { canvas.Pen().Assign(saved); });
    if (Width != kUseTabSetting)
        SetPen(FBoxLineColor, TPenStyle::psSolid, Width, TPenMode::pmCopy);
    MoveToInches(X1, Y1);
    LineToInches(X2, Y2);
}

void TBaseReport::FinishTabBox(int Width) {
    ResetTabs();
    if (FTabList && !FTabList->empty()) {
        do {
            Tab(0, 0, Width, 0, 0);
        } while (FCurrentTab >= 0);
    }
    ResetTabs();
}

void TBaseReport::PushTabs() {
    FTabStack.push_back(FTabList ? std::make_unique<TTabList>(*FTabList) : nullptr);
}

bool TBaseReport::PopTabs() {
    if (FTabStack.empty())
        return false;
    FTabList = std::move(FTabStack.back());
    FTabStack.pop_back();
    ResetTabs();
    return true;
}

bool TBaseReport::SaveTabs(int Index) {
    if (Index < 1 || Index > 10)
        return false;
    FTabSlots[Index - 1] = FTabList ? std::make_unique<TTabList>(*FTabList) : nullptr;
    return true;
}

bool TBaseReport::RestoreTabs(int Index) {
    if (Index < 1 || Index > 10 || !FTabSlots[Index - 1])
        return false;
    FTabList = std::make_unique<TTabList>(*FTabSlots[Index - 1]);
    ResetTabs();
    return true;
}

} // namespace fiscora
