#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <vector>

namespace fiscora {

// In-memory form of a report template file. Lengths are inches; font sizes and pen widths are points.

struct TemplateFont {
    QString name = QStringLiteral("Arial");
    double size = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    std::uint32_t color = 0; // $00BBGGRR

    bool operator==(const TemplateFont &) const = default;
};

enum class TemplateAlign { Left, Center, Right };

enum class ComponentKind { Text, DataText, Memo, Line, Rectangle, Picture };

struct TemplateComponent {
    ComponentKind kind = ComponentKind::Text;
    QString when; // printed only while this parameter is set; empty = always
    // Text: (x, y) is the anchor on the baseline, by align. Memo, rectangle, picture: top-left corner.
    // Line: from (x, y) to (x2, y2). y values are measured from the top of the band.
    double x = 0;
    double y = 0;
    double x2 = 0;
    double y2 = 0;
    double width = 0;
    double height = 0;
    QString text;
    TemplateAlign align = TemplateAlign::Left;
    TemplateFont font;
    double pen = 0.5; // outline width in points; 0 = no outline
    std::uint32_t penColor = 0;
    bool filled = false; // rectangle: fill with fillColor
    std::uint32_t fillColor = 0xFFFFFF;
    bool border = false; // memo: frame the box
    QString file;        // picture, relative to the template file
    QImage image;        // picture as loaded

    bool operator==(const TemplateComponent &) const = default;
};

enum class BandKind { PageHeader, Title, DetailHeader, Detail, Summary, PageFooter, Group };

struct TemplateBand {
    BandKind kind = BandKind::Title;
    double height = 0;
    QString when;
    QString
        repeat;   // detail: parameter pattern with "{i}", the band repeats for i = 1, 2, ... while it is set
    QString data; // detail and group: the data set whose rows it repeats for (instead of `repeat`)
    bool newPage = false; // group: each row starts a new sheet (unless the flow is at the top of one)
    std::vector<TemplateComponent> components;
    std::vector<TemplateBand> bands; // group: the bands printed for each row, in order

    bool operator==(const TemplateBand &) const = default;
};

enum class TemplateOrientation { Portrait, Landscape };

struct TemplatePage {
    QString paper = QStringLiteral("Letter"); // Letter, Legal, A4 or Custom
    double paperWidth = 8.5;                  // portrait width and height
    double paperHeight = 11;
    TemplateOrientation orientation = TemplateOrientation::Portrait;
    double marginLeft = 0.75;
    double marginRight = 0.75;
    double marginTop = 0.75;
    double marginBottom = 0.75;
    std::vector<TemplateBand> bands;

    bool operator==(const TemplatePage &) const = default;
};

struct TemplateReport {
    QString name;
    QString fullName;
    QString description;
    QString category;
    bool alwaysGenerate = false;
    TemplateFont font; // default font of the report's texts
    std::vector<TemplatePage> pages;

    bool operator==(const TemplateReport &) const = default;
};

struct TemplateProject {
    std::vector<TemplateReport> reports;

    bool operator==(const TemplateProject &) const = default;
};

} // namespace fiscora
