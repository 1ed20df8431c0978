#include "platform/Failure.h"

namespace {
QString fillFirst(QString pattern, const QString& arg)
{
    const qsizetype at = pattern.indexOf(QLatin1String("%s"));
    if (at >= 0)
        pattern.replace(at, 2, arg);
    return pattern;
}
} // namespace

QString formatMessage(const QString& pattern, const QString& a1)
{
    return fillFirst(pattern, a1);
}

QString formatMessage(const QString& pattern, const QString& a1, const QString& a2)
{
    // Fill left to right so a "%s" inside the first argument is never taken for the second slot.
    const qsizetype at = pattern.indexOf(QLatin1String("%s"));
    if (at < 0)
        return pattern;
    return pattern.left(at) + a1 + fillFirst(pattern.mid(at + 2), a2);
}
