#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace fiscora {

// The named texts a report prints, in the order they were first set. Names match without regard to case.
class ReportParameters {
public:
    using Entry = std::pair<QString, QString>;

    // Replaces the entry of that name or appends one; an empty value removes the entry.
    void SetParam(const QString &name, const QString &value);
    QString GetParam(const QString &name) const;
    void ClearParams() { FEntries.clear(); }

    const std::vector<Entry> &Entries() const { return FEntries; }

private:
    // Index of the entry with that name, or the entry count when there is none.
    std::size_t IndexOf(const QString &name) const;

    std::vector<Entry> FEntries;
};

} // namespace fiscora
