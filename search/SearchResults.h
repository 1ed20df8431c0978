#pragma once

#include "search/model/SearchHit.h"

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

#include <vector>

// The hits of one search, newest first, as columns 日付, ページ, 内容.
class SearchResults final : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    // Qt::UserRole on the 内容 column: the match inside the context, as QPoint(start, length).
    static constexpr int kMatchRole = Qt::UserRole;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    void add(const QList<SearchHit>& hits); // keeps the order
    const SearchHit& hit(int row) const { return m_hits.at(size_t(row)); }

private:
    std::vector<SearchHit> m_hits;
};

// Draws the context with the match marked.
class MatchDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};
