#include "controls/jvStringGrid.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <QPainter>

#include <cstdio>

// Shows a month grid like the main window's: captions, day rows, weekend colours.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QFont font(QStringLiteral("Noto Sans CJK JP"));
    font.setPixelSize(12);
    QApplication::setFont(font);

    TjvStringGrid grid;
    grid.setWindowTitle(QStringLiteral("griddemo"));
    grid.setOptions(grid.Options() | TjvStringGrid::goColSizing | TjvStringGrid::goEditing);
    grid.setDefaultColWidth(50);
    grid.setDefaultRowHeight(16);
    grid.setColCount(4);
    grid.setRowCount(32);
    grid.setColWidths(0, 56);

    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const QDate first(2001, 1, 1);
    grid.setCells(1, 0, QStringLiteral("予定1"));
    grid.setCells(2, 0, QStringLiteral("予定2"));
    grid.setCells(3, 0, QStringLiteral("予定3"));
    for (int d = 1; d <= 31; ++d) {
        const QDate date(2001, 1, d);
        grid.setCells(0, d,
                      QString::number(d) + QStringLiteral("日(") +
                          japanese.dayName(date.dayOfWeek(), QLocale::NarrowFormat) + u')');
    }
    grid.setCells(1, 3, QStringLiteral("会議★"));
    grid.setCells(2, 5, QStringLiteral("歯医者, 3時"));
    grid.setCells(1, 10, QStringLiteral("\"引用\" あり"));

    grid.OnDrawCell = [first](TjvStringGrid& sender, int col, int row, const QRect& rect,
                              TGridDrawState state, QPainter& painter) {
        if (state.fixed)
            return;
        const int weekday = first.addDays(row - 1).dayOfWeek();
        const QString text = sender.Cells(col, row);
        bool filled = false;
        if (weekday == 7 || weekday == 6) {
            painter.fillRect(rect, weekday == 7 ? QColor(255, 208, 208) : QColor(220, 216, 253));
            filled = true;
        }
        if (text.contains(u'★')) {
            painter.fillRect(rect, QColor(115, 222, 84));
            filled = true;
        }
        if (filled)
            painter.drawText(rect.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, text);
    };

    // Lets a script see which moves and presses count as clicks.
    grid.OnClick = [](TjvStringGrid& sender) {
        std::printf("click %d %d\n", sender.Col(), sender.Row());
        std::fflush(stdout);
    };

    grid.resize(260, 300);
    grid.show();
    return QApplication::exec();
}
