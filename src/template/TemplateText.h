#pragma once

#include "report/core/FoTypes.h"

#include <QString>

#include <functional>
#include <vector>

namespace fiscora {

// The texts of data texts and memos: literal text with placeholders in braces.
//   {Name}      the value of the report parameter Name ("" when it is not set)
//   {Name{i}}   inside a detail band, {i} in a name stands for the row number: {YearEnd{i}}
//   {i}         the row number itself
//   {n}         the number of rows of the detail band (the last row number); usable in names too,
//               so {AccumDepr{n}} is the last row's value
//   {@Page} {@Pages} {@Date} {@Time}   page number, total pages, report date and time (canvas macros)
//   {$Set.Field}       the field of the current row of data set Set
//   {$Set.@Row}        the number of that row; {$Set.@Rows} the number of rows of the set
//   {$Set.@Sum(Field)} the total of the field's amounts over every row of the set
//   {{ and }}   literal braces
struct TextPiece {
    enum class Kind { Literal, Param, Row, RowCount, Macro, Field, SetRow, SetRows, SetSum };
    Kind kind = Kind::Literal;
    QString text;  // literal text, parameter name pattern or data set name
    QString field; // Field and SetSum: the field's name
    TMacroID macro = TMacroID::midCurrentPage;
};

// A data set reference "$Set.Member" (the text after "{" of a placeholder, or a "when" name) as a
// piece of kind Field, SetRow, SetRows or SetSum; "$Set" alone, allowed where `wholeSet`, is a
// SetRows piece. Raises std::invalid_argument describing a malformed reference.
TextPiece ParseDataSetReference(const QString &reference, bool wholeSet = false);

// Splits a template text; raises std::invalid_argument describing a malformed placeholder.
std::vector<TextPiece> ParseTemplateText(const QString &text);

// A parameter name pattern with every "{i}" replaced by the row number and every "{n}" by the row count.
QString RowParamName(const QString &pattern, int row, int rowCount = 0);

struct TextValues {
    std::function<QString(const QString &name)> param;
    std::function<QString(TMacroID id)> macro;
    std::function<QString(const TextPiece &piece)> dataSet; // Field, SetRow, SetRows and SetSum pieces
    int row = 0;
    int rowCount = 0;
};

// A report parameter's value as the text it prints: it is data, never markup. Control characters
// (rich-text commands among them) become spaces, and a marker prefix (character 253 and "$FOL") is
// broken by an invisible word joiner, so that the value prints as it reads.
QString ParameterAsText(const QString &value);

QString ExpandTemplateText(const std::vector<TextPiece> &pieces, const TextValues &values);

} // namespace fiscora
