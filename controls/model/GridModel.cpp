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
bool fitsFile(QStringView text)
{
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return false;
    }
    return true;
}

QString forFile(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n')
            out.append(u' ');
        else if (c != u'\0')
            out.append(c);
    }
    return out;
}

} // namespace

GridModel::GridModel(int colCount, int rowCount, int fixedCols, int fixedRows)
{
    reshape(std::max(colCount, 1), std::max(rowCount, 1));
    m_fixedCols = std::clamp(fixedCols, 0, m_colCount - 1);
    m_fixedRows = std::clamp(fixedRows, 0, m_rowCount - 1);
    clampCurrent();
}

void GridModel::reshape(int cols, int rows)
{
    // Survivors move to a fresh pool, so a large file read once does not stay in memory.
    std::vector<Cell> cells(size_t(cols) * size_t(rows));
    QString pool;
    std::vector<QString> own;
    const int keepCols = std::min(cols, m_colCount);
    const int keepRows = std::min(rows, m_rowCount);
    for (int r = 0; r < keepRows; ++r) {
        for (int c = 0; c < keepCols; ++c) {
            const Cell& old = m_cells[size_t(r) * size_t(m_colCount) + size_t(c)];
            Cell& cell = cells[size_t(r) * size_t(cols) + size_t(c)];
            if (old.start < 0) {
                own.push_back(std::move(m_own[size_t(-old.start - 1)]));
                cell.start = -qint32(own.size());
            } else if (old.length > 0) {
                cell.start = qint32(pool.size());
                cell.length = old.length;
                pool.append(view(old));
            }
        }
    }
    m_cells = std::move(cells);
    m_pool = std::move(pool);
    m_own = std::move(own);
    m_colCount = cols;
    m_rowCount = rows;
}

void GridModel::setColCount(int count)
{
    count = std::max(count, 1);
    if (count != m_colCount)
        reshape(count, m_rowCount);
    if (m_fixedCols >= count)
        m_fixedCols = count - 1;
    clampCurrent();
}

void GridModel::setRowCount(int count)
{
    count = std::max(count, 1);
    if (count != m_rowCount)
        reshape(m_colCount, count);
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

QStringView GridModel::view(const Cell& cell) const
{
    if (cell.start < 0)
        return m_own[size_t(-cell.start - 1)];
    return QStringView(m_pool).sliced(cell.start, cell.length);
}

QStringView GridModel::cellView(int col, int row) const
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        return {};
    return view(m_cells[size_t(row) * size_t(m_colCount) + size_t(col)]);
}

QString GridModel::cell(int col, int row) const
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        return {};
    const Cell& cell = m_cells[size_t(row) * size_t(m_colCount) + size_t(col)];
    if (cell.start < 0)
        return m_own[size_t(-cell.start - 1)];
    return view(cell).toString();
}

void GridModel::setCell(int col, int row, const QString& text)
{
    if (col < 0 || row < 0 || col >= m_colCount || row >= m_rowCount)
        throw EListError(indexOutOfRange());
    Cell& cell = m_cells[size_t(row) * size_t(m_colCount) + size_t(col)];
    if (cell.start < 0) {
        m_own[size_t(-cell.start - 1)] = text;
    } else if (text.isEmpty()) {
        cell = Cell{};
    } else {
        m_own.push_back(text);
        cell = Cell{-qint32(m_own.size()), 0};
    }
}

QStringList GridModel::rowCells(int row) const
{
    if (row < 0 || row >= m_rowCount)
        throw EListError(indexOutOfRange());
    QStringList cells;
    cells.reserve(m_colCount);
    for (int c = 0; c < m_colCount; ++c)
        cells.append(cell(c, row));
    return cells;
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

bool GridModel::loadFromFile(const QString& path)
{
    return loadFromBytes(AnsiText::readBytes(path));
}

bool GridModel::loadFromBytes(QByteArrayView bytes)
{
    return loadDecoded(AnsiText::decode(AnsiText::untilNul(bytes)));
}

void GridModel::saveToFile(const QString& path) const
{
    AnsiText::writeBytes(path, AnsiText::encode(toText()));
}

bool GridModel::loadFromText(QStringView text)
{
    return loadDecoded(text.toString());
}

bool GridModel::loadDecoded(QString text)
{
    if (text.size() > qsizetype(INT32_MAX))
        throw EInOutError(QStringLiteral("ファイルが大きすぎて読み込めません。"));
    // Fields are decoded over the text itself: a field never ends after the text it came from,
    // so the text becomes the pool without a second copy of a large file.
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const QStringView in(text);
    std::vector<qsizetype> ends;
    qsizetype pos = 0;
    qsizetype used = CommaText::decodeLineInto(in, pos, out, 0, ends);
    if (ends.empty())
        return false; // no line, or a first line without fields
    // The first line alone fixes the column count.
    const int cols = int(std::min<size_t>(ends.size(), INT_MAX));
    std::vector<Cell> cells;
    // Exactly one row a line: a guess from the first line's length could reserve many times
    // the file for a short first line.
    qsizetype lines = 1;
    for (qsizetype i = pos; i < in.size(); ++i) {
        const char16_t c = in[i].unicode();
        if (c == u'\n' || (c == u'\r' && (i + 1 == in.size() || in[i + 1] != u'\n')))
            ++lines;
    }
    if (pos < in.size() && in[in.size() - 1] != u'\n' && in[in.size() - 1] != u'\r')
        ++lines; // a last line without a break
    cells.reserve(size_t(cols) * size_t(std::min<qsizetype>(lines, INT_MAX)));
    qsizetype rows = 0;
    qsizetype rowStart = 0;
    for (;;) {
        qsizetype start = rowStart;
        for (int c = 0; c < cols; ++c) {
            if (size_t(c) < ends.size()) {
                cells.push_back(Cell{qint32(start), qint32(ends[size_t(c)] - start)});
                start = ends[size_t(c)];
            } else {
                cells.push_back(Cell{});
            }
        }
        used = start; // fields beyond the first line's count are dropped
        ++rows;
        if (rows == INT_MAX || pos >= text.size())
            break;
        rowStart = used;
        ends.clear();
        used = CommaText::decodeLineInto(in, pos, out, used, ends);
    }
    QString pool = std::move(text);
    pool.truncate(used);

    m_cells = std::move(cells);
    m_pool = std::move(pool);
    m_own.clear();
    m_colCount = cols;
    m_rowCount = int(rows);
    if (m_fixedCols >= m_colCount)
        m_fixedCols = m_colCount - 1;
    if (m_fixedRows >= m_rowCount)
        m_fixedRows = m_rowCount - 1;
    clampCurrent();
    return true;
}

QString GridModel::toText() const
{
    return toText(RowExtension());
}

QString GridModel::toText(const RowExtension& extend) const
{
    QString text;
    text.reserve(m_pool.size() + qsizetype(m_cells.size()) * 2 + qsizetype(m_rowCount) * 2);
    std::vector<QStringView> fields(static_cast<size_t>(m_colCount));
    std::vector<QString> cleaned;
    for (int r = 0; r < m_rowCount; ++r) {
        cleaned.clear();
        cleaned.reserve(size_t(m_colCount));
        for (int c = 0; c < m_colCount; ++c) {
            const QStringView cell = view(m_cells[size_t(r) * size_t(m_colCount) + size_t(c)]);
            if (fitsFile(cell)) {
                fields[size_t(c)] = cell;
            } else {
                cleaned.push_back(forFile(cell));
                fields[size_t(c)] = cleaned.back();
            }
        }
        if (extend) {
            extend(r, fields);
            CommaText::encodeAppend(text, fields);
            fields.resize(size_t(m_colCount));
        } else {
            CommaText::encodeAppend(text, fields);
        }
        text.append(u"\r\n");
    }
    return text;
}
