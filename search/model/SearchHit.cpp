#include "search/model/SearchHit.h"

#include "schedule/DayTexts.h"

#include <tuple>

bool newerFirst(const SearchHit& a, const SearchHit& b)
{
    const bool aDated = a.date.isValid();
    const bool bDated = b.date.isValid();
    if (aDated != bDated)
        return !aDated;
    if (a.date != b.date)
        return a.date > b.date;
    return std::tuple(int(a.page), a.column, a.copyName, a.start) <
           std::tuple(int(b.page), b.column, b.copyName, b.start);
}

QString hitDateText(const SearchHit& hit)
{
    if (!hit.date.isValid())
        return {};
    return QString::number(hit.date.year()) + u'年' + QString::number(hit.date.month()) + u'月' +
           DayTexts::dayCaption(hit.date);
}

QString hitPageText(const SearchHit& hit)
{
    return hit.copyName.isEmpty() ? hit.pageName : hit.pageName + QStringLiteral("（競合コピー）");
}
