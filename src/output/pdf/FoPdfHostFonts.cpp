// The host's font files, as fontconfig finds them for a face and style.
#include "output/pdf/FoPdfHostFonts.h"

#include <QHash>
#include <QMutex>

#include <fontconfig/fontconfig.h>

#include <vector>

namespace fiscora {

namespace {

struct THostFace {
    QString File;
    bool TrueType = false;
};

// Fonts fontconfig offers for a face and style, best match first.
const std::vector<THostFace> &HostFaces(const QString &face, bool bold, bool italic) {
    static QMutex mutex;
    static QHash<QString, std::vector<THostFace>> cache;
    QMutexLocker lock(&mutex);
    const QString key =
        face.toLower() + QLatin1Char('|') + QLatin1Char(bold ? 'b' : '-') + QLatin1Char(italic ? 'i' : '-');
    auto found = cache.find(key);
    if (found != cache.end())
        return *found;
    std::vector<THostFace> faces;
    if (FcInit()) {
        FcPattern *pattern = FcPatternCreate();
        const QByteArray family = face.toUtf8();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.constData()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcFontSet *set = FcFontSort(nullptr, pattern, FcFalse, nullptr, &result);
        if (set) {
            for (int i = 0; i < set->nfont; ++i) {
                FcPattern *font = set->fonts[i];
                FcChar8 *file = nullptr;
                FcChar8 *format = nullptr;
                int index = 0;
                if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
                    continue;
                FcPatternGetInteger(font, FC_INDEX, 0, &index);
                THostFace host;
                host.File = QString::fromUtf8(reinterpret_cast<const char *>(file));
                host.TrueType = index == 0 &&
                                FcPatternGetString(font, FC_FONTFORMAT, 0, &format) == FcResultMatch &&
                                qstrcmp(reinterpret_cast<const char *>(format), "TrueType") == 0;
                faces.push_back(host);
            }
            FcFontSetDestroy(set);
        }
        FcPatternDestroy(pattern);
    }
    return *cache.insert(key, std::move(faces));
}

} // namespace

QString FindFontFile(const QString &Face, bool Bold, bool Italic) {
    for (const auto &face : HostFaces(Face, Bold, Italic))
        if (face.TrueType)
            return face.File;
    return {};
}

bool IsTrueTypeFace(const QString &Face, bool Bold, bool Italic) {
    const auto &faces = HostFaces(Face, Bold, Italic);
    return !faces.empty() && faces.front().TrueType;
}

} // namespace fiscora
