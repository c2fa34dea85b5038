#include "report/system/FoDataSet.h"

namespace fiscora {

TFoDataSet::TFoDataSet(const QStringList &fields) : FFields(fields) {
    for (int index = 0; index < fields.size(); ++index)
        FFieldIndex.insert(fields[index].toCaseFolded(), index);
}

std::size_t TFoDataSet::AddRow(const QStringList &values) {
    Row row;
    row.values.resize(static_cast<std::size_t>(FFields.size()));
    for (int index = 0; index < std::min(values.size(), FFields.size()); ++index)
        row.values[static_cast<std::size_t>(index)] = values[index];
    FRows.push_back(std::move(row));
    return FRows.size() - 1;
}

void TFoDataSet::SetChild(std::size_t row, const QString &name, TFoDataSetPtr child) {
    if (row >= FRows.size())
        return;
    auto &children = FRows[row].children;
    const QString key = name.toCaseFolded();
    for (auto &entry : children)
        if (entry.first == key) {
            entry.second = std::move(child);
            return;
        }
    children.emplace_back(key, std::move(child));
}

QString TFoDataSet::Value(std::size_t row, int field) const {
    if (row >= FRows.size() || field < 0 || field >= FFields.size())
        return QString();
    return FRows[row].values[static_cast<std::size_t>(field)];
}

const TFoDataSet *TFoDataSet::Child(std::size_t row, const QString &name) const {
    if (row >= FRows.size())
        return nullptr;
    const QString key = name.toCaseFolded();
    for (const auto &entry : FRows[row].children)
        if (entry.first == key)
            return entry.second.get();
    return nullptr;
}

void TFoDataSets::Set(const QString &name, TFoDataSetPtr set) {
    if (set)
        FSets.insert(name.toCaseFolded(), std::move(set));
    else
        FSets.remove(name.toCaseFolded());
}

const TFoDataSet *TFoDataSets::Find(const QString &name) const {
    const auto found = FSets.constFind(name.toCaseFolded());
    return found == FSets.constEnd() ? nullptr : found->get();
}

} // namespace fiscora
