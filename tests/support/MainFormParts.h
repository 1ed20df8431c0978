#pragma once

#include "controls/TrayIcon.h"
#include "controls/jvStringGrid.h"
#include "mainwindow/MonthCalendar.h"
#include "mainwindow/schedule.h"
#include "settings/RegMng.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTabWidget>
#include <QToolBar>

#include <cstdio>
#include <cstdlib>

// The main window's controls and commands as a user meets them, found by their object names.
namespace MainFormParts {

// The named part, which must exist: a missing one means the window lost a control.
template <typename T> T* part(const QObject& within, const QString& name)
{
    T* found = within.findChild<T*>(name);
    if (!found) {
        std::fprintf(stderr, "the main window has no %s\n", qPrintable(name));
        std::abort();
    }
    return found;
}

inline TjvStringGrid* grid(const TMainForm& f)
{
    return part<TjvStringGrid>(f, QStringLiteral("jvStringGrid1"));
}
inline MonthCalendar* calendar(const TMainForm& f)
{
    return part<MonthCalendar>(f, QStringLiteral("MonthCal"));
}
inline QTabWidget* pageTabs(const TMainForm& f)
{
    return part<QTabWidget>(f, QStringLiteral("Page1"));
}
// Memo1 to Memo7; looked for among the pages only, since the option dialogs have memos too.
inline QPlainTextEdit* memo(const TMainForm& f, const char* name)
{
    return part<QPlainTextEdit>(*pageTabs(f), QLatin1String(name));
}
inline QAction* action(const TMainForm& f, const char* name)
{
    return part<QAction>(f, QLatin1String(name));
}
// The markup sub-menus' entries: `stem` "MS" or "MBGC", `index` from 0 as the settings count.
inline QAction* markupAction(const TMainForm& f, const char* stem, int index)
{
    return part<QAction>(f, QLatin1String(stem) + QString::number(index + 1));
}
inline QMenu* menu(const TMainForm& f, const char* name)
{
    return part<QMenu>(f, QLatin1String(name));
}
inline QLabel* label(const TMainForm& f, const char* name)
{
    return part<QLabel>(f, QLatin1String(name));
}
inline QWidget* panel(const TMainForm& f, const char* name)
{
    return part<QWidget>(f, QLatin1String(name));
}
inline QSplitter* splitter(const TMainForm& f, const char* name)
{
    return part<QSplitter>(f, QLatin1String(name));
}
inline QToolBar* toolBar(const TMainForm& f, const char* name)
{
    return part<QToolBar>(f, QLatin1String(name));
}
inline TRegManager* regManager(const TMainForm& f)
{
    return part<TRegManager>(f, QStringLiteral("RegManager1"));
}
// None without a notification area.
inline TTrayIcon* trayIcon(const TMainForm& f)
{
    return f.findChild<TTrayIcon*>(QStringLiteral("TrayIcon"));
}

// The date a user picks in the calendar: selected, then chosen.
inline void chooseDate(const TMainForm& f, QDate date)
{
    MonthCalendar* cal = calendar(f);
    cal->setSelectedDate(date);
    Q_EMIT cal->dateChosen();
}

} // namespace MainFormParts
