#include "controls/model/GridModel.h"

#include "controls/model/CommaText.h"
#include "platform/AnsiText.h"
#include "platform/Failure.h"

#include <algorithm>
#include <climits>

namespace {

const QString& indexOutOfRange()
{
    static const QString text = QStringLiteral("Grid index out of range");
    return text;
}

// Cells never hold line breaks or NUL; should code put one there, a save keeps the row on one
// line and the rest of the file readable (a NUL ends the text, a break would shift the rows).
QString forFile(const QString& text)
{
    QString out = text;
    for (QChar& c : out) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    out.remove(QChar(u'\0'));
    return out;
}

bool fitsFile(const QString& text)
{
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return false;
    }
    return true;
}

} // namespace

GridModel::GridModel(int colCount, int rowCount, int fixedCols, int fixedRows)
{
    setColCount(std::max(colCount, 1));
    setRowCount(std::max(rowCount, 1));
    setFixedCols(std::clamp(fixedCols, 0, m_colCount - 1));
    setFixedRows(std::clamp(fixedRows, 0, m_rowCount - 1));
}

void GridModel::setColCount(int count)
{
    count = std::max(count, 1);
    m_colCount = count;
    for (QStringList& row : m_rows)
        row.resize(count);
    if (m_fixedCols >= count)
        m_fixedCols = count - 1;
    clampCurrent();
}

void GridModel::setRowCount(int count)
{
    count = std::max(count, 1);
    m_rowCount = count;
    m_rows.resize(size_t(count));
    for (QStringList& row : m_rows)
        row.resize(m_colCount);
    if (m_fixedRows >= count)
        m_fixedRows = count - 1;
    clampCurrent();
}

void GridModel::setFixedCols(int count)
{
    if (count < 0 || count >= m_colCount)
        throw EListError(QStringLiteral("Fixed column count must be less than column count"));
    m_fixedCols = count;
    clampCurrent();
}

void GridModel::setFixedRows(int count)
{
    if (count < 0 || count >= m_rowCount)
        throw EListError(QStringLiteral("Fixed row count must be less than row count"));
    m_fixedRows = count;
    clampCurrent();
}

QString GridModel::cell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        return {};
    return m_rows[size_t(row)].at(col);
}

void GridModel::setCell(int col, int row, const QString& text)
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        throw EListError(indexOutOfRange());
    m_rows[size_t(row)][col] = text;
}

const QStringList& GridModel::rowCells(int row) const
{
    if (row < 0 || row >= m_rowCount)
        throw EListError(indexOutOfRange());
    return m_rows[size_t(row)];
}

bool GridModel::isValidCurrent(int col, int row) const
{
    return col >= m_fixedCols && row >= m_fixedRows && col < m_colCount && row < m_rowCount;
}

void GridModel::setCurrent(int col, int row)
{
    if (!isValidCurrent(col, row))
        throw EListError(indexOutOfRange());
    m_col = col;
    m_row = row;
}

void GridModel::clampCurrent()
{
    m_col = std::clamp(m_col, m_fixedCols, m_colCount - 1);
    m_row = std::clamp(m_row, m_fixedRows, m_rowCount - 1);
}

void GridModel::loadFromFile(const QString& path)
{
    const QByteArray bytes = AnsiText::readBytes(path);
    loadFromText(AnsiText::decode(AnsiText::untilNul(bytes)));
}

void GridModel::saveToFile(const QString& path) const
{
    AnsiText::writeBytes(path, AnsiText::encode(toText()));
}

void GridModel::loadFromText(const QString& text)
{
    loadFromLines(AnsiText::splitLines(text));
}

void GridModel::loadFromLines(const QStringList& lines)
{
    if (lines.isEmpty())
        return;
    QStringList fields = CommaText::decode(lines.front());
    const int cols = int(std::min<qsizetype>(fields.size(), INT_MAX));
    if (cols == 0)
        return;
    const int rows = int(std::min<qsizetype>(lines.size(), INT_MAX));
    // Build the new rows apart and swap them in: the old cells are replaced whole anyway.
    std::vector<QStringList> cells(static_cast<size_t>(rows));
    fields.resize(cols);
    cells[0] = std::move(fields);
    for (int i = 1; i < rows; ++i) {
        QStringList row = CommaText::decode(lines.at(i));
        row.resize(cols);
        cells[size_t(i)] = std::move(row);
    }
    m_rows = std::move(cells);
    setColCount(cols);
    setRowCount(rows);
}

QString GridModel::toText() const
{
    QString text;
    QStringList clean;
    for (const QStringList& row : m_rows) {
        const QStringList* fields = &row;
        if (!std::all_of(row.cbegin(), row.cend(), fitsFile)) {
            clean.clear();
            for (const QString& cell : row)
                clean.append(forFile(cell));
            fields = &clean;
        }
        text.append(CommaText::encode(*fields));
        text.append(u"\r\n");
    }
    return text;
}
