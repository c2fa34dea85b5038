// Text shaping for the PDF: Qt's own layout (HarfBuzz and fontconfig fallback), so the PDF shows the
// glyphs the preview draws, with the characters behind every glyph for text extraction.
#include "output/pdf/FoPdfTextShaper.h"

#include <QGlyphRun>
#include <QTextBoundaryFinder>
#include <QTextLayout>

#include <algorithm>

namespace fiscora {

namespace {

int CodePoints(QStringView text) {
    int count = 0;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!(text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate()))
            ++count;
    return count;
}

// The code points of a text, one string each.
QStringList CodePointTexts(QStringView text) {
    QStringList result;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isLowSurrogate() && i > 0 && text.at(i - 1).isHighSurrogate())
            result.back() += text.at(i);
        else
            result << QString(text.at(i));
    }
    return result;
}

} // namespace

TShapedText ShapeText(const QFont &Font, const QString &Text) {
    TShapedText shaped;
    if (Text.isEmpty())
        return shaped;
    const double em = Font.pixelSize() > 0 ? Font.pixelSize() : Font.pointSizeF();
    QTextLayout layout(Text, Font);
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    // The preview draws with a left-to-right base direction, whatever script the text starts with.
    option.setTextDirection(Qt::LeftToRight);
    layout.setTextOption(option);
    layout.setCacheEnabled(true);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    if (!line.isValid()) {
        layout.endLayout();
        return shaped;
    }
    line.setLineWidth(1.0e6);
    layout.endLayout();
    const double baseline = line.ascent();
    shaped.Advance = line.horizontalAdvance() / em;

    // Glyphs are taken cluster by cluster, which ties each glyph to the characters it shows. A glyph
    // that one cluster shares with the one before (a ligature) shows both.
    QTextBoundaryFinder clusters(QTextBoundaryFinder::Grapheme, Text);
    qsizetype start = 0;
    for (qsizetype end = clusters.toNextBoundary(); end > start;
         start = end, end = clusters.toNextBoundary()) {
        const QString text = Text.mid(start, end - start);
        const size_t first = shaped.Glyphs.size();
        for (const QGlyphRun &run : layout.glyphRuns(int(start), int(end - start))) {
            const QRawFont font = run.rawFont();
            // Characters no installed font has come in a run of Qt's stand-in engine, which has no
            // size, no tables and no family: nothing a PDF font could be made of, so they show as
            // the space they take.
            if (font.pixelSize() <= 0)
                continue;
            const QList<quint32> glyphs = run.glyphIndexes();
            const QList<QPointF> positions = run.positions();
            for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
                const QPointF position((positions[i].x()) / em, (positions[i].y() - baseline) / em);
                const auto shared =
                    std::find_if(shaped.Glyphs.begin() + qsizetype(first > 16 ? first - 16 : 0),
                                 shaped.Glyphs.begin() + qsizetype(first), [&](const TShapedGlyph &g) {
                                     return g.Glyph == glyphs[i] && g.Position == position && g.Font == font;
                                 });
                if (shared != shaped.Glyphs.begin() + qsizetype(first)) {
                    shared->Text += text;
                    continue;
                }
                shaped.Glyphs.push_back({font, glyphs[i], position, QString()});
            }
        }
        const size_t added = shaped.Glyphs.size() - first;
        if (added == 0)
            continue;
        if (int(added) == CodePoints(text) && added > 1) {
            const QStringList characters = CodePointTexts(text);
            for (size_t i = 0; i < added; ++i)
                shaped.Glyphs[first + i].Text = characters.at(qsizetype(i));
        } else {
            shaped.Glyphs[first].Text = text;
        }
    }
    return shaped;
}

} // namespace fiscora
