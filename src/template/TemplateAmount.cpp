#include "TemplateAmount.h"

#include <QStringList>

#include <algorithm>
#include <limits>

namespace fiscora {

std::optional<AmountValue> ParseAmountText(const QString &text) {
    QString body = text.trimmed();
    bool negative = false;
    if (body.startsWith(u'(') && body.endsWith(u')')) {
        negative = true;
        body = body.mid(1, body.size() - 2).trimmed();
    } else if (body.startsWith(u'-')) {
        negative = true;
        body = body.mid(1);
    }
    AmountValue value;
    if (body.startsWith(u'$')) {
        value.style.currencySign = true;
        body = body.mid(1);
    }
    const qsizetype point = body.indexOf(u'.');
    const QString whole = point < 0 ? body : body.left(point);
    const QString fraction = point < 0 ? QString() : body.mid(point + 1);
    if (whole.isEmpty() || fraction.size() > 2 || (point >= 0 && fraction.isEmpty()))
        return std::nullopt;
    // Separators, where there are any, stand between groups of three digits.
    const QStringList groups = whole.split(u',');
    value.style.grouped = groups.size() > 1;
    for (int index = 0; index < groups.size(); ++index) {
        const QString &group = groups[index];
        if (group.isEmpty() || (index > 0 && group.size() != 3) ||
            (index == 0 && value.style.grouped && group.size() > 3))
            return std::nullopt;
    }
    constexpr std::int64_t Limit = std::numeric_limits<std::int64_t>::max() / 1000;
    std::int64_t cents = 0;
    for (const QChar ch : QString(groups.join(QString())) + fraction.leftJustified(2, u'0')) {
        if (ch < u'0' || ch > u'9' || cents > Limit)
            return std::nullopt;
        cents = cents * 10 + (ch.unicode() - u'0');
    }
    value.style.decimals = static_cast<int>(fraction.size());
    value.cents = negative ? -cents : cents;
    return value;
}

void AmountTotal::Add(const AmountValue &value) {
    FCents += value.cents;
    FStyle.currencySign = FStyle.currencySign || value.style.currencySign;
    FStyle.grouped = FStyle.grouped || value.style.grouped;
    FStyle.decimals = std::max(FStyle.decimals, value.style.decimals);
}

QString AmountTotal::Text() const {
    const std::uint64_t magnitude =
        FCents < 0 ? 0 - static_cast<std::uint64_t>(FCents) : static_cast<std::uint64_t>(FCents);
    QString whole = QString::number(magnitude / 100);
    if (FStyle.grouped)
        for (qsizetype at = whole.size() - 3; at > 0; at -= 3)
            whole.insert(at, u',');
    QString text = FCents < 0 ? QStringLiteral("-") : QString();
    if (FStyle.currencySign)
        text += u'$';
    text += whole;
    if (FStyle.decimals > 0) {
        const QString cents = QStringLiteral("%1").arg(magnitude % 100, 2, 10, QChar(u'0'));
        text += u'.' + cents.left(FStyle.decimals);
    }
    return text;
}

} // namespace fiscora
