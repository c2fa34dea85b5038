#pragma once

#include "BookFigures.h"

#include <QAbstractTableModel>
#include <QDate>
#include <QString>

#include <optional>
#include <vector>

namespace fiscora {

// The register of a tax year as a table: one row per asset placed in service by the year's end, and
// a last row with the totals of the rows the filter lets through.
class BookAssetTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        Number,
        Description,
        Type,
        Placed,
        Cost,
        Bonus,
        Before,
        InYear,
        Accumulated,
        BasisLeft,
        Done
    };
    static constexpr int kColumnCount = Done + 1;
    // What the columns sort by: cents, dates and texts.
    static constexpr int SortRole = Qt::UserRole;

    explicit BookAssetTableModel(QObject *parent = nullptr);

    void SetRegister(const std::vector<DepreciatedAsset> &assets, std::optional<int> taxYear);
    // Rows whose number, description or type holds the text (in any case); empty lets all through.
    void SetFilterText(const QString &text);
    bool Matches(int row) const;

    bool IsTotalsRow(int row) const { return row == static_cast<int>(FRows.size()); }
    const AssetRecord *RecordAt(int row) const;
    int RowOf(std::int64_t assetId) const; // -1 when the register has no such asset
    const RegisterFigures &Totals() const { return FTotals; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    struct Row {
        AssetRecord record;
        QString type;
        QDate placed;
        RegisterFigures figures;
        bool done = false;
    };
    QVariant DisplayOf(const Row &row, int column) const;
    QVariant SortKeyOf(const Row &row, int column) const;
    void SumTotals();

    std::vector<Row> FRows;
    RegisterFigures FTotals;
    QString FFilter;
};

} // namespace fiscora
