#include "mainwindow/model/EditTexts.h"

#include <QLocale>

namespace EditTexts {

QString firstLine(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n' || c == u'\0')
            return text.left(i);
    }
    return text;
}

QString dateTimeText(const QDateTime& when)
{
    static const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    const QDate date = when.date();
    // The month and day go without a leading zero; the year keeps its last two digits.
    return japanese.toString(when.time(), QLocale::ShortFormat) + u' ' +
           QStringLiteral("%1/%2/%3")
               .arg((date.year() % 100 + 100) % 100, 2, 10, QLatin1Char('0'))
               .arg(date.month())
               .arg(date.day());
}

} // namespace EditTexts
