// National holidays: the 表示 menu entry, its setting, and the Sunday look of a holiday in the
// calendar, the grid, the status bar and the day captions' tool tips.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MonthCalendar.h"
#include "schedule/Holidays.h"
#include "schedule/MainSettings.h"
#include "platform/IniStore.h"

#include <QAction>
#include <QApplication>
#include <QHelpEvent>
#include <QLabel>
#include <QMenu>
#include <QToolTip>

#include <functional>

namespace {

// The holiday's name as the tool tip of its day caption.
class DayCaptionTips final : public QObject {
public:
    // `holidaysShown` tells whether the window draws the holidays now.
    DayCaptionTips(TMainForm& form, const TjvStringGrid& grid, std::function<bool()> holidaysShown)
        : QObject(&form), m_form(form), m_grid(grid), m_holidaysShown(std::move(holidaysShown))
    {
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip || !m_holidaysShown())
            return false;
        const auto* help = static_cast<QHelpEvent*>(event);
        int col = 0;
        int row = 0;
        if (!m_grid.MouseToCell(help->pos(), col, row) || col != 0 || row < 1)
            return false;
        const QDate shown = m_form.selectedDate();
        const QString name = Holidays::nameOf(QDate(shown.year(), shown.month(), row));
        if (name.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), name, qobject_cast<QWidget*>(watched));
        return true;
    }

private:
    const TMainForm& m_form;
    const TjvStringGrid& m_grid;
    std::function<bool()> m_holidaysShown;
};

} // namespace

void TMainForm::buildHolidays()
{
    Holidays1 = new QAction(QStringLiteral("祝日を表示(&H)"), this);
    Holidays1->setObjectName(QStringLiteral("Holidays1"));
    Holidays1->setCheckable(true);
    Holidays1->setStatusTip(QStringLiteral("国民の祝日を日曜日と同じ色で表示します。"));
    Holidays1->setToolTip(Holidays1->statusTip());
    connect(Holidays1, &QAction::triggered, this, [this] { runCommand(&TMainForm::Holidays1Click); });
    Show1->addSeparator(); // an addition of ours, apart from the colour options
    Show1->addAction(Holidays1);
    jvStringGrid1->viewport()->installEventFilter(
        new DayCaptionTips(*this, *jvStringGrid1, [this] { return ShowHolidays; }));
}

void TMainForm::Holidays1Click()
{
    ShowHolidays = Holidays1->isChecked();
    m_holidaysStored = true;
    MonthCalGetMonthInfo(MonthCal->yearShown(), MonthCal->monthShown());
    jvStringGrid1->viewport()->update();
    // The three-month view draws by the same rule.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible())
            window->update();
    }
    setStatusDate(m_shownDate.isValid() ? m_shownDate : selectedDate());
}

void TMainForm::readHolidaySetting(const IniStore& ini)
{
    // Off until the user turns it on; a settings file without the key gets none at close.
    m_holidaysStored = !ini.get(SettingsKeys::kCal, SettingsKeys::kHolidays, QString()).isEmpty();
    ShowHolidays = ini.getBool(SettingsKeys::kCal, SettingsKeys::kHolidays, false);
    Holidays1->setChecked(ShowHolidays);
    // The status bar was filled before the settings were read.
    if (ShowHolidays)
        setStatusDate(m_env.now().date());
}

void TMainForm::writeHolidaySetting(IniStore& ini)
{
    if (m_holidaysStored)
        ini.putBool(SettingsKeys::kCal, SettingsKeys::kHolidays, ShowHolidays);
}

void TMainForm::showHolidaysInCalendar(int year, int month)
{
    MonthCal->setHolidays(year, month, ShowHolidays ? Holidays::monthMask(year, month) : 0);
}
