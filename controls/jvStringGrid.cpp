#include "controls/jvStringGrid.h"

#include "platform/Failure.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// Half the width of the band around a column's right edge where a press starts resizing.
constexpr int kSizingSlack = 2;
constexpr int kMinColWidth = 1;

QColor normalLineColor(const QPalette& palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor mid = palette.color(QPalette::Mid);
    return QColor((base.red() + mid.red() * 2) / 3, (base.green() + mid.green() * 2) / 3,
                  (base.blue() + mid.blue() * 2) / 3);
}

} // namespace

TjvStringGrid::TjvStringGrid(QWidget* parent) : QAbstractScrollArea(parent)
{
    m_colWidths.assign(size_t(m_model.colCount()), m_defaultColWidth);
    m_topRow = m_model.fixedRows();
    m_leftCol = m_model.fixedCols();
    m_fontRowHeight = fontMetrics().height() + 3;

    setFocusPolicy(Qt::StrongFocus);
    viewport()->setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(1);

    m_editor = new QLineEdit(viewport());
    m_editor->setObjectName(QStringLiteral("InplaceEditor"));
    m_editor->setFrame(false);
    m_editor->setTextMargins(0, 0, 0, 0);
    m_editor->hide();
    m_editor->installEventFilter(this);
    connect(m_editor, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Typing goes straight into the cell, so a save or a read of the cell sees it.
        if (m_editing && !m_settingEditorText)
            m_model.setCell(m_model.col(), m_model.row(), text);
    });

    updateScrollBars();
}

TjvStringGrid::~TjvStringGrid() = default;

// ---- cells and shape ----

QString TjvStringGrid::Cells(int col, int row) const
{
    return m_model.cell(col, row);
}

void TjvStringGrid::setCells(int col, int row, const QString& text)
{
    m_model.setCell(col, row, text);
    if (m_editing && col == m_model.col() && row == m_model.row()) {
        m_settingEditorText = true;
        m_editor->setText(text);
        m_settingEditorText = false;
        m_editOriginal = text;
    }
    invalidateCell(col, row);
}

QStringList TjvStringGrid::Rows(int row) const
{
    return m_model.rowCells(row);
}

void TjvStringGrid::setColCount(int count)
{
    closeEditor(true);
    m_model.setColCount(count);
    afterShapeChange();
}

void TjvStringGrid::setRowCount(int count)
{
    closeEditor(true);
    m_model.setRowCount(count);
    afterShapeChange();
}

void TjvStringGrid::setFixedCols(int count)
{
    closeEditor(true);
    m_model.setFixedCols(count);
    afterShapeChange();
}

void TjvStringGrid::setFixedRows(int count)
{
    closeEditor(true);
    m_model.setFixedRows(count);
    afterShapeChange();
}

void TjvStringGrid::setDefaultColWidth(int width)
{
    m_defaultColWidth = std::max(width, 0);
    std::fill(m_colWidths.begin(), m_colWidths.end(), m_defaultColWidth);
    afterShapeChange();
}

int TjvStringGrid::DefaultRowHeight() const
{
    return std::max(m_defaultRowHeight, m_fontRowHeight);
}

void TjvStringGrid::setDefaultRowHeight(int height)
{
    m_defaultRowHeight = std::max(height, 1);
    afterShapeChange();
}

int TjvStringGrid::ColWidths(int col) const
{
    if (col < 0 || col >= int(m_colWidths.size()))
        return m_defaultColWidth;
    return m_colWidths[size_t(col)];
}

void TjvStringGrid::setColWidths(int col, int width)
{
    if (col < 0 || col >= int(m_colWidths.size()))
        throw EListError(QStringLiteral("Grid index out of range"));
    m_colWidths[size_t(col)] = std::max(width, 0);
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void TjvStringGrid::setOptions(TGridOptions options)
{
    m_options = options;
    if (!(m_options & goEditing))
        closeEditor(true);
    setAttribute(Qt::WA_InputMethodEnabled, bool(m_options & goEditing));
    viewport()->update();
}

void TjvStringGrid::afterShapeChange()
{
    // New columns take the default width; removed ones forget theirs.
    m_colWidths.resize(size_t(m_model.colCount()), m_defaultColWidth);
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void TjvStringGrid::LoadFromFile(const QString& path)
{
    closeEditor(true);
    m_model.loadFromFile(path);
    afterShapeChange();
}

void TjvStringGrid::SaveToFile(const QString& path) const
{
    m_model.saveToFile(path);
}

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
    const int y = row < m_model.fixedRows() ? row * rowStep() : fixedRowsHeight() + (row - m_topRow) * rowStep();
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

void TjvStringGrid::setLeftCol(int col)
{
    m_leftCol = col;
    updateScrollBars();
    placeEditor();
    viewport()->update();
}

void TjvStringGrid::scrollToShow(int col, int row)
{
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

// ---- current cell ----

bool TjvStringGrid::setCol(int col)
{
    return setCurrentCell(col, m_model.row());
}

bool TjvStringGrid::setRow(int row)
{
    return setCurrentCell(m_model.col(), row);
}

bool TjvStringGrid::setCurrentCell(int col, int row)
{
    if (!m_model.isValidCurrent(col, row))
        throw EListError(QStringLiteral("Grid index out of range"));
    return moveCurrent(col, row);
}

bool TjvStringGrid::moveCurrent(int col, int row)
{
    if (col == m_model.col() && row == m_model.row())
        return false;
    if (OnSelectCell) {
        bool canSelect = true;
        OnSelectCell(*this, col, row, canSelect);
        // The handler may have reshaped the grid.
        if (!canSelect || !m_model.isValidCurrent(col, row))
            return false;
    }
    closeEditor(true);
    invalidateCell(m_model.col(), m_model.row());
    m_model.setCurrent(col, row);
    scrollToShow(col, row);
    invalidateCell(col, row);
    if (OnClick)
        OnClick(*this);
    return true;
}

void TjvStringGrid::moveBy(int dCol, int dRow)
{
    moveCurrent(std::clamp(m_model.col() + dCol, m_model.fixedCols(), m_model.colCount() - 1),
                std::clamp(m_model.row() + dRow, m_model.fixedRows(), m_model.rowCount() - 1));
}

void TjvStringGrid::pageBy(int pages)
{
    const int delta = pages * std::max(1, VisibleRowCount());
    setTopRow(m_topRow + delta);
    moveBy(0, delta);
}

void TjvStringGrid::invalidateCell(int col, int row)
{
    const QRect rect = CellRect(col, row);
    if (!rect.isEmpty())
        viewport()->update(rect.adjusted(0, 0, 1, 1));
}

// ---- painting ----

void TjvStringGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    const QRect dirty = event->rect();
    const QPalette& pal = palette();
    const QColor fixedLine = pal.color(QPalette::Dark);
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
    const QString& value = m_model.rowCells(row).at(col);
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

// ---- keyboard ----

void TjvStringGrid::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Up:
        moveBy(0, -1);
        return;
    case Qt::Key_Down:
        moveBy(0, 1);
        return;
    case Qt::Key_Left:
        moveBy(-1, 0);
        return;
    case Qt::Key_Right:
        moveBy(1, 0);
        return;
    case Qt::Key_PageUp:
        pageBy(-1);
        return;
    case Qt::Key_PageDown:
        pageBy(1);
        return;
    case Qt::Key_Home:
        moveCurrent(m_model.fixedCols(), ctrl ? m_model.fixedRows() : m_model.row());
        return;
    case Qt::Key_End:
        moveCurrent(m_model.colCount() - 1, ctrl ? m_model.rowCount() - 1 : m_model.row());
        return;
    case Qt::Key_F2:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (m_options & goEditing) {
            startEditing(nullptr);
            return;
        }
        break;
    default:
        break;
    }
    const QString typed = event->text();
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if ((m_options & goEditing) && plain && !typed.isEmpty() && typed.front().isPrint()) {
        startEditing(&typed);
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void TjvStringGrid::inputMethodEvent(QInputMethodEvent* event)
{
    if ((m_options & goEditing) && !m_editing &&
        (!event->commitString().isEmpty() || !event->preeditString().isEmpty())) {
        const QString none;
        startEditing(&none);
        if (m_editing) {
            QCoreApplication::sendEvent(m_editor, event);
            return;
        }
    }
    QAbstractScrollArea::inputMethodEvent(event);
}

QVariant TjvStringGrid::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnabled)
        return bool(m_options & goEditing);
    if (query == Qt::ImCursorRectangle)
        return CellRect(m_model.col(), m_model.row()).translated(viewport()->pos());
    return QAbstractScrollArea::inputMethodQuery(query);
}

// ---- mouse ----

void TjvStringGrid::mousePressEvent(QMouseEvent* event)
{
    const bool hadFocus = !m_focusByMouse;
    m_focusByMouse = false;
    closeEditor(true);
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint pos = event->position().toPoint();
    const int sizing = sizingColAt(pos);
    if (sizing >= 0) {
        m_sizingCol = sizing;
        m_sizingStartX = pos.x();
        m_sizingStartWidth = m_colWidths[size_t(sizing)];
        return;
    }
    int col = -1;
    int row = -1;
    if (!MouseToCell(pos, col, row) || m_model.isFixed(col, row))
        return;
    if (col != m_model.col() || row != m_model.row()) {
        moveCurrent(col, row);
        return;
    }
    if (OnClick)
        OnClick(*this);
    // A press on the current cell of a grid that already had the focus opens the editor.
    if (hadFocus && col == m_model.col() && row == m_model.row())
        startEditing(nullptr);
}

void TjvStringGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Deliberately not a press: the second press of a double click moves nothing and clicks nothing.
    if (event->button() != Qt::LeftButton)
        return;
    int col = -1;
    int row = -1;
    if (MouseToCell(event->position().toPoint(), col, row) && col == m_model.col() && row == m_model.row())
        startEditing(nullptr);
}

void TjvStringGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_sizingCol >= 0) {
        setColWidths(m_sizingCol, std::max(kMinColWidth, m_sizingStartWidth + pos.x() - m_sizingStartX));
        return;
    }
    if (event->buttons() == Qt::NoButton) {
        if (sizingColAt(pos) >= 0)
            viewport()->setCursor(Qt::SplitHCursor);
        else
            viewport()->unsetCursor();
    }
}

void TjvStringGrid::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_sizingCol = -1;
    if (OnMouseUp)
        OnMouseUp(*this, event->button(), event->modifiers(), event->position().toPoint());
}

void TjvStringGrid::setPopupMenu(QMenu* menu)
{
    m_popupMenu = menu;
}

QMenu* TjvStringGrid::PopupMenu() const
{
    return m_popupMenu;
}

void TjvStringGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_popupMenu) {
        m_popupMenu->popup(event->globalPos());
        event->accept();
        return;
    }
    QAbstractScrollArea::contextMenuEvent(event);
}

// ---- focus and look ----

void TjvStringGrid::focusInEvent(QFocusEvent* event)
{
    m_focusByMouse = event->reason() == Qt::MouseFocusReason;
    QAbstractScrollArea::focusInEvent(event);
    invalidateCell(m_model.col(), m_model.row());
}

void TjvStringGrid::focusOutEvent(QFocusEvent* event)
{
    m_focusByMouse = false;
    QAbstractScrollArea::focusOutEvent(event);
    invalidateCell(m_model.col(), m_model.row());
}

void TjvStringGrid::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange) {
        m_fontRowHeight = fontMetrics().height() + 3;
        m_editor->setFont(font());
        afterShapeChange();
    } else if (event->type() == QEvent::PaletteChange) {
        viewport()->update();
    }
    QAbstractScrollArea::changeEvent(event);
}

// ---- in-place editor ----

void TjvStringGrid::setEditorMode(bool on)
{
    if (on)
        startEditing(nullptr);
    else
        closeEditor(true);
}

void TjvStringGrid::startEditing(const QString* replaceWith)
{
    if (!(m_options & goEditing) || m_editing)
        return;
    const int col = m_model.col();
    const int row = m_model.row();
    scrollToShow(col, row);
    m_editOriginal = m_model.cell(col, row);
    m_editing = true;
    m_settingEditorText = true;
    m_editor->setText(replaceWith ? *replaceWith : m_editOriginal);
    m_settingEditorText = false;
    if (replaceWith) {
        m_model.setCell(col, row, *replaceWith);
        m_editor->end(false);
    } else {
        m_editor->selectAll();
    }
    placeEditor();
    m_editor->show();
    m_editor->setFocus(Qt::OtherFocusReason);
}

void TjvStringGrid::closeEditor(bool keepText)
{
    if (!m_editing)
        return;
    m_editing = false;
    if (!keepText)
        m_model.setCell(m_model.col(), m_model.row(), m_editOriginal);
    if (m_editor->hasFocus())
        setFocus(Qt::OtherFocusReason);
    m_editor->hide();
    invalidateCell(m_model.col(), m_model.row());
}

void TjvStringGrid::placeEditor()
{
    if (!m_editing)
        return;
    const QRect rect = CellRect(m_model.col(), m_model.row());
    if (!rect.isEmpty())
        m_editor->setGeometry(rect);
}

bool TjvStringGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != m_editor)
        return QAbstractScrollArea::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::ShortcutOverride: {
        // Enter and Escape belong to the editor, not to a default button or a window shortcut.
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        break;
    }
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            closeEditor(true);
            return true;
        case Qt::Key_Escape:
            closeEditor(false);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            closeEditor(true);
            keyPressEvent(key);
            return true;
        default:
            break;
        }
        break;
    }
    case QEvent::FocusOut:
        if (m_editing && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            closeEditor(true);
        break;
    default:
        break;
    }
    return false;
}
