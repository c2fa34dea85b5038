#include "report/system/FoProjectParams.h"

namespace fiscora {

std::size_t TFoParams::IndexOf(const QString &name) const {
    return FIndex.value(name.toCaseFolded(), FEntries.size());
}

void TFoParams::Reindex() {
    FIndex.clear();
    for (std::size_t index = 0; index < FEntries.size(); ++index)
        FIndex.insert(FEntries[index].first.toCaseFolded(), index);
}

void TFoParams::SetParam(const QString &name, const QString &value) {
    const std::size_t index = IndexOf(name);
    const bool present = index < FEntries.size();
    if (value.isEmpty()) {
        if (present) {
            FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(index));
            Reindex();
        }
    } else if (present) {
        // The line is rewritten whole, so the name takes the spelling of the latest call.
        FEntries[index] = Entry(name, value);
    } else {
        FIndex.insert(name.toCaseFolded(), FEntries.size());
        FEntries.emplace_back(name, value);
    }
}

QString TFoParams::GetParam(const QString &name) const {
    const std::size_t index = IndexOf(name);
    return index < FEntries.size() ? FEntries[index].second : QString();
}

QStringList TFoParams::Lines() const {
    QStringList lines;
    for (const auto &[name, value] : FEntries)
        lines << name + u'=' + value;
    return lines;
}

} // namespace fiscora
