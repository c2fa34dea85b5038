#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

namespace fiscora {

class TFoDataSet;
using TFoDataSetPtr = std::shared_ptr<const TFoDataSet>;

// Rows of named fields that a report prints band by band, handed to the report as they are (a
// report parameter is found by its name: thousands of rows do not belong there). A row may hold
// data sets of its own, such as an asset's schedule within the asset. Field and child names match
// without regard to case.
class TFoDataSet {
public:
    explicit TFoDataSet(const QStringList &fields);

    const QStringList &Fields() const { return FFields; }
    // The position of a field, or -1.
    int FieldIndex(const QString &name) const { return FFieldIndex.value(name.toCaseFolded(), -1); }

    // Appends a row; missing values are empty, extra ones are ignored. Returns its index.
    std::size_t AddRow(const QStringList &values);
    void SetChild(std::size_t row, const QString &name, TFoDataSetPtr child);

    std::size_t RowCount() const { return FRows.size(); }
    // Empty when the row or the field does not exist.
    QString Value(std::size_t row, int field) const;
    QString Value(std::size_t row, const QString &field) const { return Value(row, FieldIndex(field)); }
    // The row's data set of that name, or nullptr.
    const TFoDataSet *Child(std::size_t row, const QString &name) const;

private:
    struct Row {
        std::vector<QString> values;
        std::vector<std::pair<QString, TFoDataSetPtr>> children; // case-folded name; few per row
    };

    QStringList FFields;
    QHash<QString, int> FFieldIndex;
    std::vector<Row> FRows;
};

// The data sets a report run is given, by name (without regard to case).
class TFoDataSets {
public:
    void Set(const QString &name, TFoDataSetPtr set);
    const TFoDataSet *Find(const QString &name) const;
    void Clear() { FSets.clear(); }
    bool Empty() const { return FSets.isEmpty(); }

private:
    QHash<QString, TFoDataSetPtr> FSets;
};

} // namespace fiscora
