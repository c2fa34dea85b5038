#pragma once

#include <QString>
#include <QStringView>

namespace fiscora {

// Report texts written into HTML pages. A report text is data: "&", "<", ">" and the double quote
// become character references, so no text can open an element, close an attribute or start a
// script; characters the Windows-1252 pages cannot hold become numeric character references.

// The content of a text element. Without breaking spaces every space is a "&nbsp;"; with them only
// the leading spaces of a text of three or more characters that starts with two spaces are.
QString HtmlTextContent(QStringView Text, bool UseBreakingSpaces);

// A value for a double-quoted attribute (a link address, a picture reference).
QString HtmlAttributeValue(QStringView Text);

// A font face for the single-quoted family name inside a style attribute: the characters that
// could end the name or the declaration are dropped.
QString HtmlFontFace(QStringView Name);

// A double-quoted script string literal that holds the text as it is, whatever it contains.
QString ScriptStringLiteral(QStringView Text);

// True for an address that runs script when followed ("javascript:", "vbscript:", "data:"), which
// a report may not link to.
bool IsScriptAddress(QStringView Address);

} // namespace fiscora
