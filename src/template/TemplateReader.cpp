#include "TemplateReader.h"

#include "TemplateNames.h"
#include "TemplateText.h"
#include "report/core/FoErrors.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QSet>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <stdexcept>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fiscora {
namespace {

// The attributes of one element; each is taken once, and whatever is left over is unknown.
class ElementAttributes {
public:
    ElementAttributes(const QXmlStreamAttributes &attributes) {
        for (const auto &attribute : attributes)
            FValues.emplace(attribute.qualifiedName().toString(), attribute.value().toString());
    }

    std::optional<QString> Take(const QString &name) {
        const auto found = FValues.find(name);
        if (found == FValues.end())
            return std::nullopt;
        QString value = found->second;
        FValues.erase(found);
        return value;
    }

    QString FirstLeft() const { return FValues.empty() ? QString() : FValues.begin()->first; }

private:
    std::map<QString, QString> FValues;
};

constexpr double MaxNumber = 1000;  // inches, points
constexpr double MaxFontSize = 500; // points
// Pictures are decoded in full and stored in the snapshot: a few bytes of file must not become
// gigabytes of pixels.
constexpr int MaxPictureSide = 4096;

bool IsRegularFile(const QString &path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

// Points standard error at /dev/null while it lives; decoders of the image library write there.
class StandardErrorSilenced {
public:
    StandardErrorSilenced() {
        std::fflush(stderr);
        FSaved = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (FSaved >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~StandardErrorSilenced() {
        if (FSaved < 0)
            return;
        std::fflush(stderr);
        ::dup2(FSaved, STDERR_FILENO);
        ::close(FSaved);
    }
    StandardErrorSilenced(const StandardErrorSilenced &) = delete;
    StandardErrorSilenced &operator=(const StandardErrorSilenced &) = delete;

private:
    int FSaved = -1;
};

class TemplateParser {
public:
    TemplateParser(QIODevice &device, const QString &sourceName)
        : FXml(&device), FSourceName(sourceName), FBaseDir(QFileInfo(sourceName).absoluteDir()) {}

    TemplateProject Parse() {
        if (!NextElement())
            Fail(FXml.hasError() ? QString() : QStringLiteral("the file holds no template"));
        if (FXml.name() != QLatin1String(ProjectElementName))
            Fail(QStringLiteral("the root element must be <%1>, not <%2>")
                     .arg(QLatin1String(ProjectElementName), FXml.name()));
        ElementAttributes attributes(FXml.attributes());
        const int version = static_cast<int>(RequiredNumber(attributes, "version"));
        if (version != TemplateFormatVersion)
            Fail(QStringLiteral("unsupported template version %1").arg(version));
        CheckNoneLeft(attributes);

        TemplateProject project;
        QSet<QString> names; // case-folded, so that a large template loads in linear time
        while (NextChild()) {
            ExpectElement("report");
            const qint64 reportLine = FElementLine;
            TemplateReport report = ParseReport();
            const QString folded = report.name.toCaseFolded();
            if (names.contains(folded))
                Fail(QStringLiteral("duplicate report name \"%1\"").arg(report.name), reportLine);
            names.insert(folded);
            project.reports.push_back(std::move(report));
        }
        while (!FXml.atEnd()) {
            FXml.readNext();
            if (FXml.isStartElement())
                Fail(QStringLiteral("unexpected element <%1> after the project").arg(FXml.name()));
        }
        if (FXml.hasError())
            Fail(QString());
        return project;
    }

private:
    [[noreturn]] void Fail(const QString &what, qint64 line = -1) {
        const QString reason =
            what.isEmpty() ? QStringLiteral("not well-formed XML: ") + FXml.errorString() : what;
        throw EFolioException(QStringLiteral("Report template \"%1\", line %2: %3")
                                  .arg(FSourceName)
                                  .arg(line >= 0 ? line : FXml.lineNumber())
                                  .arg(reason));
    }

    // Advances to the next start element anywhere; false at the end of the document.
    bool NextElement() {
        while (!FXml.atEnd()) {
            FXml.readNext();
            if (FXml.isStartElement()) {
                FElementLine = FXml.lineNumber();
                RequireUnicodeAttributes();
                return true;
            }
        }
        if (FXml.hasError())
            Fail(QString());
        return false;
    }

    // Advances to the next child of the current element; false at its end tag.
    bool NextChild() {
        while (!FXml.atEnd()) {
            FXml.readNext();
            if (FXml.isStartElement()) {
                FElementLine = FXml.lineNumber();
                RequireUnicodeAttributes();
                return true;
            }
            if (FXml.isEndElement())
                return false;
            if (FXml.isCharacters() && !FXml.isWhitespace())
                Fail(QStringLiteral("unexpected text \"%1\"").arg(FXml.text().toString().trimmed()));
        }
        Fail(FXml.hasError() ? QString() : QStringLiteral("the file ends inside an element"));
    }

    // A document in an encoding such as UTF-7 can decode to halves of surrogate pairs, which no
    // saved template could hold.
    void RequireUnicode(QStringView text, qint64 line) {
        if (!text.isValidUtf16())
            Fail(QStringLiteral("the text is not valid Unicode"), line);
    }

    void RequireUnicodeAttributes() {
        for (const auto &attribute : FXml.attributes())
            RequireUnicode(attribute.value(), FElementLine);
    }

    void ExpectElement(const char *name) {
        if (FXml.name() != QLatin1String(name))
            Fail(QStringLiteral("unknown element <%1>").arg(FXml.name()));
    }

    void CheckNoneLeft(const ElementAttributes &attributes) {
        const QString left = attributes.FirstLeft();
        if (!left.isEmpty())
            Fail(QStringLiteral("unknown attribute \"%1\" on <%2>").arg(left, FXml.name()), FElementLine);
    }

    QString Required(ElementAttributes &attributes, const char *name) {
        const auto value = attributes.Take(QLatin1String(name));
        if (!value)
            Fail(QStringLiteral("<%1> lacks the attribute \"%2\"").arg(FXml.name(), QLatin1String(name)),
                 FElementLine);
        return *value;
    }

    double ToNumber(const QString &text, const char *name) {
        bool ok = false;
        const double value = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(value))
            Fail(QStringLiteral("attribute \"%1\" is not a number: \"%2\"").arg(QLatin1String(name), text),
                 FElementLine);
        // Far beyond any paper, and far enough from the limits of device coordinates.
        if (std::abs(value) > MaxNumber)
            Fail(QStringLiteral("attribute \"%1\" is out of range: \"%2\"").arg(QLatin1String(name), text),
                 FElementLine);
        return value;
    }

    double RequiredNumber(ElementAttributes &attributes, const char *name) {
        return ToNumber(Required(attributes, name), name);
    }

    double Number(ElementAttributes &attributes, const char *name, double fallback, double minimum = 0) {
        const auto text = attributes.Take(QLatin1String(name));
        if (!text)
            return fallback;
        const double value = ToNumber(*text, name);
        if (value < minimum)
            Fail(
                QStringLiteral("attribute \"%1\" must not be below %2").arg(QLatin1String(name)).arg(minimum),
                FElementLine);
        return value;
    }

    bool Flag(ElementAttributes &attributes, const char *name, bool fallback) {
        const auto text = attributes.Take(QLatin1String(name));
        if (!text)
            return fallback;
        if (*text == QLatin1String("true"))
            return true;
        if (*text == QLatin1String("false"))
            return false;
        Fail(QStringLiteral("attribute \"%1\" must be true or false, not \"%2\"")
                 .arg(QLatin1String(name), *text),
             FElementLine);
    }

    std::uint32_t Color(ElementAttributes &attributes, const char *name, std::uint32_t fallback) {
        return OptionalColor(attributes, name).value_or(fallback);
    }

    std::optional<std::uint32_t> OptionalColor(ElementAttributes &attributes, const char *name) {
        const auto text = attributes.Take(QLatin1String(name));
        if (!text)
            return std::nullopt;
        bool ok = text->size() == 7 && text->startsWith(u'#');
        const unsigned rgb = ok ? text->mid(1).toUInt(&ok, 16) : 0;
        if (!ok)
            Fail(QStringLiteral("attribute \"%1\" is not a colour \"#RRGGBB\": \"%2\"")
                     .arg(QLatin1String(name), *text),
                 FElementLine);
        return std::uint32_t{((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16)};
    }

    template <typename Enum, std::size_t N>
    Enum Choice(ElementAttributes &attributes, const char *name,
                const std::array<std::pair<Enum, const char *>, N> &names, Enum fallback) {
        const auto text = attributes.Take(QLatin1String(name));
        if (!text)
            return fallback;
        const auto value = ValueOf(names, *text);
        if (!value)
            Fail(QStringLiteral("attribute \"%1\" has an unknown value \"%2\"")
                     .arg(QLatin1String(name), *text),
                 FElementLine);
        return *value;
    }

    TemplateFont Font(ElementAttributes &attributes, const TemplateFont &base) {
        TemplateFont font = base;
        if (const auto name = attributes.Take(QStringLiteral("font")))
            font.name = *name;
        font.size = Number(attributes, "size", base.size, 1);
        if (font.size > MaxFontSize)
            Fail(QStringLiteral("attribute \"size\" must not be above %1").arg(MaxFontSize), FElementLine);
        font.bold = Flag(attributes, "bold", base.bold);
        font.italic = Flag(attributes, "italic", base.italic);
        font.underline = Flag(attributes, "underline", base.underline);
        font.color = Color(attributes, "color", base.color);
        return font;
    }

    TemplateReport ParseReport() {
        ElementAttributes attributes(FXml.attributes());
        TemplateReport report;
        report.name = Required(attributes, "name").trimmed();
        if (report.name.isEmpty())
            Fail(QStringLiteral("a report name must not be empty"), FElementLine);
        report.fullName = attributes.Take(QStringLiteral("fullName")).value_or(QString());
        report.description = attributes.Take(QStringLiteral("description")).value_or(QString());
        report.category = attributes.Take(QStringLiteral("category")).value_or(QString());
        report.alwaysGenerate = Flag(attributes, "alwaysGenerate", false);
        report.font = Font(attributes, TemplateFont());
        CheckNoneLeft(attributes);
        const qint64 reportLine = FElementLine;
        while (NextChild()) {
            ExpectElement("page");
            report.pages.push_back(ParsePage(report.font));
        }
        if (report.pages.empty())
            Fail(QStringLiteral("report \"%1\" has no page").arg(report.name), reportLine);
        return report;
    }

    TemplatePage ParsePage(const TemplateFont &reportFont) {
        ElementAttributes attributes(FXml.attributes());
        TemplatePage page;
        page.paper = attributes.Take(QStringLiteral("paper")).value_or(page.paper);
        if (page.paper == QLatin1String(CustomPaperName)) {
            page.paperWidth = RequiredNumber(attributes, "width");
            page.paperHeight = RequiredNumber(attributes, "height");
            if (page.paperWidth <= 0 || page.paperHeight <= 0)
                Fail(QStringLiteral("a custom paper size must be positive"), FElementLine);
        } else {
            const auto paper = std::find_if(PaperSizes.begin(), PaperSizes.end(), [&](const PaperSize &size) {
                return page.paper == QLatin1String(size.name);
            });
            if (paper == PaperSizes.end())
                Fail(QStringLiteral("unknown paper \"%1\"").arg(page.paper), FElementLine);
            page.paperWidth = paper->width;
            page.paperHeight = paper->height;
        }
        page.orientation = Choice(attributes, "orientation", OrientationNames, page.orientation);
        page.marginLeft = Number(attributes, "marginLeft", page.marginLeft);
        page.marginRight = Number(attributes, "marginRight", page.marginRight);
        page.marginTop = Number(attributes, "marginTop", page.marginTop);
        page.marginBottom = Number(attributes, "marginBottom", page.marginBottom);
        CheckNoneLeft(attributes);

        const bool landscape = page.orientation == TemplateOrientation::Landscape;
        const double width = landscape ? page.paperHeight : page.paperWidth;
        const double height = landscape ? page.paperWidth : page.paperHeight;
        if (page.marginLeft + page.marginRight >= width || page.marginTop + page.marginBottom >= height)
            Fail(QStringLiteral("the margins leave no room on the page"), FElementLine);

        while (NextChild()) {
            const auto kind = ValueOf(BandElementNames, FXml.name());
            if (!kind)
                Fail(QStringLiteral("unknown element <%1>").arg(FXml.name()));
            if ((*kind == BandKind::PageHeader || *kind == BandKind::PageFooter) &&
                std::any_of(page.bands.begin(), page.bands.end(),
                            [&](const TemplateBand &band) { return band.kind == *kind; }))
                Fail(QStringLiteral("a page has only one <%1>").arg(FXml.name()));
            page.bands.push_back(*kind == BandKind::Group ? ParseGroup(reportFont)
                                                          : ParseBand(*kind, reportFont));
        }
        double fixedHeight = 0;
        for (const auto &band : page.bands)
            if (band.kind == BandKind::PageHeader || band.kind == BandKind::PageFooter)
                fixedHeight += band.height;
        if (fixedHeight >= height - page.marginTop - page.marginBottom)
            Fail(QStringLiteral("the page header and footer leave no room on the page"), FElementLine);
        return page;
    }

    // A group's bands are printed once per row of its data set; groups nest.
    TemplateBand ParseGroup(const TemplateFont &reportFont) {
        ElementAttributes attributes(FXml.attributes());
        TemplateBand group;
        group.kind = BandKind::Group;
        group.data = DataSetName(Required(attributes, "data"));
        group.when = When(attributes);
        group.newPage = Flag(attributes, "newPage", false);
        CheckNoneLeft(attributes);
        const qint64 groupLine = FElementLine;
        while (NextChild()) {
            const auto kind = ValueOf(BandElementNames, FXml.name());
            if (!kind)
                Fail(QStringLiteral("unknown element <%1>").arg(FXml.name()));
            if (*kind == BandKind::PageHeader || *kind == BandKind::PageFooter)
                Fail(QStringLiteral("<%1> belongs to the page, not to a <group>").arg(FXml.name()));
            group.bands.push_back(*kind == BandKind::Group ? ParseGroup(reportFont)
                                                           : ParseBand(*kind, reportFont));
        }
        if (group.bands.empty())
            Fail(QStringLiteral("<group> has no band"), groupLine);
        return group;
    }

    QString DataSetName(const QString &name) {
        if (name.trimmed().isEmpty() || name.contains(u'.') || name.contains(u'$') || name.contains(u'{') ||
            name.contains(u'}') || name.contains(u'(') || name.contains(u')') || name.startsWith(u'@'))
            Fail(QStringLiteral("a bad data set name \"%1\"").arg(name), FElementLine);
        return name;
    }

    // "when" names a parameter, or with "$" a data set (printed while it has rows) or a field of its
    // current row (printed while it is not empty).
    QString When(ElementAttributes &attributes) {
        const QString when = attributes.Take(QStringLiteral("when")).value_or(QString());
        if (when.startsWith(u'$')) {
            try {
                const TextPiece piece = ParseDataSetReference(when, true);
                if (piece.kind != TextPiece::Kind::Field && piece.kind != TextPiece::Kind::SetRows)
                    throw std::invalid_argument("");
                if (piece.kind == TextPiece::Kind::SetRows && when.contains(u'.'))
                    throw std::invalid_argument("");
            } catch (const std::invalid_argument &) {
                Fail(QStringLiteral("a bad data set condition \"%1\"").arg(when), FElementLine);
            }
        }
        return when;
    }

    TemplateBand ParseBand(BandKind kind, const TemplateFont &reportFont) {
        ElementAttributes attributes(FXml.attributes());
        TemplateBand band;
        band.kind = kind;
        band.height = RequiredNumber(attributes, "height");
        if (band.height < 0 || (kind == BandKind::Detail && band.height == 0))
            Fail(QStringLiteral("<%1> needs a %2 height")
                     .arg(FXml.name(), kind == BandKind::Detail ? "positive" : "non-negative"),
                 FElementLine);
        band.when = When(attributes);
        if (kind == BandKind::Detail) {
            const auto repeat = attributes.Take(QStringLiteral("repeat"));
            const auto data = attributes.Take(QStringLiteral("data"));
            if (repeat.has_value() == data.has_value())
                Fail(QStringLiteral("<detail> needs either a \"repeat\" or a \"data\" attribute"),
                     FElementLine);
            if (repeat) {
                band.repeat = *repeat;
                if (!band.repeat.contains(QLatin1String("{i}")))
                    Fail(QStringLiteral("the repeat parameter \"%1\" must contain {i}").arg(band.repeat),
                         FElementLine);
            } else {
                band.data = DataSetName(*data);
            }
        }
        CheckNoneLeft(attributes);
        while (NextChild()) {
            const auto componentKind = ValueOf(ComponentElementNames, FXml.name());
            if (!componentKind)
                Fail(QStringLiteral("unknown element <%1>").arg(FXml.name()));
            band.components.push_back(ParseComponent(*componentKind, reportFont));
        }
        return band;
    }

    TemplateComponent ParseComponent(ComponentKind kind, const TemplateFont &reportFont) {
        ElementAttributes attributes(FXml.attributes());
        TemplateComponent component;
        component.kind = kind;
        component.when = When(attributes);
        switch (kind) {
        case ComponentKind::Text:
        case ComponentKind::DataText:
            component.x = RequiredNumber(attributes, "x");
            component.y = RequiredNumber(attributes, "y");
            component.align = Choice(attributes, "align", AlignNames, TemplateAlign::Left);
            component.font = Font(attributes, reportFont);
            break;
        case ComponentKind::Memo:
            ReadBox(attributes, component);
            component.align = Choice(attributes, "align", AlignNames, TemplateAlign::Left);
            component.border = Flag(attributes, "border", false);
            component.pen = Number(attributes, "pen", component.pen);
            component.font = Font(attributes, reportFont);
            break;
        case ComponentKind::Line:
            component.x = RequiredNumber(attributes, "x1");
            component.y = RequiredNumber(attributes, "y1");
            component.x2 = RequiredNumber(attributes, "x2");
            component.y2 = RequiredNumber(attributes, "y2");
            component.pen = Number(attributes, "pen", component.pen);
            component.penColor = Color(attributes, "color", 0);
            break;
        case ComponentKind::Rectangle:
            ReadBox(attributes, component);
            component.pen = Number(attributes, "pen", component.pen);
            component.penColor = Color(attributes, "color", 0);
            if (const auto fill = OptionalColor(attributes, "fill")) {
                component.filled = true;
                component.fillColor = *fill;
            }
            break;
        case ComponentKind::Picture:
            ReadBox(attributes, component);
            component.file = Required(attributes, "file");
            component.image = ReadPicture(component.file);
            break;
        }
        CheckNoneLeft(attributes);
        const bool holdsText =
            kind == ComponentKind::Text || kind == ComponentKind::DataText || kind == ComponentKind::Memo;
        const QString elementName = FXml.name().toString();
        const QString content = FXml.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
        if (FXml.hasError())
            Fail(FXml.error() == QXmlStreamReader::UnexpectedElementError
                     ? QStringLiteral("<%1> cannot hold elements").arg(elementName)
                     : QString());
        RequireUnicode(content, FElementLine);
        if (kind == ComponentKind::DataText || kind == ComponentKind::Memo) {
            try {
                ParseTemplateText(content);
            } catch (const std::invalid_argument &error) {
                Fail(QString::fromStdString(error.what()), FElementLine);
            }
        }
        if (holdsText)
            component.text = content;
        else if (!content.trimmed().isEmpty())
            Fail(QStringLiteral("<%1> cannot hold text").arg(elementName));
        return component;
    }

    void ReadBox(ElementAttributes &attributes, TemplateComponent &component) {
        component.x = RequiredNumber(attributes, "x");
        component.y = RequiredNumber(attributes, "y");
        component.width = RequiredNumber(attributes, "width");
        component.height = RequiredNumber(attributes, "height");
        if (component.width <= 0 || component.height <= 0)
            Fail(QStringLiteral("<%1> needs a positive width and height").arg(FXml.name()), FElementLine);
    }

    QImage ReadPicture(const QString &file) {
        // A template names pictures of its own folder; it must not pull other files into a report,
        // neither by its path nor through a symbolic link.
        const QString cleaned = QDir::cleanPath(file);
        if (QDir::isAbsolutePath(file) || cleaned == QLatin1String("..") ||
            cleaned.startsWith(QLatin1String("../")))
            Fail(QStringLiteral("picture \"%1\" must lie in the folder of the template").arg(file),
                 FElementLine);
        const QString path = QFileInfo(FBaseDir.filePath(cleaned)).canonicalFilePath();
        if (path.isEmpty())
            Fail(QStringLiteral("picture \"%1\" is missing or not a BMP or PNG file").arg(file),
                 FElementLine);
        const QString folder = FBaseDir.canonicalPath();
        if (folder.isEmpty() || !path.startsWith(folder + u'/'))
            Fail(QStringLiteral("picture \"%1\" must lie in the folder of the template").arg(file),
                 FElementLine);
        // A FIFO or device would block the report or never end.
        if (!IsRegularFile(path))
            Fail(QStringLiteral("picture \"%1\" is not a regular file").arg(file), FElementLine);
        // Every element naming the same file shares one decoded image, so the snapshot stores it once.
        if (const auto decoded = FPictures.find(path); decoded != FPictures.end())
            return decoded->second;
        return FPictures.emplace(path, DecodePicture(file, path)).first->second;
    }

    QImage DecodePicture(const QString &file, const QString &path) {
        // The image library's own complaints are not the user's message: ours follows.
        const StandardErrorSilenced quiet;
        QImageReader reader(path);
        const QByteArray format = reader.format();
        if (format != "bmp" && format != "png")
            Fail(QStringLiteral("picture \"%1\" is missing or not a BMP or PNG file").arg(file),
                 FElementLine);
        const QSize size = reader.size();
        if (size.isValid() && (size.width() > MaxPictureSide || size.height() > MaxPictureSide))
            Fail(QStringLiteral("picture \"%1\" is larger than %2 x %2 pixels").arg(file).arg(MaxPictureSide),
                 FElementLine);
        QImage image = reader.read();
        if (image.isNull())
            Fail(QStringLiteral("picture \"%1\" cannot be read: %2").arg(file, reader.errorString()),
                 FElementLine);
        return image;
    }

    QXmlStreamReader FXml;
    QString FSourceName;
    QDir FBaseDir;
    qint64 FElementLine = 0;
    std::map<QString, QImage> FPictures; // by canonical path
};

} // namespace

TemplateProject ReadTemplate(QIODevice &device, const QString &sourceName) {
    return TemplateParser(device, sourceName).Parse();
}

} // namespace fiscora
