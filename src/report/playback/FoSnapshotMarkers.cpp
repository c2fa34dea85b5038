#include "report/playback/FoSnapshotMarkers.h"

#include "report/core/FoMacros.h"

#include <algorithm>

namespace fiscora {

namespace {

// Bounds on marker expansion: a variable whose value names itself must not expand forever.
constexpr int MaxMarkerExpansions = 64;
constexpr qsizetype MaxExpandedLength = 1 << 16;

} // namespace

QString ExpandSnapshotMarkers(const QString &Text, const std::function<QString(int MacroID)> &MacroText,
                              const std::function<QString(const QString &Name)> &VarValue) {
    // Most texts hold no marker: a single-character scan settles that far faster than a substring search.
    if (!Text.contains(QChar(kMarkerChar)))
        return Text;
    qsizetype marker = Text.indexOf(MarkerPrefix());
    if (marker < 0)
        return Text;
    QString text = Text;
    int expansions = 0;
    while (marker >= 0) {
        if (++expansions > MaxMarkerExpansions || text.size() > MaxExpandedLength)
            break; // a self-referring value: leave the rest as it is
        const qsizetype kindAt = marker + MarkerPrefix().size();
        const QChar kind = kindAt < text.size() ? text.at(kindAt) : QChar();
        if (kind == QChar(kMacroKind)) {
            const QString digits = text.mid(kindAt + 1, 2);
            bool ok = false;
            const int id = digits.size() == 2 ? digits.toInt(&ok) : -1;
            text.replace(marker, std::min<qsizetype>(MarkerPrefix().size() + 3, text.size() - marker),
                         ok ? MacroText(id) : QString());
        } else if (kind == QChar(kVariableKind)) {
            const qsizetype nameAt = kindAt + 1;
            if (nameAt < text.size() && text.at(nameAt) == QChar(kVarNameStart)) {
                const qsizetype close = text.indexOf(QChar(kVarNameEnd), nameAt + 1);
                const qsizetype end = close < 0 ? text.size() : close + 1;
                const QString name = text.mid(nameAt + 1, (close < 0 ? text.size() : close) - nameAt - 1);
                text.replace(marker, end - marker, VarValue(name));
            } else {
                text.remove(marker, std::min<qsizetype>(MarkerPrefix().size() + 2, text.size() - marker));
            }
        } else {
            // Not a marker after all: look further on.
            marker = text.indexOf(MarkerPrefix(), marker + 1);
            continue;
        }
        marker = text.indexOf(MarkerPrefix());
    }
    return text;
}

} // namespace fiscora
