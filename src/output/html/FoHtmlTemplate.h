#pragma once

#include <QString>

namespace fiscora {

// What the tags of a page template stand for on one page.
struct TFoHtmlTagValues {
    int PageNo = 1;
    int PageCount = 1;
    int MaxY = 0; // pixels: the footer's top
};

// The page template of the HTML pages: a head, the text before the report's elements ("pre") and
// the text after them ("post"), with the pixel offsets a "<FOLIO OffsetX=… OffsetY=…>" tag sets.
class TFoHtmlTemplate {
public:
    // The default template: no head, a style sheet that positions DIV elements, and a footer with
    // "Previous Page" and "Next Page" links.
    TFoHtmlTemplate();

    // Head + pre + "{%Report%}" + post.
    QString Text() const;
    // Splits a template text at its "{%Report%}" tag and the "</HEAD" before it; an empty text
    // restores the default. Raises EFolioReport when a tag is missing (the pieces may then already be
    // partly replaced) and EConvertError for an offset that is no whole number.
    void SetText(const QString &T);

    const QString &Head() const { return FHead; }
    const QString &Pre() const { return FPre; }
    const QString &Post() const { return FPost; }
    int OffsetX() const { return FOffsetX; }
    int OffsetY() const { return FOffsetY; }

private:
    void ReadFolioTag(const QString &T);

    QString FHead;
    QString FPre;
    QString FPost;
    int FOffsetX = 0;
    int FOffsetY = 0;
};

// A template piece with every tag ("{%PageNo%}", "{%TotalPages%}", "{%MaxY%}", "{%PrevPageURL%}",
// "{%NextPageURL%}", "{%FirstPageURL%}", "{%LastPageURL%}") replaced, letter case ignored.
QString SubstituteHtmlTags(const QString &Piece, const TFoHtmlTagValues &Values);

// The page's script: the page-file pattern, page number and count, and the GotoPage, NextPage and
// PrevPage functions the footer's links call. Every line ends with CR LF.
QString HtmlScriptBlock(const QString &PageURL, int PageNo, int PageCount);

} // namespace fiscora
