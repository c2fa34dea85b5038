#include "output/html/FoHtmlTemplate.h"

#include "ToolBox.h"
#include "output/html/FoHtmlText.h"
#include "report/core/FoErrors.h"

#include <QStringList>

#include <array>
#include <utility>

namespace fiscora {

namespace {

const QString kReportTag = QStringLiteral("{%Report%}");

QString Lines(std::initializer_list<const char *> lines) {
    QString text;
    for (const char *line : lines) {
        text += QLatin1String(line);
        text += QStringLiteral("\r\n");
    }
    return text;
}

QString DefaultPre() {
    return Lines({"<HTML><HEAD>", "<STYLE TYPE=\"text/css\">", "<!--", "DIV {position:absolute}", "-->",
                  "</STYLE>", "</HEAD>", "<BODY>"});
}

QString DefaultPost() {
    return Lines({"<DIV style=\"COLOR: #000000; FONT: 10pt 'Arial'; LEFT: 0px; TOP: {%MaxY%}px\">",
                  "<HR><P ALIGN=CENTER>", "<A HREF=\"{%PrevPageURL%}\">Previous Page</A>", " --------- ",
                  "<A HREF=\"{%NextPageURL%}\">Next Page</A>", "</P></DIV></BODY></HTML>"});
}

} // namespace

TFoHtmlTemplate::TFoHtmlTemplate() : FPre(DefaultPre()), FPost(DefaultPost()) {}

QString TFoHtmlTemplate::Text() const {
    return FHead + FPre + kReportTag + FPost;
}

void TFoHtmlTemplate::SetText(const QString &T) {
    if (T.isEmpty()) {
        *this = TFoHtmlTemplate();
        return;
    }
    const qsizetype report = T.indexOf(kReportTag, 0, Qt::CaseInsensitive);
    if (report < 0)
        throw EFolioReport(QStringLiteral("{%Report%} tag not found."));
    FPre = T.left(report);
    FPost = T.mid(report + kReportTag.size());
    const qsizetype headEnd = FPre.indexOf(QStringLiteral("</HEAD"), 0, Qt::CaseInsensitive);
    if (headEnd < 0)
        throw EFolioReport(QStringLiteral("</HEAD> tag not found."));
    FHead = FPre.left(headEnd);
    FPre.remove(0, headEnd);
    ReadFolioTag(T);
}

// "<FOLIO OffsetX=8 OffsetY=12>": name=value pairs separated by spaces; both offsets must be given.
void TFoHtmlTemplate::ReadFolioTag(const QString &T) {
    const QString tag = QStringLiteral("<FOLIO ");
    const qsizetype start = T.indexOf(tag);
    if (start < 0)
        return;
    const qsizetype from = start + tag.size();
    const qsizetype end = T.indexOf(QLatin1Char('>'), from);
    const QStringList pairs =
        T.mid(from, end < 0 ? -1 : end - from).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto valueOf = [&pairs](const QString &name) {
        for (const QString &pair : pairs)
            if (pair.section(QLatin1Char('='), 0, 0).compare(name, Qt::CaseInsensitive) == 0)
                return pair.section(QLatin1Char('='), 1);
        return QString();
    };
    FOffsetX = StrToInt(valueOf(QStringLiteral("OffsetX")).toStdString());
    FOffsetY = StrToInt(valueOf(QStringLiteral("OffsetY")).toStdString());
}

QString SubstituteHtmlTags(const QString &Piece, const TFoHtmlTagValues &Values) {
    if (!Piece.contains(QStringLiteral("{%")))
        return Piece;
    const QString pageCount = QString::number(Values.PageCount);
    const std::array<std::pair<QString, QString>, 7> tags = {{
        {QStringLiteral("{%PageNo%}"), QString::number(Values.PageNo)},
        {QStringLiteral("{%TotalPages%}"), pageCount},
        {QStringLiteral("{%MaxY%}"), QString::number(Values.MaxY)},
        {QStringLiteral("{%PrevPageURL%}"), QStringLiteral("javascript:PrevPage();")},
        {QStringLiteral("{%NextPageURL%}"), QStringLiteral("javascript:NextPage();")},
        {QStringLiteral("{%FirstPageURL%}"), QStringLiteral("javascript:GotoPage(1);")},
        {QStringLiteral("{%LastPageURL%}"),
         QStringLiteral("javascript:GotoPage(") + pageCount + QStringLiteral(");")},
    }};
    QString text = Piece;
    for (const auto &[tag, value] : tags)
        text.replace(tag, value, Qt::CaseInsensitive);
    return text;
}

QString HtmlScriptBlock(const QString &PageURL, int PageNo, int PageCount) {
    QString text = QStringLiteral("<SCRIPT Language=Javascript>\r\n");
    text += QStringLiteral("var GPageURL = ") + ScriptStringLiteral(PageURL) + QStringLiteral(";\r\n");
    text += QStringLiteral("var GPageNo = %1;\r\n").arg(PageNo);
    text += QStringLiteral("var GPageCount = %1;\r\n").arg(PageCount);
    text += Lines({"",
                   "function GotoPage(APageNo) {",
                   "  location.href = GPageURL.replace(/{%PAGENO%}/, APageNo);",
                   "}",
                   "",
                   "function NextPage() {",
                   "  if (GPageNo < GPageCount)",
                   "    {GotoPage(GPageNo + 1);}",
                   "  else",
                   "    {window.alert(\"This is the last page.\")}",
                   "}",
                   "",
                   "function PrevPage() {",
                   "  if (GPageNo > 1)",
                   "    {GotoPage(GPageNo - 1);}",
                   "  else",
                   "    {window.alert(\"This is the first page.\")}",
                   "}",
                   "",
                   "</SCRIPT>"});
    return text;
}

} // namespace fiscora
