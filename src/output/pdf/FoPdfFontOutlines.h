#pragma once

#include "output/pdf/FoPdfFonts.h"

#include <vector>

namespace fiscora {

// A Type 3 font that draws the outlines of a laid-out font whose program cannot be embedded (a Type 1
// file, a licence that forbids embedding), so the page still shows what the preview shows. One-byte
// codes: up to 255 glyphs a font.
class TFoPDFFontOutlines : public TFoPDFGlyphFont {
public:
    TFoPDFFontOutlines(TFoRenderPDF &AOwner, const TFoPDFFontRequest &Request, const QString &ObjectName,
                       const QRawFont &GlyphFont);
    void SetIDs(int &Next) override;
    void SetLateIDs(int &Next) override;
    void WriteObject(TFoPDFFile &File) override;
    bool CanShow(quint32 Glyph) const override { return FGlyphCodes.contains(Glyph) || FCodes.size() < 255; }
    void AppendCode(QByteArray &Out, quint16 Code) const override;

protected:
    quint16 NewCode(quint32) override { return quint16(FCodes.size() + 1); }
    double GlyphWidth(quint32 Glyph) const override;

private:
    int FUnicodeID = 0;
    std::vector<int> FProcedureIDs; // by code - 1
};

} // namespace fiscora
