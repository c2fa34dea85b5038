#pragma once

#include <QString>

namespace fiscora {

// Whether page PageNum is in a page selection such as "1-3,5,even": numbers and ranges ("-5", "7-"),
// "E"/"EVEN", "O"/"ODD" and "A"/"ALL", separated by commas; "R" selects nothing. A token that is no
// number raises EConvertError when it is reached.
bool PageInSelection(const QString &Selection, int PageNum);

} // namespace fiscora
