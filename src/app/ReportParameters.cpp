#include "ReportParameters.h"

#include <algorithm>

namespace fiscora {

std::size_t ReportParameters::IndexOf(const QString &name) const {
    const auto found = std::find_if(FEntries.begin(), FEntries.end(), [&](const Entry &entry) {
        return entry.first.compare(name, Qt::CaseInsensitive) == 0;
    });
    return static_cast<std::size_t>(found - FEntries.begin());
}

void ReportParameters::SetParam(const QString &name, const QString &value) {
    const std::size_t index = IndexOf(name);
    const bool present = index < FEntries.size();
    if (value.isEmpty()) {
        if (present)
            FEntries.erase(FEntries.begin() + static_cast<std::ptrdiff_t>(index));
    } else if (present) {
        FEntries[index].second = value;
    } else {
        FEntries.emplace_back(name, value);
    }
}

QString ReportParameters::GetParam(const QString &name) const {
    const std::size_t index = IndexOf(name);
    return index < FEntries.size() ? FEntries[index].second : QString();
}

} // namespace fiscora
