#pragma once

#include "controls/model/GridModel.h"

#include <QAbstractScrollArea>
#include <QPointer>

#include <functional>
#include <vector>

class QLineEdit;
class QMenu;

// How the grid drew a cell, handed to OnDrawCell.
struct TGridDrawState {
    bool selected = false; // the current cell
    bool focused = false;  // the current cell while the grid has the keyboard focus
    bool fixed = false;    // a caption cell of a fixed row or column
};

// A table of text cells with fixed caption rows and columns, adjustable column widths and an
// in-place single-line editor, that reads and writes its whole content as a comma-text file.
// Cells are addressed by column and row from 0, fixed ones included. Rows share one height.
class TjvStringGrid final : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum Option {
        goFixedVertLine = 0x01,
        goFixedHorzLine = 0x02,
        goVertLine = 0x04,
        goHorzLine = 0x08,
        goColSizing = 0x10,         // column widths adjustable with the mouse in the fixed rows
        goEditing = 0x20,           // cells editable in place
        goDrawFocusSelected = 0x40, // the focused current cell in the selection colour too
    };
    Q_DECLARE_FLAGS(TGridOptions, Option)

    // Called after the grid painted the cell (background, text at 2,2). The painter is clipped to
    // the cell and carries the grid's choice for it: brush = background, pen = text colour, font.
    using TDrawCellEvent = std::function<void(TjvStringGrid& sender, int col, int row, const QRect& rect,
                                              TGridDrawState state, QPainter& painter)>;
    // Asked before the current cell moves to (col, row); clearing canSelect keeps it where it is.
    using TSelectCellEvent = std::function<void(TjvStringGrid& sender, int col, int row, bool& canSelect)>;
    using TNotifyEvent = std::function<void(TjvStringGrid& sender)>;
    using TMouseEvent = std::function<void(TjvStringGrid& sender, Qt::MouseButton button,
                                           Qt::KeyboardModifiers modifiers, const QPoint& pos)>;

    explicit TjvStringGrid(QWidget* parent = nullptr);
    ~TjvStringGrid() override;
    Q_DISABLE_COPY_MOVE(TjvStringGrid)

    TDrawCellEvent OnDrawCell;
    TSelectCellEvent OnSelectCell;
    // The current cell moved (keyboard or code), or a left press on a normal cell, the current
    // one included; not the second press of a double click.
    TNotifyEvent OnClick;
    // A mouse button released over the grid.
    TMouseEvent OnMouseUp;

    QString Cells(int col, int row) const;
    // Throws EListError outside the grid.
    void setCells(int col, int row, const QString& text);
    // The row's texts, exactly ColCount() of them.
    QStringList Rows(int row) const;

    int ColCount() const { return m_model.colCount(); }
    void setColCount(int count);
    int RowCount() const { return m_model.rowCount(); }
    void setRowCount(int count);
    int FixedCols() const { return m_model.fixedCols(); }
    void setFixedCols(int count);
    int FixedRows() const { return m_model.fixedRows(); }
    void setFixedRows(int count);

    int DefaultColWidth() const { return m_defaultColWidth; }
    // Resets every column to the new width.
    void setDefaultColWidth(int width);
    // The height of every row: the one asked for, or more when the font needs it.
    int DefaultRowHeight() const;
    void setDefaultRowHeight(int height);
    int ColWidths(int col) const;
    // Throws EListError outside the grid.
    void setColWidths(int col, int width);

    TGridOptions Options() const { return m_options; }
    void setOptions(TGridOptions options);

    // The current cell, never a fixed one.
    int Col() const { return m_model.col(); }
    int Row() const { return m_model.row(); }
    // Moves the current cell as the keyboard does (OnSelectCell, then OnClick); false when
    // vetoed or already there. Throws EListError for a fixed cell or one outside the grid.
    bool setCol(int col);
    bool setRow(int row);
    // Makes `row` current as setRow does, but neither asks OnSelectCell nor tells OnClick: for a
    // caller that has already decided the move.
    void setRowQuietly(int row);
    bool setCurrentCell(int col, int row);

    // First scrollable row and column shown below and right of the fixed ones.
    int TopRow() const { return m_topRow; }
    void setTopRow(int row);
    int LeftCol() const { return m_leftCol; }
    // Scrollable rows and columns shown whole.
    int VisibleRowCount() const;
    int VisibleColCount() const;

    // Viewport rectangle of the cell, empty when it is scrolled out of view.
    QRect CellRect(int col, int row) const;
    // False when the point is on no cell.
    bool MouseToCell(const QPoint& pos, int& col, int& row) const;

    bool EditorMode() const { return m_editing; }
    // Opens the editor on the current cell (when editing is enabled) or closes it keeping the text.
    void setEditorMode(bool on);
    // Repaints every cell after a change of colours or symbols the grid cannot see. (update()
    // would go to the scroll area's frame, not to the cells.)
    void Invalidate() { viewport()->update(); }
    QLineEdit* InplaceEditor() const { return m_editor; }

    // Right click shows it; not owned.
    void setPopupMenu(QMenu* menu);
    QMenu* PopupMenu() const;

    // Whole grid from or to a comma-text file; failures throw EInOutError, a failed load leaves
    // the grid as it was. Widths, heights, current cell and fixed counts stay unless the
    // counting rules move them. False when the file held no first line to read, which leaves
    // the grid as it was too.
    bool LoadFromFile(const QString& path);
    // The same from a file's bytes already read, so a caller can read before it changes anything.
    bool LoadFromBytes(const QByteArray& bytes);
    void SaveToFile(const QString& path) const;

    const GridModel& model() const { return m_model; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int rowStep() const { return DefaultRowHeight() + 1; }
    int fixedRowsHeight() const;
    int fixedColsWidth() const;
    int maxTopRow() const;
    int maxLeftCol() const;
    int colAt(int x) const;
    int rowAt(int y) const;
    int colLeft(int col) const;
    int sizingColAt(const QPoint& pos) const;
    void updateScrollBars();
    void scrollToShow(int col, int row);
    void afterShapeChange();
    bool moveCurrent(int col, int row);
    void placeCurrent(int col, int row);
    void moveBy(int dCol, int dRow);
    void pageBy(int pages);
    void paintCell(QPainter& painter, int col, int row, const QRect& rect);
    void startEditing(const QString* replaceWith);
    void closeEditor(bool keepText);
    void placeEditor();
    void invalidateCell(int col, int row);

    GridModel m_model;
    std::vector<int> m_colWidths;
    int m_defaultColWidth = 64;
    int m_defaultRowHeight = 24;
    int m_fontRowHeight = 0;
    int m_topRow = 1;
    int m_leftCol = 1;
    TGridOptions m_options{goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine};

    QLineEdit* m_editor = nullptr;
    bool m_editing = false;
    bool m_settingEditorText = false;
    QString m_editOriginal;

    int m_sizingCol = -1;
    int m_sizingStartX = 0;
    int m_sizingStartWidth = 0;
    bool m_updatingBars = false;
    bool m_focusByMouse = false; // the focus came with the press being handled

    QPointer<QMenu> m_popupMenu;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TjvStringGrid::TGridOptions)
