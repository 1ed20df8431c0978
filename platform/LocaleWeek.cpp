#include "platform/LocaleWeek.h"

#include <QLocale>

namespace LocaleWeek {

Qt::DayOfWeek firstDayOf(const QByteArray& localeName)
{
    QByteArray name = localeName;
    // "ll_CC.codeset@modifier": the codeset and modifier say nothing about the week.
    if (const qsizetype cut = name.indexOf('.'); cut >= 0)
        name.truncate(cut);
    if (const qsizetype cut = name.indexOf('@'); cut >= 0)
        name.truncate(cut);
    if (name.isEmpty() || name == "C" || name == "POSIX")
        return QLocale::system().firstDayOfWeek();
    const QLocale locale(QString::fromLatin1(name));
    if (locale.language() == QLocale::C)
        return QLocale::system().firstDayOfWeek();
    return locale.firstDayOfWeek();
}

Qt::DayOfWeek firstDay()
{
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
        const QByteArray value = qgetenv(variable);
        if (!value.isEmpty())
            return firstDayOf(value);
    }
    return QLocale::system().firstDayOfWeek();
}

} // namespace LocaleWeek
