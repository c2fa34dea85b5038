#include "BookAssetSortProxy.h"

#include "BookAssetTableModel.h"

namespace fiscora {

namespace {

// Texts in people's order: case aside, and runs of digits by their value ("A-9" before "A-10").
int NaturalCompare(const QString &a, const QString &b) {
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype startA = i, startB = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            QStringView runA = QStringView(a).mid(startA, i - startA);
            QStringView runB = QStringView(b).mid(startB, j - startB);
            while (runA.size() > 1 && runA.front() == u'0')
                runA = runA.mid(1);
            while (runB.size() > 1 && runB.front() == u'0')
                runB = runB.mid(1);
            if (runA.size() != runB.size())
                return runA.size() < runB.size() ? -1 : 1;
            if (const int order = runA.compare(runB); order != 0)
                return order;
            continue;
        }
        const int order = QString::compare(QString(a[i]), QString(b[j]), Qt::CaseInsensitive);
        if (order != 0)
            return order;
        ++i;
        ++j;
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

} // namespace

BookAssetSortProxy::BookAssetSortProxy(BookAssetTableModel &source, QObject *parent)
    : QSortFilterProxyModel(parent), FSource(source) {
    setSortRole(BookAssetTableModel::SortRole);
    setSourceModel(&source);
}

void BookAssetSortProxy::SetFilterText(const QString &text) {
    FSource.SetFilterText(text);
    invalidateFilter();
}

bool BookAssetSortProxy::filterAcceptsRow(int sourceRow, const QModelIndex &) const {
    return FSource.Matches(sourceRow);
}

bool BookAssetSortProxy::lessThan(const QModelIndex &left, const QModelIndex &right) const {
    // The proxy reverses the comparison for a descending sort; the totals row must lose either way.
    if (FSource.IsTotalsRow(left.row()))
        return sortOrder() == Qt::DescendingOrder;
    if (FSource.IsTotalsRow(right.row()))
        return sortOrder() == Qt::AscendingOrder;
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    if (a.typeId() == QMetaType::QString)
        return NaturalCompare(a.toString(), b.toString()) < 0;
    return QVariant::compare(a, b) == QPartialOrdering::Less;
}

} // namespace fiscora
