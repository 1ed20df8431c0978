#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

#include <vector>

// The least a grid of strings can be in Qt: one fixed caption row and column, cells painted as
// text on their colour, a current cell, and only the rows that changed repainted.
class BareGrid final : public QAbstractScrollArea {
public:
    explicit BareGrid(QWidget* parent = nullptr);

    void setRows(std::vector<QStringList> rows); // row 0 and column 0 are the captions
    void setCurrentRow(int row);
    int currentRow() const { return m_current; }

private:
    static constexpr int kColWidth = 50;
    static constexpr int kRowHeight = 16;

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateScrollRange();
    QRect rowRect(int row) const;

    std::vector<QStringList> m_rows;
    int m_current = 1;
};
