#include "TemplateText.h"

#include "report/core/FoMacros.h"

#include <array>
#include <stdexcept>
#include <utility>

namespace fiscora {
namespace {

constexpr std::array<std::pair<const char *, TMacroID>, 4> MacroNames{{
    {"@Page", TMacroID::midCurrentPage},
    {"@Pages", TMacroID::midTotalPages},
    {"@Date", TMacroID::midCurrDateShort},
    {"@Time", TMacroID::midCurrTimeShort},
}};

// U+2060 WORD JOINER: invisible and unbreakable, it keeps a marker prefix in a value from being one.
constexpr char16_t kWordJoiner = 0x2060;

const QString RowToken = QStringLiteral("{i}");
const QString RowCountToken = QStringLiteral("{n}");

void AppendLiteral(std::vector<TextPiece> &pieces, QChar ch) {
    if (pieces.empty() || pieces.back().kind != TextPiece::Kind::Literal)
        pieces.push_back(TextPiece{});
    pieces.back().text += ch;
}

[[noreturn]] void Malformed(const QString &what) {
    throw std::invalid_argument(what.toStdString());
}

bool IsPlainName(const QString &name) {
    return !name.trimmed().isEmpty() && !name.contains(u'{') && !name.contains(u'}') &&
           !name.contains(u'(') && !name.contains(u')') && !name.startsWith(u'@');
}

} // namespace

TextPiece ParseDataSetReference(const QString &reference, bool wholeSet) {
    const auto bad = [&] { Malformed(QStringLiteral("a bad data set reference {%1}").arg(reference)); };
    if (!reference.startsWith(u'$'))
        bad();
    const qsizetype dot = reference.indexOf(u'.');
    TextPiece piece;
    piece.text = reference.mid(1, dot < 0 ? -1 : dot - 1);
    if (!IsPlainName(piece.text) || piece.text.contains(u'.') || piece.text.contains(u'$'))
        bad();
    if (dot < 0) {
        if (!wholeSet)
            bad();
        piece.kind = TextPiece::Kind::SetRows;
        return piece;
    }
    const QString member = reference.mid(dot + 1);
    if (member == QLatin1String("@Row")) {
        piece.kind = TextPiece::Kind::SetRow;
    } else if (member == QLatin1String("@Rows")) {
        piece.kind = TextPiece::Kind::SetRows;
    } else if (member.startsWith(QLatin1String("@Sum(")) && member.endsWith(u')')) {
        piece.kind = TextPiece::Kind::SetSum;
        piece.field = member.mid(5, member.size() - 6);
        if (!IsPlainName(piece.field) || piece.field.contains(u'.'))
            bad();
    } else {
        piece.kind = TextPiece::Kind::Field;
        piece.field = member;
        if (!IsPlainName(piece.field) || piece.field.contains(u'.'))
            bad();
    }
    return piece;
}

std::vector<TextPiece> ParseTemplateText(const QString &text) {
    std::vector<TextPiece> pieces;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar ch = text[pos];
        if ((ch == u'{' || ch == u'}') && pos + 1 < text.size() && text[pos + 1] == ch) {
            AppendLiteral(pieces, ch);
            pos += 2;
            continue;
        }
        if (ch == u'}')
            Malformed(QStringLiteral("a \"}\" without its \"{\" in \"%1\"").arg(text));
        if (ch != u'{') {
            AppendLiteral(pieces, ch);
            ++pos;
            continue;
        }
        // Find the matching brace; names may hold {i}.
        qsizetype end = pos + 1;
        int depth = 1;
        for (; end < text.size() && depth > 0; ++end) {
            if (text[end] == u'{')
                ++depth;
            else if (text[end] == u'}')
                --depth;
        }
        if (depth > 0)
            Malformed(QStringLiteral("an unclosed \"{\" in \"%1\"").arg(text));
        const QString name = text.mid(pos + 1, end - pos - 2);
        pos = end;
        TextPiece piece;
        if (name == QLatin1String("i")) {
            piece.kind = TextPiece::Kind::Row;
        } else if (name == QLatin1String("n")) {
            piece.kind = TextPiece::Kind::RowCount;
        } else if (name.startsWith(u'@')) {
            const auto found = std::find_if(MacroNames.begin(), MacroNames.end(), [&](const auto &entry) {
                return name == QLatin1String(entry.first);
            });
            if (found == MacroNames.end())
                Malformed(QStringLiteral("unknown macro {%1}").arg(name));
            piece.kind = TextPiece::Kind::Macro;
            piece.macro = found->second;
        } else if (name.startsWith(u'$')) {
            piece = ParseDataSetReference(name);
        } else {
            QString withoutRows = name;
            withoutRows.remove(RowToken);
            withoutRows.remove(RowCountToken);
            if (withoutRows.trimmed().isEmpty() || withoutRows.contains(u'{') || withoutRows.contains(u'}'))
                Malformed(QStringLiteral("a bad parameter name {%1}").arg(name));
            piece.kind = TextPiece::Kind::Param;
            piece.text = name;
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

QString RowParamName(const QString &pattern, int row, int rowCount) {
    QString name = pattern;
    return name.replace(RowToken, QString::number(row)).replace(RowCountToken, QString::number(rowCount));
}

QString ParameterAsText(const QString &value) {
    QString text = value;
    for (QChar &ch : text)
        if (ch.category() == QChar::Other_Control)
            ch = u' ';
    if (HasMarker(text))
        text.replace(MarkerPrefix(),
                     QString(QChar(kMarkerChar)) + QChar(kWordJoiner) + MarkerPrefix().mid(1));
    return text;
}

QString ExpandTemplateText(const std::vector<TextPiece> &pieces, const TextValues &values) {
    QString result;
    for (const auto &piece : pieces) {
        switch (piece.kind) {
        case TextPiece::Kind::Literal:
            result += piece.text;
            break;
        case TextPiece::Kind::Param:
            result += ParameterAsText(values.param(RowParamName(piece.text, values.row, values.rowCount)));
            break;
        case TextPiece::Kind::Row:
            result += QString::number(values.row);
            break;
        case TextPiece::Kind::RowCount:
            result += QString::number(values.rowCount);
            break;
        case TextPiece::Kind::Macro:
            result += values.macro(piece.macro);
            break;
        case TextPiece::Kind::Field:
        case TextPiece::Kind::SetSum:
            result += values.dataSet ? ParameterAsText(values.dataSet(piece)) : QString();
            break;
        case TextPiece::Kind::SetRow:
        case TextPiece::Kind::SetRows:
            result += values.dataSet ? values.dataSet(piece) : QString();
            break;
        }
    }
    return result;
}

} // namespace fiscora
