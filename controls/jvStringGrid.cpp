#include "controls/jvStringGrid.h"

#include "controls/model/SingleLine.h"
#include "platform/Failure.h"

#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QValidator>

#include <algorithm>
#include <functional>

namespace {
// Sees every change of the editor's text before it lands, whatever brought it (keys, the
// context menu, a drop, the middle button), and may mend it; it never refuses one.
class InsertFilter final : public QValidator {
public:
    InsertFilter(std::function<void(QString&, int&)> mend, QObject* parent)
        : QValidator(parent), m_mend(std::move(mend))
    {
    }
    State validate(QString& input, int& pos) const override
    {
        m_mend(input, pos);
        return Acceptable;
    }

private:
    std::function<void(QString&, int&)> m_mend;
};
} // namespace

// Cells, shape, current cell and files; geometry and painting are in jvStringGridView.cpp,
// keyboard, mouse and the in-place editor in jvStringGridInput.cpp.

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
    m_editor->setValidator(new InsertFilter(
        [this](QString& text, int& caret) {
            // The cell still holds what the editor showed before this change.
            if (m_editing && !m_settingEditorText)
                SingleLine::keepFirstLineOfInsert(m_model.cellView(m_model.col(), m_model.row()), text,
                                                  caret);
        },
        m_editor));
    connect(m_editor, &QLineEdit::textChanged, this, [this](const QString& text) {
        // Typing goes straight into the cell, so a save or a read of the cell sees it.
        if (m_editing && !m_settingEditorText)
            m_model.setCell(m_model.col(), m_model.row(), text);
    });

    updateScrollBars();
}

TjvStringGrid::~TjvStringGrid()
{
    // The editor calls back into the grid when it loses the focus; it goes while the grid is whole.
    delete m_editor;
    m_editor = nullptr;
}

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

bool TjvStringGrid::LoadFromFile(const QString& path)
{
    closeEditor(true);
    const bool filled = m_model.loadFromFile(path);
    afterShapeChange();
    return filled;
}

bool TjvStringGrid::LoadFromBytes(const QByteArray& bytes)
{
    closeEditor(true);
    const bool filled = m_model.loadFromBytes(bytes);
    afterShapeChange();
    return filled;
}

void TjvStringGrid::SaveToFile(const QString& path) const
{
    m_model.saveToFile(path);
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
    placeCurrent(col, row);
    if (OnClick)
        OnClick(*this);
    return true;
}

void TjvStringGrid::setRowQuietly(int row)
{
    const int col = m_model.col();
    if (!m_model.isValidCurrent(col, row))
        throw EListError(QStringLiteral("Grid index out of range"));
    if (row != m_model.row())
        placeCurrent(col, row);
}

void TjvStringGrid::placeCurrent(int col, int row)
{
    closeEditor(true);
    invalidateCell(m_model.col(), m_model.row());
    m_model.setCurrent(col, row);
    scrollToShow(col, row);
    invalidateCell(col, row);
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
