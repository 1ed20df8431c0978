#include "BareGrid.h"

#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>

BareGrid::BareGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    verticalScrollBar()->setSingleStep(1);
}

void BareGrid::setRows(std::vector<QStringList> rows)
{
    m_rows = std::move(rows);
    updateScrollRange();
    viewport()->update();
}

void BareGrid::setCurrentRow(int row)
{
    if (row == m_current)
        return;
    viewport()->update(rowRect(m_current));
    m_current = row;
    QScrollBar* bar = verticalScrollBar();
    const int visibleRows = viewport()->height() / kRowHeight - 1;
    if (row - 1 < bar->value())
        bar->setValue(row - 1);
    else if (row - 1 >= bar->value() + visibleRows)
        bar->setValue(row - visibleRows);
    viewport()->update(rowRect(m_current));
}

// Scrolled by whole rows, the caption row staying on top.
QRect BareGrid::rowRect(int row) const
{
    const int shown = row == 0 ? 0 : row - verticalScrollBar()->value();
    return QRect(0, shown * kRowHeight, viewport()->width(), kRowHeight);
}

void BareGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QPalette& colours = palette();
    const int first = verticalScrollBar()->value() + 1;
    for (int row = 0; row < int(m_rows.size()); ++row) {
        if (row != 0 && row < first)
            continue;
        const QRect line = rowRect(row);
        if (line.top() >= viewport()->height())
            break;
        if (!event->rect().intersects(line))
            continue;
        for (int col = 0; col < 4; ++col) {
            const QRect cell(col * kColWidth, line.top(), kColWidth, kRowHeight);
            const bool fixed = row == 0 || col == 0;
            painter.fillRect(cell, fixed                          ? colours.button()
                                   : row == m_current && col == 1 ? colours.highlight()
                                                                  : colours.base());
            painter.setPen(colours.mid().color());
            painter.drawRect(cell.adjusted(0, 0, -1, -1));
            painter.setPen(colours.text().color());
            painter.drawText(cell.adjusted(2, 2, -2, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                             m_rows[size_t(row)].value(col));
        }
    }
}

void BareGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void BareGrid::updateScrollRange()
{
    const int visibleRows = viewport()->height() / kRowHeight - 1;
    verticalScrollBar()->setRange(0, qMax(0, int(m_rows.size()) - 1 - visibleRows));
    verticalScrollBar()->setPageStep(qMax(1, visibleRows));
}
