#pragma once

#include <QFont>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <vector>

namespace fiscora {

// One glyph of a shaped text.
struct TShapedGlyph {
    QRawFont Font; // the font Qt chose for it (the requested one or a fallback)
    quint32 Glyph = 0;
    QPointF Position; // from the text's origin on the baseline, in ems; y grows downward
    QString Text;     // the characters it shows; empty for the further glyphs of a cluster
};

// A text as Qt lays it out: glyphs in the order of the characters they show, and the advance.
struct TShapedText {
    std::vector<TShapedGlyph> Glyphs;
    double Advance = 0.0; // ems
};

// Lays the text out on one line, left to right, with Qt's shaping and font fallback: the glyphs and
// positions a QPainter draws for the same font. The font's pixel size is taken as the em.
TShapedText ShapeText(const QFont &Font, const QString &Text);

} // namespace fiscora
