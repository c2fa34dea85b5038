// The PDF renderer's text output: placing, measuring and showing texts in the current font, with
// their links, underline and strike-out.
#include "output/pdf/FoPdfFormat.h"
#include "output/pdf/FoRenderPDF.h"
#include "report/playback/FoSnapshotConverter.h"

#include <cmath>
#include <numbers>

namespace fiscora {

using pdf::Fmt;
using pdf::FmtLn;
using pdf::Ln;

double TFoRenderPDF::TextWidth(const QString &Text) {
    if (FFontChanged)
        ResolveFont();
    if (!FCurrentFontObject)
        return 0.0;
    if (ShowsShaped(*FCurrentFontObject, Text))
        return Shaped(Text).Advance * ShownFontSize() / 72.0;
    return FCurrentFontObject->GetTextWidth(ShownFontSize(), Text);
}

void TFoRenderPDF::AddLink(const QString &Address, double X1, double Y1, double X2, double Y2) {
    auto link = std::make_unique<TPDFLink>(*this);
    link->FURI = Address;
    link->FAX1 = X1;
    link->FAY1 = Y1;
    link->FAX2 = X2;
    link->FAy2 = Y2;
    link->FPageHeight = FCurrentPageObject->FPageHeight;
    FCurrentPageObject->FLinks.push_back(std::move(link));
}

void TFoRenderPDF::PrintLeft(const QString &Text, double X, double Y) {
    if (!FCurrentPageObject)
        return;
    if (FFontChanged)
        ResolveFont();
    if (!FCurrentFontObject)
        return;
    TFoPDFFont *font = FCurrentFontObject;
    const TShapedText *shaped = ShowsShaped(*font, Text) ? &Shaped(Text) : nullptr;
    const double size = ShownFontSize();
    double width = -1.0;
    const auto textWidth = [&] {
        if (width < 0)
            width = shaped ? shaped->Advance * size / 72.0 : font->GetTextWidth(size, Text);
        return width;
    };
    if (!DisableHyperlinks && Converter) {
        const double lineHeight = Converter->LineHeight;
        if (Text.left(7).toLower() == QLatin1String("http://"))
            AddLink(Text, X, Y + 0.2 * lineHeight, X + textWidth(), Y - 0.6 * lineHeight);
        if (!Converter->Hyperlink.isEmpty())
            AddLink(Converter->Hyperlink, X, Y + 0.2 * lineHeight, X + textWidth(), Y - 0.6 * lineHeight);
    }
    if (shaped)
        ShowShapedText(*shaped, X, Y);
    else
        ShowText(*font, Text, X, Y);
    if (FFontRotation == 0 && (FUnderlineFont || FStrikeoutFont)) {
        const double savedWidth = snPenWidth;
        const TColor savedColour = FCurrentPageObject->FPenColor;
        const TColor textColour = FCurrentPageObject->FTextColor;
        const double w = textWidth();
        if (FUnderlineFont) {
            snPenWidth = (size + 1) * 0.0014;
            const double y = Y + 1.5 * snPenWidth;
            FCurrentPageObject->FPenColor = textColour;
            PageLine(X, y, X + w, y);
        }
        if (FStrikeoutFont) {
            snPenWidth = (size + 1) * 0.0006;
            const double y = Y - size / 72.0 * 0.22;
            FCurrentPageObject->FPenColor = textColour;
            PageLine(X, y, X + w, y);
        }
        snPenWidth = savedWidth;
        FCurrentPageObject->FPenColor = savedColour;
    }
}

void TFoRenderPDF::BeginText(TFoPDFPage &Page) {
    QByteArray &out = Page.FPageContent;
    Ln(out, "BT");
    if (!Page.FLastTextColorDefined || Page.FLastTextColor != Page.FTextColor) {
        out.append(pdf::ColorText(Page.FTextColor));
        Ln(out, " rg");
        Page.FLastTextColor = Page.FTextColor;
        Page.FLastTextColorDefined = true;
        Page.FLastPenColorDefined = false;
        Page.FLastBrushColorDefined = false;
    }
}

double TFoRenderPDF::ShiftedBaseline(double Y) const {
    if (Converter) {
        if (Converter->FontData.Superscript)
            return Y - Converter->LineHeight / 2.0;
        if (Converter->FontData.Subscript)
            return Y + Converter->LineHeight / 2.0;
    }
    return Y;
}

void TFoRenderPDF::ShowText(TFoPDFFont &Font, const QString &Text, double X, double Y) {
    TFoPDFPage &page = *FCurrentPageObject;
    QByteArray &out = page.FPageContent;
    BeginText(page);
    FmtLn(out, "/%s %.2f Tf", Font.FObjectName, ShownFontSize());
    const double px = PX(X);
    const double py = PY(ShiftedBaseline(Y));
    FmtLn(out, "%.4f %.4f Td", px, py);
    if (FFontRotation != 0) {
        const double a = FFontRotation * std::numbers::pi / 180.0;
        FmtLn(out, "%.4f %.4f %.4f %.4f %.4f %.4f Tm", std::cos(a), std::sin(a), -std::sin(a), std::cos(a),
              px, py);
    }
    Font.AppendShowText(out, Text);
    Ln(out, "ET");
}

void TFoRenderPDF::PrintCenter(const QString &Text, double X, double Y) {
    PrintShifted(Text, X, Y, TextWidth(Text) / 2.0);
}

void TFoRenderPDF::PrintRight(const QString &Text, double X, double Y) {
    PrintShifted(Text, X, Y, TextWidth(Text));
}

// Left-aligned text starting Shift inches back along the baseline.
void TFoRenderPDF::PrintShifted(const QString &Text, double X, double Y, double Shift) {
    if (FFontRotation > 0 && FFontRotation < 360) {
        const double a = FFontRotation * std::numbers::pi / 180.0;
        PrintLeft(Text, X - Shift * std::cos(a), Y + Shift * std::sin(a));
    } else {
        PrintLeft(Text, X - Shift, Y);
    }
}

void TFoRenderPDF::LeftText(const QString &Text, double X, double Y) {
    PrintLeft(Text, X, Y);
}
void TFoRenderPDF::CenterText(const QString &Text, double X, double Y) {
    PrintCenter(Text, X, Y);
}
void TFoRenderPDF::RightText(const QString &Text, double X, double Y) {
    PrintRight(Text, X, Y);
}

void TFoRenderPDF::PrintSpaces(const QString &Text, double X, double Y, double Width) {
    PrintJustifiedLine(Text, X, Y, Width);
}

void TFoRenderPDF::PrintJustifiedWord(double &X, double &Y, const QString &Text, double Advance) {
    AdvanceAlongBaseline(X, Y, Advance);
    PrintRight(Text, X, Y);
}

double TFoRenderPDF::JustifiedTextWidth(const QString &Text) {
    return TextWidth(Text);
}

void TFoRenderPDF::TextRect(const QRect &Rect, double X, double Y, const QString &Text) {
    if (!FCurrentPageObject)
        return;
    QByteArray &out = Content();
    Ln(out, " q ");
    snPenWidth = 0;
    if (DoStroke() || DoFill()) {
        TakePlaybackColours();
        SetPenAndBrush();
        const double x1 = Rect.left() / 72.0, y1 = Rect.top() / 72.0;
        const double x2 = (Rect.left() + Rect.width()) / 72.0, y2 = (Rect.top() + Rect.height()) / 72.0;
        Fmt(out, "%.4f %.4f %.4f %.4f re ", PX(x1), PY(y1), (x2 - x1) * 72.0, (y1 - y2) * 72.0);
        Ln(out, "W n ");
    }
    PrintLeft(Text, X, Y);
    Ln(Content(), " Q ");
    // "Q" restores the colours, dash and width of before "q": what the caches remember from inside the
    // clipped block no longer holds.
    FCurrentPageObject->ForgetState();
}

} // namespace fiscora
