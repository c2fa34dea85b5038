#pragma once

#include <QSortFilterProxyModel>

namespace fiscora {

class BookAssetTableModel;

// Sorts and filters the register's rows; the totals row stays last whichever way a column sorts.
// Texts compare as people read them: asset number "9" before "10".
class BookAssetSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit BookAssetSortProxy(BookAssetTableModel &source, QObject *parent = nullptr);

    void SetFilterText(const QString &text);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;
    bool lessThan(const QModelIndex &left, const QModelIndex &right) const override;

private:
    BookAssetTableModel &FSource;
};

} // namespace fiscora
