#pragma once

#include <QByteArray>
#include <QRawFont>

#include <memory>
#include <optional>
#include <span>
#include <vector>

struct hb_face_t;
struct hb_font_t;

namespace fiscora {

// How a PDF embeds a font program and selects its glyphs.
enum class TFontProgramKind {
    None,     // nothing to embed (no outlines, or the licence forbids it): codes are glyph indexes
    TrueType, // FontFile2; codes are mapped to glyphs by a CIDToGIDMap
    Cff,      // FontFile3 /CIDFontType0C of a name-keyed program; codes are glyph indexes
    CidCff    // FontFile3 /CIDFontType0C of a CID-keyed program; codes are its CIDs
};

// The outline program of a font that Qt laid text out in, read from the font's own tables, and the
// subsets of it that documents embed. One per font for the whole process: reading a large CJK font
// is done once.
class TFoPdfFontProgram {
public:
    ~TFoPdfFontProgram();
    TFoPdfFontProgram(const TFoPdfFontProgram &) = delete;
    TFoPdfFontProgram &operator=(const TFoPdfFontProgram &) = delete;

    // The program of a laid-out font.
    static std::shared_ptr<const TFoPdfFontProgram> Of(const QRawFont &Font);

    TFontProgramKind Kind() const { return FKind; }
    // The CID of a glyph of a CID-keyed program; the glyph index itself for any other.
    quint32 CIDOf(quint32 Glyph) const;
    // The glyph's advance in thousandths of the em.
    double Advance(quint32 Glyph) const;

    struct TSubset {
        QByteArray Program;             // the bytes of the font file stream
        std::vector<quint32> NewGlyphs; // the subset's index of each glyph asked for, in order
    };
    // The program cut down to the glyphs (and the components they are built from); glyph 0 is always
    // kept; the whole program when the subsetter fails. Empty when there is nothing to embed.
    std::optional<TSubset> Subset(std::span<const quint32> Glyphs) const;

private:
    TFoPdfFontProgram() = default;

    TFontProgramKind FKind = TFontProgramKind::None;
    hb_face_t *FFace = nullptr;
    hb_font_t *FFont = nullptr;
    double FUnitsPerEm = 1000.0;
    std::vector<std::uint16_t> FCIDs;
};

// A font file cut down to the glyphs of the characters, its character map kept for them (a simple
// font's codes reach their glyphs through it). Empty when the subsetter fails.
QByteArray SubsetFontFile(const QByteArray &File, std::span<const char32_t> Characters);

// The six capital letters that mark a subset font's name, derived from what the subset holds.
QByteArray SubsetTag(QByteArrayView Seed);

} // namespace fiscora
