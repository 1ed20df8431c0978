#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

// The cells of a string grid, fixed ones included, with the grid's counting rules and its
// month-file format. Counts are at least 1; each fixed count stays below its count; the
// current cell is never a fixed cell.
class GridModel final {
public:
    GridModel(int colCount = 5, int rowCount = 5, int fixedCols = 1, int fixedRows = 1);

    int colCount() const { return m_colCount; }
    int rowCount() const { return m_rowCount; }
    int fixedCols() const { return m_fixedCols; }
    int fixedRows() const { return m_fixedRows; }
    // Lowering a count to or below its fixed count lowers the fixed count to one less.
    void setColCount(int count);
    void setRowCount(int count);
    // Throws EListError when the fixed count would not stay below the count.
    void setFixedCols(int count);
    void setFixedRows(int count);

    // Reading outside the grid gives an empty text; writing there throws EListError.
    QString cell(int col, int row) const;
    // Valid until the grid next changes.
    QStringView cellView(int col, int row) const;
    void setCell(int col, int row, const QString& text);
    // Exactly colCount() texts.
    QStringList rowCells(int row) const;

    int col() const { return m_col; }
    int row() const { return m_row; }
    bool isFixed(int col, int row) const { return col < m_fixedCols || row < m_fixedRows; }
    bool isValidCurrent(int col, int row) const;
    // Throws EListError for a cell outside the grid or a fixed one.
    void setCurrent(int col, int row);

    // Replaces size and cells from the file; an empty file or an empty first line leaves the
    // grid as it is (false). Throws EInOutError when the file cannot be read, before touching
    // the grid.
    bool loadFromFile(const QString& path);
    // The same from a file's bytes already read.
    bool loadFromBytes(QByteArrayView bytes);
    // Creates or replaces the file atomically; throws EInOutError on failure.
    void saveToFile(const QString& path) const;

    // The same rules on text already decoded, and the text a save writes.
    bool loadFromText(QStringView text);
    QString toText() const;
    // The same with more fields after a row's cells: `extend` gets each row's fields (its cells,
    // exactly colCount() of them) and may append to them.
    using RowExtension = std::function<void(int row, std::vector<QStringView>& fields)>;
    QString toText(const RowExtension& extend) const;

private:
    // A loaded cell is a piece of m_pool, so reading a large file costs a few allocations
    // instead of one per cell; a cell set afterwards owns its string (start < 0: m_own[-start-1]).
    // 32-bit: a month file of empty fields would otherwise take 16 bytes a field.
    struct Cell {
        qint32 start = 0;
        qint32 length = 0;
    };

    QStringView view(const Cell& cell) const;
    bool loadDecoded(QString text);
    void reshape(int cols, int rows);
    void clampCurrent();

    int m_colCount = 1;
    int m_rowCount = 1;
    int m_fixedCols = 0;
    int m_fixedRows = 0;
    int m_col = 0;
    int m_row = 0;
    std::vector<Cell> m_cells{1}; // row by row
    QString m_pool;
    std::vector<QString> m_own;
};
