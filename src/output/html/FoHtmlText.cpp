#include "output/html/FoHtmlText.h"

#include "report/core/FoStreamAnsi.h"

namespace fiscora {

namespace {

void AppendCodePointReference(QString &out, char32_t codePoint) {
    out += QStringLiteral("&#");
    out += QString::number(codePoint);
    out += QLatin1Char(';');
}

// Appends the text with markup characters and characters outside the code page as references;
// the first `nbspCount` characters, when they are spaces, and every later space when `allSpaces`,
// become "&nbsp;".
void AppendEscaped(QString &out, QStringView text, qsizetype nbspCount, bool allSpaces) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        switch (unit) {
        case u'&':
            out += QStringLiteral("&amp;");
            continue;
        case u'<':
            out += QStringLiteral("&lt;");
            continue;
        case u'>':
            out += QStringLiteral("&gt;");
            continue;
        case u'"':
            out += QStringLiteral("&quot;");
            continue;
        case u' ':
            if (allSpaces || i < nbspCount)
                out += QStringLiteral("&nbsp;");
            else
                out += QLatin1Char(' ');
            continue;
        default:
            break;
        }
        if (AnsiHolds(unit)) {
            out += QChar(unit);
        } else if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            AppendCodePointReference(out, QChar::surrogateToUcs4(unit, text[i + 1].unicode()));
            ++i;
        } else if (QChar::isSurrogate(unit)) {
            AppendCodePointReference(out, 0xFFFD); // half a pair stands for no character
        } else {
            AppendCodePointReference(out, unit);
        }
    }
}

} // namespace

QString HtmlTextContent(QStringView Text, bool UseBreakingSpaces) {
    QString out;
    out.reserve(Text.size() + 16);
    if (!UseBreakingSpaces) {
        AppendEscaped(out, Text, 0, true);
        return out;
    }
    qsizetype leading = 0;
    if (Text.size() >= 3 && Text.startsWith(u"  "))
        while (leading < Text.size() && Text[leading] == QLatin1Char(' '))
            ++leading;
    AppendEscaped(out, Text, leading, false);
    return out;
}

QString HtmlAttributeValue(QStringView Text) {
    QString out;
    out.reserve(Text.size() + 16);
    AppendEscaped(out, Text, 0, false);
    return out;
}

QString HtmlFontFace(QStringView Name) {
    QString kept;
    kept.reserve(Name.size());
    for (const QChar ch : Name)
        if (ch.unicode() >= 0x20 && !QStringView(u"'\"\\;{}<>").contains(ch))
            kept += ch;
    return HtmlAttributeValue(kept);
}

QString ScriptStringLiteral(QStringView Text) {
    QString out = QStringLiteral("\"");
    for (const QChar ch : Text) {
        const char16_t unit = ch.unicode();
        // Quotes and backslashes would end the literal, "<" could end the script element, and
        // anything beyond printable ASCII is written as an escape so the code page cannot change it.
        if (unit == u'"' || unit == u'\\' || unit == u'<' || unit == u'>' || unit == u'&' || unit < 0x20 ||
            unit > 0x7E)
            out += QStringLiteral("\\u%1").arg(unit, 4, 16, QLatin1Char('0'));
        else
            out += ch;
    }
    out += QLatin1Char('"');
    return out;
}

bool IsScriptAddress(QStringView Address) {
    // Browsers ignore blanks and control characters inside a scheme ("java\tscript:").
    const qsizetype colon = Address.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    QString scheme;
    for (const QChar ch : Address.first(colon))
        if (ch.unicode() > 0x20)
            scheme += ch.toLower();
    return scheme == QLatin1String("javascript") || scheme == QLatin1String("vbscript") ||
           scheme == QLatin1String("data");
}

} // namespace fiscora
