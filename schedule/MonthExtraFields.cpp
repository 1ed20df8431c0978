#include "schedule/MonthExtraFields.h"

#include "controls/model/CommaText.h"
#include "controls/model/GridModel.h"

#include <algorithm>
#include <climits>

void MonthExtraFields::take(QStringView fileText, int loadedCols, int shownCols, const ShowField& show)
{
    clear();
    QString buffer;
    std::vector<qsizetype> ends;
    std::vector<QStringList> rows; // grown only once a row keeps something: most files keep nothing
    qsizetype pos = 0;
    for (int row = 0; pos < fileText.size() && row < INT_MAX; ++row) {
        // A line's fields are never longer than the line.
        qsizetype lineEnd = pos;
        while (lineEnd < fileText.size() && fileText[lineEnd] != u'\r' && fileText[lineEnd] != u'\n')
            ++lineEnd;
        if (buffer.size() < lineEnd - pos)
            buffer.resize(lineEnd - pos);
        ends.clear();
        CommaText::decodeLineInto(fileText, pos, reinterpret_cast<char16_t*>(buffer.data()), 0, ends);
        const int count = int(std::min<size_t>(ends.size(), size_t(INT_MAX)));
        if (count <= loadedCols && count <= shownCols)
            continue;
        QStringList extra;
        bool holdsText = false;
        qsizetype start = 0;
        for (int c = 0; c < count; ++c) {
            const QStringView field = QStringView(buffer).sliced(start, ends[size_t(c)] - start);
            start = ends[size_t(c)];
            if (c >= shownCols) {
                extra.append(field.toString());
                holdsText = holdsText || !field.isEmpty();
            } else if (c >= loadedCols && !field.isEmpty() && show) {
                show(c, row, field.toString());
            }
        }
        if (!holdsText)
            continue;
        rows.resize(size_t(row));
        rows.push_back(std::move(extra));
    }
    if (rows.empty())
        return;
    m_from = shownCols;
    m_rows = std::move(rows);
}

void MonthExtraFields::clear()
{
    m_from = 0;
    m_rows.clear();
}

void MonthExtraFields::columnsChanged(int before, int after, const ShowField& show)
{
    // Fewer columns: the kept fields stay at their file columns, behind empty ones.
    if (after <= before || after <= m_from || m_rows.empty())
        return;
    const int taken = after - m_from;
    for (size_t row = 0; row < m_rows.size(); ++row) {
        QStringList& extra = m_rows[row];
        const int n = int(std::min<qsizetype>(taken, extra.size()));
        for (int k = 0; k < n; ++k) {
            if (!extra.at(k).isEmpty() && show)
                show(m_from + k, int(row), extra.at(k));
        }
        extra.erase(extra.begin(), extra.begin() + n);
    }
    m_from = after;
    if (std::all_of(m_rows.cbegin(), m_rows.cend(), [](const QStringList& extra) { return extra.isEmpty(); }))
        clear();
}

QString MonthExtraFields::text(const GridModel& grid) const
{
    if (m_rows.empty())
        return grid.toText();
    static const QString none;
    return grid.toText([this, &grid](int row, std::vector<QStringView>& fields) {
        if (size_t(row) >= m_rows.size() || m_rows[size_t(row)].isEmpty())
            return;
        const QStringList& extra = m_rows[size_t(row)];
        for (int c = grid.colCount(); c < m_from; ++c)
            fields.push_back(none);
        for (const QString& field : extra)
            fields.push_back(field);
        while (fields.size() > size_t(grid.colCount()) && fields.back().isEmpty())
            fields.pop_back();
    });
}
