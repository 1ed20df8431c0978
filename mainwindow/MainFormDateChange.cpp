// The date change: one sequence behind a calendar click, a grid click, 今日へ移動 and the way to a
// search hit, in five steps. Each of the first three may stop the change; the previous date then
// stays selected and shown, with nothing loaded over what could not be saved.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MonthCalendar.h"
#include "schedule/DataFileNames.h"
#include "schedule/DayFiles.h"
#include "schedule/DayTexts.h"
#include "schedule/Holidays.h"
#include "schedule/MonthGrid.h"
#include "platform/Failure.h"

#include <QLabel>
#include <QScopedValueRollback>

struct TMainForm::DateChange {
    QDate date;
    QString monthFile;
    bool monthChanges = false;
    std::optional<QByteArray> month; // the new month's file, read before anything is saved
    bool movedOn = false;            // the user already chose to go on with unsaved texts journaled
    bool dayFilesChanged = false;    // leaving wrote or removed a diary, plan or anniversary file
    QDate previous;
};

void TMainForm::MonthCalClick()
{
    const QScopedValueRollback changing(m_changingDate, true);
    DateChange change;
    change.date = selectedDate();
    change.monthFile = DayFiles::joinPath(DataFolder, DataFileNames::month(change.date));
    change.monthChanges = change.monthFile != MonthFile;
    change.previous = m_shownDate;
    try {
        readNextMonth(change);
    } catch (const EQuavError&) {
        MonthCal->setSelectedDate(m_shownDate);
        throw;
    }
    if (!leaveMonth(change) || !leavePages(change)) {
        MonthCal->setSelectedDate(m_shownDate);
        return;
    }
    loadDate(change);
    showDate(change);
}

// 1. One month that cannot be read is never shown under its name with another month's cells.
void TMainForm::readNextMonth(DateChange& change)
{
    if (change.monthChanges)
        change.month = MonthGrid::read(change.monthFile);
}

// 2. An unwritable month must not keep the user in it: the grid can go to the journal.
bool TMainForm::leaveMonth(DateChange& change)
{
    if (!change.monthChanges)
        return true;
    try {
        SaveMonth();
    } catch (const EQuavError& failure) {
        // Left unsaved before: it stays so, unasked, while the journal takes it.
        if (m_keptMonths.contains(MonthFile))
            return keepUnsaved();
        reportFailure(failure.message());
        if (!moveOnAfterFailedSave())
            return false;
        change.movedOn = true;
    }
    return true;
}

// 3. A page that could not be written keeps its text on screen unless the user moves on with it
// journaled; loading the next date over it would otherwise lose what was typed.
bool TMainForm::leavePages(DateChange& change)
{
    const SaveOutcome saved = SavePages();
    change.dayFilesChanged = saved.dayFilesChanged;
    return saved.ok || (change.movedOn ? keepUnsaved() : moveOnAfterFailedSave());
}

// 4. The new date's pages and, when it lies in another month, its month.
void TMainForm::loadDate(DateChange& change)
{
    buildFileNames(change.date);
    LoadPages();
    MonthFile = change.monthFile;
    m_shownDate = change.date;
    if (change.monthChanges)
        fillMonth(change.month);
}

// 5. The label, the day's row, the status and the calendar's marks. The row moves quietly: the
// move is this change's own, not a new one, unless there is something to save.
void TMainForm::showDate(const DateChange& change)
{
    const QDate d = change.date;
    setMonthLabel(d);
    if (d.day() < jvStringGrid1->RowCount() && jvStringGrid1->Row() != d.day()) {
        jvStringGrid1->setRowQuietly(d.day());
        SelectedRow = d.day();
        // The move stands for a click on the day. Where the pages just loaded would be saved
        // otherwise than they stand (an empty page over a file that exists), that click's change
        // of the same date runs now, and saves them.
        if (pagesNeedSaving())
            MonthCalClick();
    }
    setStatusDate(d);
    if (change.dayFilesChanged)
        refreshBoldDay(change.previous);
    watchShownFiles();
}

void TMainForm::Today1Click()
{
    MonthCal->setSelectedDate(m_env.now().date());
    MonthCalClick();
}

void TMainForm::buildFileNames(QDate date)
{
    for (const Pages::Page& page : Pages::all())
        if (page.dated)
            m_pages[size_t(page.tab)].file = DayFiles::joinPath(DataFolder, Pages::fileName(page.tab, date));
}

// The date and, where holidays are shown, the holiday's name.
QString TMainForm::statusText(QDate date) const
{
    const QString text = DayTexts::statusDate(date);
    const QString name = ShowHolidays ? Holidays::nameOf(date) : QString();
    return name.isEmpty() ? text : text + u' ' + name;
}

void TMainForm::setStatusDate(QDate date)
{
    StatusPanel->setText(statusText(date));
}

void TMainForm::setMonthLabel(QDate date)
{
    lblThisMonth->setText(DayTexts::monthLabel(date.year(), date.month()));
    lblThisMonth->adjustSize();
}
