// Page canvas: the cursor: line height, line-relative positions, line and column flow, saved positions.
#include "report/canvas/FoBase.h"

#include <algorithm>
#include <cmath>

namespace fiscora {

namespace {
// Guards against a quotient such as 2.9999999 lines truncating to 2.
constexpr double kTruncEpsilon = 1e-7;

int TruncLines(double value) {
    return int(std::floor(value + kTruncEpsilon));
}
} // namespace

// ---- Lines and columns --------------------------------------------------------------------

void TBaseReport::SetLinesPerInch(double value) {
    if (value > 0.0)
        FLinesPerInch = value;
}

double TBaseReport::LineHeightInches() {
    switch (FLineHeightMethod) {
    case TLineHeightMethod::lhmLinesPerInch:
        FLineHeight = 1.0 / FLinesPerInch;
        break;
    case TLineHeightMethod::lhmFont:
        FLineHeight = FBaseFont.Size / 60.0;
        break;
    case TLineHeightMethod::lhmUser:
        break;
    }
    return FLineHeight;
}

double TBaseReport::LineHeight() {
    return YI2U(LineHeightInches());
}

void TBaseReport::SetLineHeight(double value) {
    FLineHeight = YU2I(value);
    FLineHeightMethod = TLineHeightMethod::lhmUser;
}

void TBaseReport::RecomputeLineHeight() {
    SelectFont();
    LineHeightInches();
}

void TBaseReport::ResetLineHeight() {
    if (FPrinting)
        RecomputeLineHeight();
}

double TBaseReport::AscentHeight() {
    SelectFont();
    return FBaseFont.Ascent;
}

double TBaseReport::DescentHeight() {
    SelectFont();
    return FBaseFont.Descent;
}

double TBaseReport::FontTop() {
    return YI2U(FCursorYPos - FBaseFont.Ascent);
}
double TBaseReport::FontBottom() {
    return YI2U(FCursorYPos + FBaseFont.Descent);
}
double TBaseReport::LineTop() {
    return YI2U(FCursorYPos + FBaseFont.Descent - FLineHeight);
}
double TBaseReport::LineMiddle() {
    return YI2U(FCursorYPos + FBaseFont.Descent - FLineHeight / 2.0);
}

void TBaseReport::SetFontTop(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) + FBaseFont.Ascent;
}

void TBaseReport::SetFontBaseline(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value);
}

void TBaseReport::SetFontBottom(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) - FBaseFont.Descent;
}

void TBaseReport::SetLineTop(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) + FLineHeight - FBaseFont.Descent;
}

void TBaseReport::SetLineMiddle(double value) {
    RecomputeLineHeight();
    FCursorYPos = YU2I(value) + FLineHeight / 2.0 - FBaseFont.Descent;
}

void TBaseReport::AdjustLine() {
    SetLineTop(LineTop());
}

double TBaseReport::LineStartInches() const {
    return FSectionLeft + (FColumnNum - 1) * FColumnWidth;
}

double TBaseReport::LineStartPos() const {
    return XI2U(LineStartInches());
}

double TBaseReport::ColumnWidth() const {
    return XI2U(FColumnWidth - FColumnBetween);
}

double TBaseReport::ColumnEnd() const {
    return XI2U(LineStartInches() + FColumnWidth - FColumnBetween);
}

void TBaseReport::SetLineNum(int value) {
    RecomputeLineHeight();
    ResetTabs();
    FLineNum = value;
    FCursorXPos = LineStartInches();
    FCursorYPos = FSectionTop + FLineHeight * value - FBaseFont.Descent;
}

void TBaseReport::SetColumnNum(int value) {
    FColumnNum = std::max(1, value);
    FCursorXPos = LineStartInches();
    ResetTabs();
}

void TBaseReport::GotoXY(double NewXPos, double NewYPos) {
    FCursorXPos = XU2I(NewXPos);
    FCursorYPos = YU2I(NewYPos);
}

void TBaseReport::Home() {
    FColumnNum = 1;
    SetLineNum(1);
}

void TBaseReport::Cr() {
    FCursorXPos = LineStartInches();
}

void TBaseReport::Lf() {
    RecomputeLineHeight();
    ++FLineNum;
    FCursorYPos += FLineHeight;
}

void TBaseReport::NewLine() {
    SoftLine();
    NewPara();
}

void TBaseReport::SoftLine() {
    if (FColumnNum >= FColumns || LinesLeft() > 1) {
        Cr();
        Lf();
    } else {
        SetColumnNum(FColumnNum + 1);
        SetLineNum(1);
        if (OnNewColumn)
            OnNewColumn(*this, FColumnNum);
    }
    ResetTabs();
    if (FCursorYPos + FBaseFont.Descent >= FSectionBottom - kTruncEpsilon && OnEndOfSection)
        OnEndOfSection(*this);
}

void TBaseReport::NewColumn() {
    if (FColumnNum >= FColumns) {
        NewPage();
        return;
    }
    SetColumnNum(FColumnNum + 1);
    SetLineNum(1);
    if (OnNewColumn)
        OnNewColumn(*this, FColumnNum);
}

void TBaseReport::GotoHeader() {
    RecomputeLineHeight();
    FCursorYPos = FSectionTop + FLineHeight - FBaseFont.Descent;
    FCursorXPos = LineStartInches();
}

void TBaseReport::GotoFooter() {
    SelectFont();
    FCursorYPos = FSectionBottom - FBaseFont.Descent;
}

void TBaseReport::SetTopOfPage() {
    FSectionTop = FCursorYPos + FBaseFont.Descent;
    FLineNum = 0;
}

int TBaseReport::LinesLeft() {
    RecomputeLineHeight();
    const double fontBottom = FCursorYPos + FBaseFont.Descent;
    if (fontBottom > FSectionBottom + kTruncEpsilon || FLineHeight <= 0.0)
        return 0;
    return TruncLines((FSectionBottom - fontBottom) / FLineHeight) + 1;
}

int TBaseReport::ColumnLinesLeft() {
    const int left = LinesLeft();
    const bool below = FCursorYPos + FBaseFont.Descent > FSectionBottom + kTruncEpsilon;
    if (below && FColumnNum >= FColumns)
        return 0;
    if (FLineHeight <= 0.0)
        return left;
    const int perColumn = TruncLines((FSectionBottom - FSectionTop) / FLineHeight);
    return left + (FColumns - FColumnNum) * perColumn;
}

void TBaseReport::SetColumns(int NewColumns, double Between) {
    FColumns = std::max(1, NewColumns);
    FColumnBetween = XU2I(Between);
    FColumnWidth = (SectionWidth() + FColumnBetween) / FColumns;
    SetColumnNum(1);
    if (OnNewColumn)
        OnNewColumn(*this, 1);
}

void TBaseReport::SetColumnWidth(double Width, double Between) {
    FColumnBetween = XU2I(Between);
    FColumnWidth = XU2I(Width) + FColumnBetween;
    if (FColumnWidth <= 0.0)
        FColumnWidth = SectionWidth();
    FColumns = std::max(1, TruncLines(SectionWidth() / FColumnWidth));
    SetColumnNum(1);
    if (OnNewColumn)
        OnNewColumn(*this, 1);
}

void TBaseReport::ClearColumns() {
    FColumns = 1;
    FColumnNum = 1;
    FColumnBetween = 0.0;
    FColumnWidth = SectionWidth();
}

// ---- Positions ----------------------------------------------------------------------------

void TBaseReport::PushPos() {
    FPosStack.emplace_back(FCursorXPos, FCursorYPos);
}

bool TBaseReport::PopPos() {
    if (FPosStack.empty())
        return false;
    FCursorXPos = FPosStack.back().x();
    FCursorYPos = FPosStack.back().y();
    FPosStack.pop_back();
    return true;
}

bool TBaseReport::SavePos(int Index) {
    if (Index < 1 || Index > 10)
        return false;
    FPosSlots[Index - 1] = QPointF(FCursorXPos, FCursorYPos);
    return true;
}

bool TBaseReport::RestorePos(int Index) {
    if (Index < 1 || Index > 10 || !FPosSlots[Index - 1])
        return false;
    FCursorXPos = FPosSlots[Index - 1]->x();
    FCursorYPos = FPosSlots[Index - 1]->y();
    return true;
}

} // namespace fiscora
