#include "schedule/LineBreaks.h"

namespace LineBreaks {

QString toCrLf(const QString& text)
{
    const qsizetype breaks = text.count(u'\n');
    if (breaks == 0)
        return text;
    QString out;
    out.reserve(text.size() + breaks);
    const QChar* run = text.constData();
    const QChar* const end = run + text.size();
    for (const QChar* at = run; at != end; ++at) {
        if (*at != u'\n')
            continue;
        out.append(run, at - run);
        out.append(u"\r\n");
        run = at + 1;
    }
    out.append(run, end - run);
    return out;
}

QString toLf(QString text)
{
    // Shrinking replaces in place, in one pass.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

} // namespace LineBreaks
