#include "BookAssetTableModel.h"

#include "CentsText.h"
#include "InputValidation.h"
#include "Utf8Text.h"

#include <QFont>

namespace fiscora {

namespace {

const char *const kHeaders[BookAssetTableModel::kColumnCount] = {"Asset No.",
                                                                 "Description",
                                                                 "Type",
                                                                 "Placed in Service",
                                                                 "Cost",
                                                                 "Bonus",
                                                                 "Depreciation Before",
                                                                 "Depreciation in Year",
                                                                 "Accumulated",
                                                                 "Basis Left",
                                                                 "Fully Depreciated"};

bool IsAmountColumn(int column) {
    return column >= BookAssetTableModel::Cost && column <= BookAssetTableModel::BasisLeft;
}

Cents AmountOf(const RegisterFigures &figures, int column) {
    switch (column) {
    case BookAssetTableModel::Cost:
        return figures.cost;
    case BookAssetTableModel::Bonus:
        return figures.bonus;
    case BookAssetTableModel::Before:
        return figures.before;
    case BookAssetTableModel::InYear:
        return figures.inYear;
    case BookAssetTableModel::Accumulated:
        return figures.accumulated;
    default:
        return figures.basisLeft;
    }
}

QString Amount(Cents cents) {
    return ToQString(GroupedCentsText(cents));
}

} // namespace

BookAssetTableModel::BookAssetTableModel(QObject *parent) : QAbstractTableModel(parent) {}

void BookAssetTableModel::SetRegister(const std::vector<DepreciatedAsset> &assets,
                                      std::optional<int> taxYear) {
    beginResetModel();
    const AssetRegister reg = MakeAssetRegister(assets, taxYear);
    FRows.clear();
    FRows.reserve(reg.assets.size());
    for (std::size_t index = 0; index < reg.assets.size(); ++index) {
        const DepreciatedAsset &asset = *reg.assets[index];
        FRows.push_back(
            {asset.record, ToQString(std::string(DisplayText(asset.inputs.propertyType))),
             QDate::fromString(ToQString(asset.record.placedInService), QStringLiteral("MM/dd/yyyy")),
             reg.figures[index], taxYear && asset.LastTaxYear() <= *taxYear});
    }
    SumTotals();
    endResetModel();
}

void BookAssetTableModel::SetFilterText(const QString &text) {
    FFilter = text.trimmed();
    SumTotals();
    const int totals = static_cast<int>(FRows.size());
    emit dataChanged(index(totals, 0), index(totals, kColumnCount - 1));
}

bool BookAssetTableModel::Matches(int row) const {
    if (IsTotalsRow(row) || FFilter.isEmpty())
        return true;
    const Row &entry = FRows[static_cast<std::size_t>(row)];
    return ToQString(entry.record.assetNumber).contains(FFilter, Qt::CaseInsensitive) ||
           ToQString(entry.record.description).contains(FFilter, Qt::CaseInsensitive) ||
           entry.type.contains(FFilter, Qt::CaseInsensitive);
}

void BookAssetTableModel::SumTotals() {
    FTotals = {};
    for (std::size_t row = 0; row < FRows.size(); ++row)
        if (Matches(static_cast<int>(row)))
            FTotals += FRows[row].figures;
}

const AssetRecord *BookAssetTableModel::RecordAt(int row) const {
    if (row < 0 || row >= static_cast<int>(FRows.size()))
        return nullptr;
    return &FRows[static_cast<std::size_t>(row)].record;
}

int BookAssetTableModel::RowOf(std::int64_t assetId) const {
    for (std::size_t row = 0; row < FRows.size(); ++row)
        if (FRows[row].record.id == assetId)
            return static_cast<int>(row);
    return -1;
}

int BookAssetTableModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : static_cast<int>(FRows.size()) + 1;
}

int BookAssetTableModel::columnCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant BookAssetTableModel::DisplayOf(const Row &row, int column) const {
    switch (column) {
    case Number:
        return ToQString(row.record.assetNumber);
    case Description:
        return ToQString(row.record.description);
    case Type:
        return row.type;
    case Placed:
        return ToQString(row.record.placedInService);
    case Done:
        return row.done ? QStringLiteral("Yes") : QString();
    default:
        return Amount(AmountOf(row.figures, column));
    }
}

QVariant BookAssetTableModel::SortKeyOf(const Row &row, int column) const {
    switch (column) {
    case Placed:
        return row.placed;
    case Done:
        return row.done;
    default:
        if (IsAmountColumn(column))
            return QVariant::fromValue<qlonglong>(AmountOf(row.figures, column));
        return DisplayOf(row, column);
    }
}

QVariant BookAssetTableModel::data(const QModelIndex &index, int role) const {
    if (!index.isValid())
        return {};
    const int column = index.column();
    if (IsTotalsRow(index.row())) {
        if (role == Qt::DisplayRole) {
            if (column == Number)
                return QStringLiteral("Total");
            if (IsAmountColumn(column))
                return Amount(AmountOf(FTotals, column));
            return {};
        }
        if (role == Qt::FontRole) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
    } else {
        const Row &row = FRows[static_cast<std::size_t>(index.row())];
        if (role == Qt::DisplayRole)
            return DisplayOf(row, column);
        if (role == SortRole)
            return SortKeyOf(row, column);
    }
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue<int>((IsAmountColumn(column) ? Qt::AlignRight : Qt::AlignLeft) |
                                        Qt::AlignVCenter);
    return {};
}

QVariant BookAssetTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < kColumnCount)
        return QString::fromLatin1(kHeaders[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace fiscora
