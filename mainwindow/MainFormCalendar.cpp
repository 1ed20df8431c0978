// The date change and the calendar's marked days.
#include "mainwindow/schedule.h"

#include "controls/jvStringGrid.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/model/BoldDays.h"
#include "mainwindow/model/DataFileNames.h"
#include "mainwindow/model/DayFiles.h"
#include "platform/Failure.h"

#include <QScopeGuard>

QDate TMainForm::selectedDate() const
{
    return MonthCal->selectedDate();
}

void TMainForm::buildFileNames(QDate date)
{
    const DayFilePaths paths = DayFilePaths::forDate(DataFolder, date);
    DiaryFile = paths.diary;
    PlanFile = paths.plan;
    AnnivFile = paths.anniv;
}

void TMainForm::MonthCalClick()
{
    const QDate d = selectedDate();
    const QString newMonthFile = DayFiles::joinPath(DataFolder, DataFileNames::month(d));
    const bool monthChanges = newMonthFile != MonthFile;
    // The grid's move to the day's row runs the date change once more for the date just loaded.
    // With nothing to save there is nothing new to load either: it only confirms label and status.
    if (m_dateChangeDepth > 0 && !monthChanges && d == m_shownDate && !pagesNeedSaving()) {
        setMonthLabel(d);
        setStatusDate(d);
        return;
    }
    ++m_dateChangeDepth;
    const auto leave = qScopeGuard([this] { --m_dateChangeDepth; });
    std::optional<QByteArray> newMonth;
    bool movedOn = false; // the user already chose to go on with unsaved texts journaled
    if (monthChanges) {
        // The new month is read before anything is saved: one that cannot be read is never
        // shown under its name with another month's cells, and the previous date stays.
        try {
            newMonth = readMonthFile(newMonthFile);
        } catch (const EQuavError&) {
            MonthCal->setSelectedDate(m_shownDate);
            throw;
        }
        try {
            SaveMonth();
        } catch (const EQuavError& failure) {
            // An unwritable month must not keep the user in it: the grid can go to the journal.
            if (m_keptMonths.contains(MonthFile)) {
                // Left unsaved before: it stays so, unasked, while the journal takes it.
                if (!keepUnsaved()) {
                    MonthCal->setSelectedDate(m_shownDate);
                    return;
                }
            } else {
                reportFailure(failure.message());
                if (!moveOnAfterFailedSave()) {
                    MonthCal->setSelectedDate(m_shownDate);
                    return;
                }
                movedOn = true;
            }
        }
    }
    const QDate previous = m_shownDate;
    const SaveOutcome saved = SavePages();
    // A page that could not be written keeps its text on screen unless the user moves on with
    // it journaled; loading the next date over it would otherwise lose what was typed.
    if (!saved.ok && !(movedOn ? keepUnsaved() : moveOnAfterFailedSave())) {
        MonthCal->setSelectedDate(previous);
        return;
    }
    buildFileNames(d);
    LoadPages();
    MonthFile = newMonthFile;
    m_shownDate = d;
    if (monthChanges)
        fillMonth(newMonth);
    setMonthLabel(d);
    if (d.day() < jvStringGrid1->RowCount() && jvStringGrid1->Row() != d.day())
        jvStringGrid1->setRow(d.day()); // runs the date change once more, nested, for the same date
    setStatusDate(d);
    if (saved.dayFilesChanged)
        refreshBoldDay(previous);
}

void TMainForm::Today1Click()
{
    MonthCal->setSelectedDate(m_env.now().date());
    MonthCalClick();
}

void TMainForm::MonthCalGetMonthInfo(int year, int month)
{
    // The months at the page's edges belong to the year before or after at January and December.
    const QDate first(year, month, 1);
    for (int offset = -1; offset <= 1; ++offset) {
        const QDate m = first.addMonths(offset);
        MonthCal->setBoldDays(m.year(), m.month(), BoldDays::forMonth(DataFolder, m.year(), m.month()));
        showHolidaysInCalendar(m.year(), m.month());
    }
}

void TMainForm::refreshBoldDay(QDate date)
{
    if (!date.isValid())
        return;
    // The anniversary file marks that month and day in every year the page may show.
    for (int year = MonthCal->yearShown() - 1; year <= MonthCal->yearShown() + 1; ++year) {
        const QDate day(year, date.month(), date.day());
        if (!day.isValid())
            continue;
        const quint32 bit = 1u << (day.day() - 1);
        const quint32 days = MonthCal->boldDays(year, day.month());
        const bool marked = BoldDays::isMarked(DataFolder, day);
        MonthCal->setBoldDays(year, day.month(), marked ? days | bit : days & ~bit);
    }
}
