#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>
#include <vector>

class GridModel;

// The fields of a month file that the grid has no column for: another program may write more
// fields than the column captions name, or more on a later line than on the first. They are
// kept while the month is shown and written back after the grid's cells, in their own places,
// so a save after an edit loses none of them.
class MonthExtraFields final {
public:
    using ShowField = std::function<void(int col, int row, const QString& text)>;

    // After the grid read the file's text with `loadedCols` columns (its first line's count) and
    // took `shownCols` for the captions: fields on a grid column the load left empty go to
    // `show`, fields beyond the grid's columns are kept.
    void take(QStringView fileText, int loadedCols, int shownCols, const ShowField& show);
    void clear();
    bool isEmpty() const { return m_rows.empty(); }

    // The grid's column count went from `before` to `after`; kept fields that now have a column
    // go to `show` and are no longer kept.
    void columnsChanged(int before, int after, const ShowField& show);

    // The month file's text: each grid row, then the fields kept for it at their file columns
    // (empty fields stand for grid columns removed since). Empty fields at a line's end beyond
    // the grid's columns are left out: they hold nothing.
    QString text(const GridModel& grid) const;

private:
    int m_from = 0;                  // file column of every row's first kept field
    std::vector<QStringList> m_rows; // by row; empty when nothing is kept at all
};
