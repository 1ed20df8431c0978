// What a date change reads, writes and repaints, beyond what the calendar tests see.
#include "MainFormFixture.h"

#include "controls/jvStringGrid.h"

#include <QPaintEvent>

namespace {

// Collects what a widget is asked to repaint.
class PaintProbe final : public QObject {
public:
    explicit PaintProbe(QWidget* widget)
    {
        widget->installEventFilter(this);
    }
    QRegion painted;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

} // namespace

class DateChange : public MainFormFixture {};

TEST_F(DateChange, sameMonthRepaintsTheTwoRowsOnly)
{
    TMainForm& f = start();
    QApplication::processEvents();
    QTest::qWait(50);
    PaintProbe probe(f.jvStringGrid1->viewport());
    changeDate(QDate(2001, 2, 5));
    QTest::qWait(50);
    QApplication::processEvents();
    qDebug() << probe.painted << f.jvStringGrid1->viewport()->rect();
}
