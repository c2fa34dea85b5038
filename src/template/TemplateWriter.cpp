#include "TemplateWriter.h"

#include "TemplateNames.h"
#include "report/core/FoErrors.h"

#include <QLocale>
#include <QXmlStreamWriter>

namespace fiscora {
namespace {

// The shortest text that reads back to the same number: fifteen digits would change some.
QString NumberText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

QString ColorText(std::uint32_t color) {
    const unsigned rgb = ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}

class TemplateEmitter {
public:
    explicit TemplateEmitter(QIODevice &device) : FXml(&device) { FXml.setAutoFormatting(true); }

    void Write(const TemplateProject &project) {
        FXml.writeStartDocument();
        FXml.writeStartElement(QLatin1String(ProjectElementName));
        FXml.writeAttribute(QStringLiteral("version"), QString::number(TemplateFormatVersion));
        for (const auto &report : project.reports)
            WriteReport(report);
        FXml.writeEndElement();
        FXml.writeEndDocument();
        if (FXml.hasError())
            throw EFolioException(QStringLiteral("Cannot write the report template"));
    }

private:
    void Text(const char *name, const QString &value, const QString &fallback = QString()) {
        if (value != fallback)
            FXml.writeAttribute(QLatin1String(name), value);
    }

    // A reader turns a carriage return of element text into a line feed, so it is written as a
    // character reference.
    void Characters(const QString &text) {
        const QStringList pieces = text.split(u'\r');
        for (qsizetype i = 0; i < pieces.size(); ++i) {
            if (i > 0)
                FXml.writeEntityReference(QStringLiteral("#13"));
            FXml.writeCharacters(pieces[i]);
        }
    }

    void Number(const char *name, double value) {
        FXml.writeAttribute(QLatin1String(name), NumberText(value));
    }

    void Number(const char *name, double value, double fallback) {
        if (value != fallback)
            Number(name, value);
    }

    void Flag(const char *name, bool value, bool fallback) {
        if (value != fallback)
            FXml.writeAttribute(QLatin1String(name),
                                value ? QStringLiteral("true") : QStringLiteral("false"));
    }

    void Color(const char *name, std::uint32_t value, std::uint32_t fallback) {
        if (value != fallback)
            FXml.writeAttribute(QLatin1String(name), ColorText(value));
    }

    void Font(const TemplateFont &font, const TemplateFont &base) {
        Text("font", font.name, base.name);
        Number("size", font.size, base.size);
        Flag("bold", font.bold, base.bold);
        Flag("italic", font.italic, base.italic);
        Flag("underline", font.underline, base.underline);
        Color("color", font.color, base.color);
    }

    void WriteReport(const TemplateReport &report) {
        FXml.writeStartElement(QStringLiteral("report"));
        FXml.writeAttribute(QStringLiteral("name"), report.name);
        Text("fullName", report.fullName);
        Text("description", report.description);
        Text("category", report.category);
        Flag("alwaysGenerate", report.alwaysGenerate, false);
        Font(report.font, TemplateFont());
        for (const auto &page : report.pages)
            WritePage(page, report.font);
        FXml.writeEndElement();
    }

    void WritePage(const TemplatePage &page, const TemplateFont &reportFont) {
        const TemplatePage defaults;
        FXml.writeStartElement(QStringLiteral("page"));
        FXml.writeAttribute(QStringLiteral("paper"), page.paper);
        if (page.paper == QLatin1String(CustomPaperName)) {
            Number("width", page.paperWidth);
            Number("height", page.paperHeight);
        }
        if (page.orientation != defaults.orientation)
            FXml.writeAttribute(QStringLiteral("orientation"),
                                QLatin1String(NameOf(OrientationNames, page.orientation)));
        Number("marginLeft", page.marginLeft, defaults.marginLeft);
        Number("marginRight", page.marginRight, defaults.marginRight);
        Number("marginTop", page.marginTop, defaults.marginTop);
        Number("marginBottom", page.marginBottom, defaults.marginBottom);
        for (const auto &band : page.bands)
            WriteBand(band, reportFont);
        FXml.writeEndElement();
    }

    void WriteBand(const TemplateBand &band, const TemplateFont &reportFont) {
        FXml.writeStartElement(QLatin1String(NameOf(BandElementNames, band.kind)));
        if (band.kind != BandKind::Group)
            Number("height", band.height);
        Text("when", band.when);
        Text("repeat", band.repeat);
        Text("data", band.data);
        Flag("newPage", band.newPage, false);
        for (const auto &component : band.components)
            WriteComponent(component, reportFont);
        for (const auto &inner : band.bands)
            WriteBand(inner, reportFont);
        FXml.writeEndElement();
    }

    void Align(TemplateAlign align) {
        if (align != TemplateAlign::Left)
            FXml.writeAttribute(QStringLiteral("align"), QLatin1String(NameOf(AlignNames, align)));
    }

    void Box(const TemplateComponent &component) {
        Number("x", component.x);
        Number("y", component.y);
        Number("width", component.width);
        Number("height", component.height);
    }

    void WriteComponent(const TemplateComponent &component, const TemplateFont &reportFont) {
        const TemplateComponent defaults;
        FXml.writeStartElement(QLatin1String(NameOf(ComponentElementNames, component.kind)));
        Text("when", component.when);
        switch (component.kind) {
        case ComponentKind::Text:
        case ComponentKind::DataText:
            Number("x", component.x);
            Number("y", component.y);
            Align(component.align);
            Font(component.font, reportFont);
            Characters(component.text);
            break;
        case ComponentKind::Memo:
            Box(component);
            Align(component.align);
            Flag("border", component.border, false);
            Number("pen", component.pen, defaults.pen);
            Font(component.font, reportFont);
            Characters(component.text);
            break;
        case ComponentKind::Line:
            Number("x1", component.x);
            Number("y1", component.y);
            Number("x2", component.x2);
            Number("y2", component.y2);
            Number("pen", component.pen, defaults.pen);
            Color("color", component.penColor, defaults.penColor);
            break;
        case ComponentKind::Rectangle:
            Box(component);
            Number("pen", component.pen, defaults.pen);
            Color("color", component.penColor, defaults.penColor);
            if (component.filled)
                FXml.writeAttribute(QStringLiteral("fill"), ColorText(component.fillColor));
            break;
        case ComponentKind::Picture:
            Box(component);
            FXml.writeAttribute(QStringLiteral("file"), component.file);
            break;
        }
        FXml.writeEndElement();
    }

    QXmlStreamWriter FXml;
};

} // namespace

void WriteTemplate(const TemplateProject &project, QIODevice &device) {
    TemplateEmitter(device).Write(project);
}

} // namespace fiscora
