// Font programs for embedding: the outline tables of a laid-out font, subset with HarfBuzz.
#include "output/pdf/FoPdfFontProgram.h"

#include "output/pdf/FoPdfCff.h"
#include "output/pdf/FoPdfFontTables.h"

#include <QHash>
#include <QMutex>

#include <initializer_list>

#include <hb-subset.h>
#include <hb.h>

namespace fiscora {

namespace {

template <class T, void (*Destroy)(T *)> struct THbDeleter {
    void operator()(T *object) const { Destroy(object); }
};
using THbBlob = std::unique_ptr<hb_blob_t, THbDeleter<hb_blob_t, hb_blob_destroy>>;
using THbFace = std::unique_ptr<hb_face_t, THbDeleter<hb_face_t, hb_face_destroy>>;
using THbInput = std::unique_ptr<hb_subset_input_t, THbDeleter<hb_subset_input_t, hb_subset_input_destroy>>;
using THbPlan = std::unique_ptr<hb_subset_plan_t, THbDeleter<hb_subset_plan_t, hb_subset_plan_destroy>>;

QByteArray BlobBytes(hb_blob_t *blob) {
    unsigned length = 0;
    const char *data = hb_blob_get_data(blob, &length);
    return QByteArray(data, qsizetype(length));
}

// The tables a PDF viewer needs of an embedded program; the layout tables (cmap, GSUB, GPOS ...) stay
// out, which also spares the subsetter their closure.
const char *const kTrueTypeTables[] = {"head", "hhea", "hmtx", "maxp", "loca", "glyf"};
const char *const kCffTables[] = {"head", "hhea", "hmtx", "maxp", "CFF "};

hb_tag_t Tag(const char *name) {
    return hb_tag_from_string(name, 4);
}

} // namespace

TFoPdfFontProgram::~TFoPdfFontProgram() {
    hb_font_destroy(FFont);
    hb_face_destroy(FFace);
}

std::shared_ptr<const TFoPdfFontProgram> TFoPdfFontProgram::Of(const QRawFont &Font) {
    static QMutex mutex;
    static QHash<QByteArray, std::shared_ptr<const TFoPdfFontProgram>> programs;
    const QByteArray head = Font.fontTable("head");
    const QByteArray key = Font.familyName().toUtf8() + '\0' + Font.styleName().toUtf8() + '\0' + head;
    QMutexLocker lock(&mutex);
    if (const auto found = programs.constFind(key); found != programs.constEnd())
        return *found;

    std::shared_ptr<TFoPdfFontProgram> program(new TFoPdfFontProgram);
    const QByteArray os2 = Font.fontTable("OS/2");
    // fsType: restricted-licence embedding (bit 1) and bitmap-only embedding (bit 9) forbid outlines.
    const bool embeddable = (pdf::UInt16At(os2, 8) & 0x0202) == 0;
    const bool trueType = !Font.fontTable("glyf").isEmpty() && !Font.fontTable("loca").isEmpty();
    QByteArray cff;
    std::optional<TCffCharset> charset;
    if (!trueType) {
        cff = Font.fontTable("CFF ");
        charset = ReadCffCharset(cff);
    }
    if (embeddable && trueType)
        program->FKind = TFontProgramKind::TrueType;
    else if (embeddable && charset)
        program->FKind = charset->CIDKeyed ? TFontProgramKind::CidCff : TFontProgramKind::Cff;
    if (program->FKind == TFontProgramKind::CidCff)
        program->FCIDs = std::move(charset->CIDs);

    // The builder copies the tables into one font file when asked for its blob: until then it only
    // refers to these bytes.
    std::vector<QByteArray> tables;
    tables.reserve(std::size(kTrueTypeTables) + std::size(kCffTables));
    THbFace builder(hb_face_builder_create());
    const auto addTable = [&](const char *name, const QByteArray &bytes) {
        if (bytes.isEmpty())
            return;
        tables.push_back(bytes);
        THbBlob blob(hb_blob_create(tables.back().constData(), unsigned(tables.back().size()),
                                    HB_MEMORY_MODE_READONLY, nullptr, nullptr));
        hb_face_builder_add_table(builder.get(), Tag(name), blob.get());
    };
    if (program->FKind == TFontProgramKind::TrueType) {
        for (const char *name : kTrueTypeTables)
            addTable(name, name == QByteArrayView("head") ? head : Font.fontTable(name));
    } else {
        for (const char *name : kCffTables)
            addTable(name, name == QByteArrayView("head")   ? head
                           : name == QByteArrayView("CFF ") ? cff
                                                            : Font.fontTable(name));
    }
    cff.clear();
    THbBlob whole(hb_face_reference_blob(builder.get()));
    builder.reset();
    tables.clear();
    program->FFace = hb_face_create(whole.get(), 0);
    program->FFont = hb_font_create(program->FFace);
    const unsigned unitsPerEm = hb_face_get_upem(program->FFace);
    program->FUnitsPerEm = unitsPerEm > 0 ? unitsPerEm : 1000.0;
    hb_font_set_scale(program->FFont, int(program->FUnitsPerEm), int(program->FUnitsPerEm));
    programs.insert(key, program);
    return program;
}

quint32 TFoPdfFontProgram::CIDOf(quint32 Glyph) const {
    if (FKind != TFontProgramKind::CidCff)
        return Glyph;
    return Glyph < FCIDs.size() ? FCIDs[Glyph] : 0;
}

double TFoPdfFontProgram::Advance(quint32 Glyph) const {
    return hb_font_get_glyph_h_advance(FFont, Glyph) * 1000.0 / FUnitsPerEm;
}

std::optional<TFoPdfFontProgram::TSubset> TFoPdfFontProgram::Subset(std::span<const quint32> Glyphs) const {
    if (FKind == TFontProgramKind::None)
        return std::nullopt;
    THbInput input(hb_subset_input_create_or_fail());
    if (!input)
        return std::nullopt;
    hb_set_t *glyphSet = hb_subset_input_glyph_set(input.get());
    for (const quint32 glyph : Glyphs)
        hb_set_add(glyphSet, glyph);
    hb_set_clear(hb_subset_input_unicode_set(input.get()));
    // Viewers rasterise without the hinting programs; a CFF program without subroutines is smaller for
    // the few glyphs a report shows. A name-keyed CFF program keeps its glyph indexes, which its codes
    // are.
    unsigned flags = HB_SUBSET_FLAGS_NO_HINTING;
    if (FKind == TFontProgramKind::Cff || FKind == TFontProgramKind::CidCff)
        flags |= HB_SUBSET_FLAGS_DESUBROUTINIZE;
    if (FKind == TFontProgramKind::Cff)
        flags |= HB_SUBSET_FLAGS_RETAIN_GIDS;
    hb_subset_input_set_flags(input.get(), flags);

    const auto programOf = [this](hb_face_t *face) {
        THbBlob bytes(FKind == TFontProgramKind::TrueType ? hb_face_reference_blob(face)
                                                          : hb_face_reference_table(face, Tag("CFF ")));
        return BlobBytes(bytes.get());
    };
    TSubset subset;
    THbPlan plan(hb_subset_plan_create_or_fail(FFace, input.get()));
    THbFace face(plan ? hb_subset_plan_execute_or_fail(plan.get()) : nullptr);
    if (face) {
        const hb_map_t *oldToNew = hb_subset_plan_old_to_new_glyph_mapping(plan.get());
        for (const quint32 glyph : Glyphs)
            subset.NewGlyphs.push_back(hb_map_get(oldToNew, glyph));
        subset.Program = programOf(face.get());
    }
    if (subset.Program.isEmpty()) {
        // A program the subsetter cannot cut down is embedded whole, glyph indexes unchanged.
        subset.NewGlyphs.assign(Glyphs.begin(), Glyphs.end());
        subset.Program = programOf(FFace);
    }
    return subset;
}

QByteArray SubsetFontFile(const QByteArray &File, std::span<const char32_t> Characters) {
    THbBlob blob(
        hb_blob_create(File.constData(), unsigned(File.size()), HB_MEMORY_MODE_READONLY, nullptr, nullptr));
    THbFace source(hb_face_create(blob.get(), 0));
    THbInput input(hb_subset_input_create_or_fail());
    if (!input)
        return {};
    hb_set_t *unicodes = hb_subset_input_unicode_set(input.get());
    for (const char32_t character : Characters)
        hb_set_add(unicodes, character);
    // Viewers neither shape nor hint: the layout tables and hinting programs are dead weight.
    hb_set_t *drop = hb_subset_input_set(input.get(), HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const char *name : {"GSUB", "GPOS", "GDEF", "BASE", "JSTF", "MATH", "kern", "DSIG"})
        hb_set_add(drop, Tag(name));
    hb_subset_input_set_flags(input.get(), HB_SUBSET_FLAGS_NO_HINTING);
    THbFace subset(hb_subset_or_fail(source.get(), input.get()));
    if (!subset)
        return {};
    THbBlob bytes(hb_face_reference_blob(subset.get()));
    return BlobBytes(bytes.get());
}

QByteArray SubsetTag(QByteArrayView Seed) {
    // FNV-1a: stable across runs and platforms, so the same document gets the same names.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char byte : Seed) {
        hash ^= std::uint8_t(byte);
        hash *= 0x100000001b3ull;
    }
    QByteArray tag(6, 'A');
    for (char &letter : tag) {
        letter = char('A' + hash % 26);
        hash /= 26;
    }
    return tag;
}

} // namespace fiscora
