#include "search/SearchResults.h"

#include <QApplication>
#include <QPainter>

#include <algorithm>

int SearchResults::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_hits.size());
}

int SearchResults::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant SearchResults::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || size_t(index.row()) >= m_hits.size())
        return {};
    const SearchHit& h = m_hits[size_t(index.row())];
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case 0:
            return hitDateText(h);
        case 1:
            return hitPageText(h);
        default:
            return h.context;
        }
    }
    if (role == kMatchRole && index.column() == 2)
        return QPoint(int(h.contextStart), int(h.contextLength));
    return {};
}

QVariant SearchResults::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char16_t* const names[] = {u"日付", u"ページ", u"内容"};
    return section >= 0 && section < 3 ? QString::fromUtf16(names[section]) : QVariant();
}

void SearchResults::clear()
{
    beginResetModel();
    m_hits.clear();
    endResetModel();
}

void SearchResults::add(const QList<SearchHit>& hits)
{
    QList<SearchHit> sorted = hits;
    std::sort(sorted.begin(), sorted.end(), newerFirst);
    // A batch mostly lands in one place: insert it run by run.
    qsizetype i = 0;
    while (i < sorted.size()) {
        const auto at = std::upper_bound(m_hits.begin(), m_hits.end(), sorted[i], newerFirst);
        const int row = int(at - m_hits.begin());
        qsizetype j = i + 1;
        while (j < sorted.size() && (at == m_hits.end() || newerFirst(sorted[j], *at)))
            ++j;
        beginInsertRows({}, row, row + int(j - i) - 1);
        m_hits.insert(at, sorted.begin() + i, sorted.begin() + j);
        endInsertRows();
        i = j;
    }
}

void MatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const
{
    const QVariant match = index.data(SearchResults::kMatchRole);
    if (!match.isValid()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, opt.widget);

    const QPoint range = match.toPoint();
    const QString before = text.left(range.x());
    const QString found = text.mid(range.x(), range.y());
    const QString after = text.mid(range.x() + range.y());
    const QRect area =
        style->subElementRect(QStyle::SE_ItemViewItemText, &opt, opt.widget).adjusted(2, 0, -2, 0);
    const bool selected = opt.state & QStyle::State_Selected;
    painter->save();
    painter->setClipRect(area);
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    QFont bold = opt.font;
    bold.setBold(true);
    const QFontMetrics plain(opt.font);
    const QFontMetrics strong(bold);
    int x = area.left();
    const int flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine;
    painter->setFont(opt.font);
    painter->drawText(QRect(x, area.top(), area.right() - x, area.height()), flags, before);
    x += plain.horizontalAdvance(before);
    const int width = strong.horizontalAdvance(found);
    painter->fillRect(QRect(x, area.top() + 1, width, area.height() - 2), QColor(255, 230, 120));
    painter->setPen(QColor(Qt::black));
    painter->setFont(bold);
    painter->drawText(QRect(x, area.top(), width, area.height()), flags, found);
    x += width;
    painter->setPen(opt.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    painter->setFont(opt.font);
    painter->drawText(QRect(x, area.top(), std::max(0, area.right() - x), area.height()), flags, after);
    painter->restore();
}
