#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace fiscora {

// The report parameters: an ordered list of "name=value" lines whose names match without regard to case.
class TFoParams {
public:
    using Entry = std::pair<QString, QString>;

    // Replaces the line of that name or appends one; an empty value removes the line.
    void SetParam(const QString &name, const QString &value);
    // The value, or empty text when the parameter is not set.
    QString GetParam(const QString &name) const;
    bool IsSet(const QString &name) const { return IndexOf(name) < FEntries.size(); }
    void ClearParams() {
        FEntries.clear();
        FIndex.clear();
    }

    const std::vector<Entry> &Entries() const { return FEntries; }
    // The lines as "name=value" texts, in order.
    QStringList Lines() const;

    bool operator==(const TFoParams &other) const { return FEntries == other.FEntries; }

private:
    std::size_t IndexOf(const QString &name) const;
    void Reindex();

    std::vector<Entry> FEntries;
    // Position of each entry by case-folded name: a report has hundreds of row parameters.
    QHash<QString, std::size_t> FIndex;
};

} // namespace fiscora
