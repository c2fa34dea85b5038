#pragma once

#include "TemplateModel.h"

#include <QString>

#include <array>
#include <optional>
#include <utility>

namespace fiscora {

// The XML names of the template format, shared by the reader and the writer.

inline constexpr std::array<std::pair<BandKind, const char *>, 7> BandElementNames{{
    {BandKind::PageHeader, "pageHeader"},
    {BandKind::Title, "title"},
    {BandKind::DetailHeader, "detailHeader"},
    {BandKind::Detail, "detail"},
    {BandKind::Summary, "summary"},
    {BandKind::PageFooter, "pageFooter"},
    {BandKind::Group, "group"},
}};

inline constexpr std::array<std::pair<ComponentKind, const char *>, 6> ComponentElementNames{{
    {ComponentKind::Text, "text"},
    {ComponentKind::DataText, "data"},
    {ComponentKind::Memo, "memo"},
    {ComponentKind::Line, "line"},
    {ComponentKind::Rectangle, "rect"},
    {ComponentKind::Picture, "picture"},
}};

inline constexpr std::array<std::pair<TemplateAlign, const char *>, 3> AlignNames{{
    {TemplateAlign::Left, "left"},
    {TemplateAlign::Center, "center"},
    {TemplateAlign::Right, "right"},
}};

inline constexpr std::array<std::pair<TemplateOrientation, const char *>, 2> OrientationNames{{
    {TemplateOrientation::Portrait, "portrait"},
    {TemplateOrientation::Landscape, "landscape"},
}};

struct PaperSize {
    const char *name;
    double width;
    double height;
};

inline constexpr std::array<PaperSize, 3> PaperSizes{{
    {"Letter", 8.5, 11},
    {"Legal", 8.5, 14},
    {"A4", 8.27, 11.69},
}};

inline constexpr const char *CustomPaperName = "Custom";
inline constexpr const char *ProjectElementName = "folio-project";
inline constexpr int TemplateFormatVersion = 1;

template <typename Enum, std::size_t N>
const char *NameOf(const std::array<std::pair<Enum, const char *>, N> &names, Enum value) {
    for (const auto &[entry, name] : names)
        if (entry == value)
            return name;
    return "";
}

template <typename Enum, std::size_t N>
std::optional<Enum> ValueOf(const std::array<std::pair<Enum, const char *>, N> &names, QStringView text) {
    for (const auto &[entry, name] : names)
        if (text == QLatin1String(name))
            return entry;
    return std::nullopt;
}

} // namespace fiscora
