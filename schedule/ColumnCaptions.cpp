#include "schedule/ColumnCaptions.h"

namespace ColumnCaptions {

QString toText(const QStringList& captions)
{
    return captions.join(u'\n');
}

QStringList fromText(const QString& text)
{
    QString normal = text;
    normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normal.replace(u'\r', u'\n');
    QStringList lines = normal.split(u'\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace ColumnCaptions
