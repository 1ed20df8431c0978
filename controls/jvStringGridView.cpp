#include "controls/jvStringGrid.h"

#include "controls/model/Contrast.h"

#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <utility>

// Where cells are, what is in view, and how a cell looks.
namespace {

// Half the width of the band around a column's right edge where a press starts resizing.
constexpr int kSizingSlack = 2;

// A line in the palette's own shade, made out where a dark palette puts it next to the colour it
// separates.
QColor lineOn(const QColor& background, const QColor& line)
{
    return QColor::fromRgb(Contrast::readableOn(background.rgb(), line.rgb(), Contrast::kMinLineRatio));
}

QColor normalLineColor(const QPalette& palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor mid = palette.color(QPalette::Mid);
    return lineOn(base, QColor((base.red() + mid.red() * 2) / 3, (base.green() + mid.green() * 2) / 3,
                               (base.blue() + mid.blue() * 2) / 3));
}

} // namespace

// ---- geometry ----

int TjvStringGrid::fixedRowsHeight() const
{
    return m_model.fixedRows() * rowStep();
}

int TjvStringGrid::fixedColsWidth() const
{
    int width = 0;
    for (int c = 0; c < m_model.fixedCols(); ++c)
        width += m_colWidths[size_t(c)] + 1;
    return width;
}

int TjvStringGrid::maxTopRow() const
{
    const int fit = std::max(1, (viewport()->height() - fixedRowsHeight()) / rowStep());
    return std::max(m_model.fixedRows(), m_model.rowCount() - fit);
}

int TjvStringGrid::maxLeftCol() const
{
    const int avail = viewport()->width() - fixedColsWidth();
    int used = 0;
    for (int c = m_model.colCount() - 1; c >= m_model.fixedCols(); --c) {
        used += m_colWidths[size_t(c)] + 1;
        if (used > avail)
            return std::clamp(c + 1, m_model.fixedCols(), m_model.colCount() - 1);
    }
    return m_model.fixedCols();
}

int TjvStringGrid::VisibleRowCount() const
{
    const int fit = std::max(0, (viewport()->height() - fixedRowsHeight()) / rowStep());
    return std::min(fit, m_model.rowCount() - m_topRow);
}

int TjvStringGrid::VisibleColCount() const
{
    int x = fixedColsWidth();
    int count = 0;
    for (int c = m_leftCol; c < m_model.colCount(); ++c) {
        x += m_colWidths[size_t(c)] + 1;
        if (x - 1 > viewport()->width())
            break;
        ++count;
    }
    return count;
}

int TjvStringGrid::colLeft(int col) const
{
    if (col < 0 || col >= m_model.colCount() || (col >= m_model.fixedCols() && col < m_leftCol))
        return -1;
    int x = 0;
    if (col < m_model.fixedCols()) {
        for (int c = 0; c < col; ++c)
            x += m_colWidths[size_t(c)] + 1;
        return x;
    }
    x = fixedColsWidth();
    for (int c = m_leftCol; c < col; ++c)
        x += m_colWidths[size_t(c)] + 1;
    return x;
}

int TjvStringGrid::colAt(int x) const
{
    if (x < 0)
        return -1;
    int left = 0;
    auto hit = [&](int c) {
        left += m_colWidths[size_t(c)] + 1;
        return x < left;
    };
    for (int c = 0; c < m_model.fixedCols(); ++c) {
        if (hit(c))
            return c;
    }
    for (int c = m_leftCol; c < m_model.colCount() && left <= viewport()->width(); ++c) {
        if (hit(c))
            return c;
    }
    return -1;
}

int TjvStringGrid::rowAt(int y) const
{
    if (y < 0)
        return -1;
    const int fixedHeight = fixedRowsHeight();
    const int row = y < fixedHeight ? y / rowStep() : m_topRow + (y - fixedHeight) / rowStep();
    return row < m_model.rowCount() ? row : -1;
}

QRect TjvStringGrid::CellRect(int col, int row) const
{
    const int x = colLeft(col);
    if (x < 0 || row < 0 || row >= m_model.rowCount() || (row >= m_model.fixedRows() && row < m_topRow))
        return {};
    const int y =
        row < m_model.fixedRows() ? row * rowStep() : fixedRowsHeight() + (row - m_topRow) * rowStep();
    if (x >= viewport()->width() || y >= viewport()->height())
        return {};
    return {x, y, m_colWidths[size_t(col)], DefaultRowHeight()};
}

bool TjvStringGrid::MouseToCell(const QPoint& pos, int& col, int& row) const
{
    col = colAt(pos.x());
    row = rowAt(pos.y());
    return col >= 0 && row >= 0;
}

int TjvStringGrid::sizingColAt(const QPoint& pos) const
{
    if (!(m_options & goColSizing) || pos.y() < 0 || pos.y() >= fixedRowsHeight())
        return -1;
    int best = -1;
    int bestDistance = kSizingSlack + 1;
    auto consider = [&](int c) {
        const int line = colLeft(c) + m_colWidths[size_t(c)];
        const int distance = std::abs(pos.x() - line);
        if (distance <= bestDistance) {
            best = c;
            bestDistance = distance;
        }
        return line;
    };
    for (int c = 0; c < m_model.fixedCols(); ++c)
        consider(c);
    for (int c = m_leftCol; c < m_model.colCount(); ++c) {
        if (consider(c) > viewport()->width() + kSizingSlack)
            break;
    }
    return best;
}

// ---- scrolling ----

void TjvStringGrid::updateScrollBars()
{
    const int topMax = maxTopRow();
    const int leftMax = maxLeftCol();
    m_topRow = std::clamp(m_topRow, m_model.fixedRows(), topMax);
    m_leftCol = std::clamp(m_leftCol, m_model.fixedCols(), leftMax);
    const int top = m_topRow;
    const int left = m_leftCol;
    QScrollBar* vbar = verticalScrollBar();
    QScrollBar* hbar = horizontalScrollBar();
    // Not a signal blocker: the scroll area shows and hides its bars on rangeChanged.
    const bool wasUpdating = std::exchange(m_updatingBars, true);
    vbar->setRange(m_model.fixedRows(), topMax);
    vbar->setPageStep(std::max(1, VisibleRowCount()));
    vbar->setValue(top);
    hbar->setRange(m_model.fixedCols(), leftMax);
    hbar->setPageStep(std::max(1, VisibleColCount()));
    hbar->setValue(left);
    m_updatingBars = wasUpdating;
}

void TjvStringGrid::scrollContentsBy(int, int)
{
    if (m_updatingBars)
        return;
    m_topRow = verticalScrollBar()->value();
    m_leftCol = horizontalScrollBar()->value();
    if (m_editing && CellRect(m_model.col(), m_model.row()).isEmpty())
        closeEditor(true);
    placeEditor();
    viewport()->update();
}

void TjvStringGrid::setTopRow(int row)
{
    m_topRow = row;
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void TjvStringGrid::scrollToShow(int col, int row)
{
    const int topRow = m_topRow;
    const int leftCol = m_leftCol;
    if (row >= m_model.fixedRows()) {
        const int fit = std::max(1, (viewport()->height() - fixedRowsHeight()) / rowStep());
        if (row < m_topRow)
            m_topRow = row;
        else if (row >= m_topRow + fit)
            m_topRow = row - fit + 1;
    }
    if (col >= m_model.fixedCols()) {
        if (col < m_leftCol)
            m_leftCol = col;
        while (m_leftCol < col && colLeft(col) + m_colWidths[size_t(col)] > viewport()->width())
            ++m_leftCol;
    }
    // A move within the cells in view repaints only the cells it leaves and enters.
    if (m_topRow == topRow && m_leftCol == leftCol)
        return;
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void TjvStringGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    placeEditor();
}

// ---- painting ----

void TjvStringGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const QPalette& pal = palette();
    const QColor fixedLine = lineOn(pal.color(QPalette::Button), pal.color(QPalette::Dark));
    const QColor normalLine = normalLineColor(pal);
    const int width = viewport()->width();
    const int height = viewport()->height();
    const int rowHeight = DefaultRowHeight();
    const int fixedCols = m_model.fixedCols();
    const int fixedRows = m_model.fixedRows();

    // Columns in view, fixed ones first.
    std::vector<int> cols;
    std::vector<int> lefts;
    int right = 0;
    auto addCol = [&](int c) {
        cols.push_back(c);
        lefts.push_back(right);
        right += m_colWidths[size_t(c)] + 1;
    };
    for (int c = 0; c < fixedCols && right < width; ++c)
        addCol(c);
    for (int c = m_leftCol; c < m_model.colCount() && right < width; ++c)
        addCol(c);

    int y = 0;
    auto paintRow = [&](int r) {
        if (y + rowHeight + 1 > dirty.top() && y <= dirty.bottom()) {
            for (size_t i = 0; i < cols.size(); ++i) {
                const int c = cols[i];
                const int x = lefts[i];
                const int w = m_colWidths[size_t(c)];
                if (x + w + 1 <= dirty.left() || x > dirty.right())
                    continue;
                const bool fixed = m_model.isFixed(c, r);
                const QColor background = pal.color(fixed ? QPalette::Button : QPalette::Base);
                const bool vertLine = m_options & (fixed ? goFixedVertLine : goVertLine);
                const bool horzLine = m_options & (fixed ? goFixedHorzLine : goHorzLine);
                const QColor line = fixed ? fixedLine : normalLine;
                painter.fillRect(x + w, y, 1, rowHeight + 1, vertLine ? line : background);
                painter.fillRect(x, y + rowHeight, w, 1, horzLine ? line : background);
                if (w > 0)
                    paintCell(painter, c, r, QRect(x, y, w, rowHeight));
            }
        }
        y += rowHeight + 1;
    };
    for (int r = 0; r < fixedRows && y < height; ++r)
        paintRow(r);
    for (int r = m_topRow; r < m_model.rowCount() && y < height; ++r)
        paintRow(r);

    const QColor empty = pal.color(QPalette::Base);
    if (right < width)
        painter.fillRect(right, 0, width - right, std::min(y, height), empty);
    if (y < height)
        painter.fillRect(0, y, width, height - y, empty);
}

void TjvStringGrid::paintCell(QPainter& painter, int col, int row, const QRect& rect)
{
    const QPalette& pal = palette();
    TGridDrawState state;
    state.fixed = m_model.isFixed(col, row);
    state.selected = !state.fixed && col == m_model.col() && row == m_model.row();
    state.focused = state.selected && (hasFocus() || m_editor->hasFocus());

    QColor background;
    QColor text;
    if (state.fixed) {
        background = pal.color(QPalette::Button);
        text = pal.color(QPalette::ButtonText);
    } else if (state.selected && (!state.focused || (m_options & goDrawFocusSelected))) {
        background = pal.color(QPalette::Highlight);
        text = pal.color(QPalette::HighlightedText);
    } else {
        background = pal.color(QPalette::Base);
        text = pal.color(QPalette::Text);
    }

    painter.fillRect(rect, background);
    const QString value = m_model.cell(col, row);
    if (!value.isEmpty()) {
        painter.setPen(text);
        painter.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, value);
    }

    if (OnDrawCell) {
        painter.save();
        painter.setClipRect(rect);
        painter.setBrush(background);
        painter.setPen(text);
        painter.setFont(font());
        try {
            OnDrawCell(*this, col, row, rect, state, painter);
        } catch (const std::exception&) {
            // A failure cannot leave a paint event; the cell keeps the grid's own look.
        }
        painter.restore();
    }

    if (state.fixed && (m_options & (goFixedVertLine | goFixedHorzLine))) {
        // Raised caption look.
        painter.setPen(pal.color(QPalette::Light));
        painter.drawLine(rect.topLeft(), rect.topRight());
        painter.drawLine(rect.topLeft(), rect.bottomLeft());
        painter.setPen(pal.color(QPalette::Mid));
        painter.drawLine(rect.bottomLeft(), rect.bottomRight());
        painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    if (state.focused && !m_editing) {
        QPen pen(text, 1, Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}
