#pragma once

#include <QByteArray>
#include <Qt>

// The first day of the week of the user's own locale, as the desktop's calendars show it. The
// program speaks Japanese whatever the locale, so its widgets' locale cannot tell this.
namespace LocaleWeek {
// From the environment: LC_ALL, else LC_TIME, else LANG, as the C library chooses the time
// category; the C and POSIX locales and unknown names take Qt's system locale.
Qt::DayOfWeek firstDay();
// The same for the given locale name ("de_DE.UTF-8", "en_US", "C").
Qt::DayOfWeek firstDayOf(const QByteArray& localeName);
} // namespace LocaleWeek
