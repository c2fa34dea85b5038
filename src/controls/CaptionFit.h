#pragma once

#include <QFont>
#include <QStringList>

namespace fiscora {

// The font, made smaller in half-point steps (not below 6 points) until every text fits the width.
// The dialogs keep their fixed pixel layout whatever the installed fonts measure.
QFont FontFittingWidth(const QFont &font, const QStringList &texts, int width);

} // namespace fiscora
